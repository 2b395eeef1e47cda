// The main list's rows, built when first shown.
#include "app/record_rows.h"

#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
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
            row.date = r->dateTexts;
            row.category = CategoryIndex(r->category ? *r->category : std::u16string_view());
            row.timed = r->minutesText.has_value();
            row.minutes = MinutesOf(*r);
            row.image = static_cast<int16_t>(RecordRowImage(*r));
        }
    }

    void Build(size_t index, ListRow& out) const override {
        const Row& row = rows_[index];
        out.image = row.image;
        out.cells = {*row.date[dateForm_], categories_[row.category],
                     *(row.timed ? DurationText(row.minutes, separator_) : InlineText())};
    }

  private:
    struct Row {
        DateTexts date;
        uint32_t category = 0;  // in categories_
        int32_t minutes = 0;
        int16_t image = 0;
        bool timed = false;  // whether the record has a duration text
    };

    uint32_t CategoryIndex(std::u16string_view name) {
        const auto found = index_.find(name);
        if (found != index_.end()) return found->second;
        const std::u16string& kept = categories_.emplace_back(name);
        const auto at = static_cast<uint32_t>(categories_.size() - 1);
        index_.emplace(kept, at);
        return at;
    }

    size_t dateForm_;
    char16_t separator_;
    std::vector<Row> rows_;
    std::deque<std::u16string> categories_;  // a deque keeps each name where the index sees it
    std::unordered_map<std::u16string_view, uint32_t> index_;
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
