// The main list's rows, built when first shown.
#include "app/record_rows.h"

#include <string>
#include <string_view>
#include <vector>

#include "dialogs/list_images.h"

namespace qv {
namespace {

// What a row shows of a record, and each distinct category once.
class RecordRows final : public ListRowSource {
  public:
    RecordRows(TimeRecordList& records, uint32_t dateView, uint32_t timeView)
        : dateForm_(DateForm(dateView)), separator_(TimeSeparator(timeView)) {
        rows_.reserve(records.Size());
        TextsAhead ahead(records.First());
        for (const TimeRecord* r = records.First(); r != nullptr; r = records.Next()) {
            ahead.Step();
            Row& row = rows_.emplace_back();
            row.date = r->dateTexts.Pack();
            row.category = static_cast<uint16_t>(
                CategoryIndex(r->category ? *r->category : std::u16string_view()));
            row.timed = r->minutesText.has_value();
            row.minutes = MinutesOf(*r);
            row.image = static_cast<int8_t>(RecordRowImage(*r));
        }
    }

    void Build(size_t index, ListRow& out) const override {
        const Row& row = rows_[index];
        out.image = row.image;
        out.cells = {*DateTexts::Unpack(row.date)[dateForm_], categories_[row.category],
                     *(row.timed ? DurationText(row.minutes, separator_) : InlineText())};
    }

  private:
    struct Row {            // twelve bytes a record
        uint32_t date = 0;  // DateTexts::Pack
        int32_t minutes = 0;
        uint16_t category = 0;  // in categories_, which a list of at most 65,535 records fits
        int8_t image = 0;
        bool timed = false;  // whether the record has a duration text
    };
    static_assert(sizeof(Row) == 12);

    // Each distinct name once, found again through an open-addressed table of places in
    // categories_, hashed over the name's code units (FNV-1a); the table stays at most half full.
    uint32_t CategoryIndex(std::u16string_view name) {
        size_t slot = Hash(name) & (slots_.size() - 1);
        for (; slots_[slot] != kFree; slot = (slot + 1) & (slots_.size() - 1)) {
            if (categories_[slots_[slot]] == name) return slots_[slot];
        }
        const auto at = static_cast<uint32_t>(categories_.size());
        categories_.emplace_back(name);
        slots_[slot] = at;
        if (2 * categories_.size() > slots_.size()) Rehash();
        return at;
    }

    static uint32_t Hash(std::u16string_view name) {
        uint32_t hash = 2166136261u;
        for (char16_t c : name) hash = (hash ^ c) * 16777619u;
        return hash;
    }

    void Rehash() {
        std::vector<uint32_t> old(2 * slots_.size(), kFree);
        old.swap(slots_);
        for (uint32_t at = 0; at < categories_.size(); ++at) {
            size_t slot = Hash(categories_[at]) & (slots_.size() - 1);
            while (slots_[slot] != kFree) slot = (slot + 1) & (slots_.size() - 1);
            slots_[slot] = at;
        }
    }

    static constexpr uint32_t kFree = UINT32_MAX;
    size_t dateForm_;
    char16_t separator_;
    std::vector<Row> rows_;
    std::vector<std::u16string> categories_;
    std::vector<uint32_t> slots_ = std::vector<uint32_t>(64, kFree);
};

}  // namespace

int RecordRowImage(const TimeRecord& r) {
    // A memo of blanks counts as none.
    return r.memo && r.memo->find_first_not_of(u' ') != std::u16string::npos ? kImageMemo
                                                                             : kImageNoMemo;
}

std::shared_ptr<const ListRowSource> RecordRowsOf(TimeRecordList& records, uint32_t dateView,
                                                  uint32_t timeView) {
    return std::make_shared<RecordRows>(records, dateView, timeView);
}

}  // namespace qv
