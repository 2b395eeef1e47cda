// The lines of the three comma-separated files.
#include "export/csv_lines.h"

#include <cstring>
#include <initializer_list>

#include "res/string_table.h"

namespace qv {

namespace {

constexpr uint32_t kStrCsvCategory = 40012;
constexpr uint32_t kStrCsvProject = 40083;

std::u16string Str(uint32_t id) {
    return LoadString(id).value_or(std::u16string());
}

std::u16string_view TextOrEmpty(const Text& text) {
    return text ? std::u16string_view(*text) : std::u16string_view();
}

// Copies a field, each quote in it written twice. Four code units are looked at together
// while none of them is a quote (a zero lane of the field's bits against four quotes).
char16_t* CopyQuoted(std::u16string_view field, char16_t* out) {
    constexpr uint64_t kQuotes = 0x0022002200220022, kOnes = 0x0001000100010001,
                       kHighs = 0x8000800080008000;
    const char16_t* p = field.data();
    const char16_t* const end = p + field.size();
    while (p != end) {
        if (end - p >= 4) {
            uint64_t four = 0;
            std::memcpy(&four, p, sizeof four);
            const uint64_t x = four ^ kQuotes;
            if (((x - kOnes) & ~x & kHighs) == 0) {
                std::memcpy(out, p, sizeof four);
                p += 4;
                out += 4;
                continue;
            }
        }
        *out++ = *p;
        if (*p++ == u'"') *out++ = u'"';
    }
    return out;
}

// A file's text, line by line, each line written straight into place. The room asked for at
// first is only touched as lines fill it.
class CsvText {
  public:
    explicit CsvText(size_t expectedUnits) { text_.reserve(expectedUnits); }

    void Line(std::initializer_list<std::u16string_view> fields) {
        // Room for the longest line the fields can make, every character a quote; what is
        // left over is cut off at the end.
        size_t most = 2;
        for (std::u16string_view field : fields) most += 2 * field.size() + 3;
        const size_t at = text_.size();
        text_.resize(at + most);
        char16_t* out = text_.data() + at;
        bool first = true;
        for (std::u16string_view field : fields) {
            if (!first) *out++ = u',';
            first = false;
            *out++ = u'"';
            out = CopyQuoted(field, out);
            *out++ = u'"';
        }
        *out++ = u'\r';
        *out++ = u'\n';
        text_.resize(static_cast<size_t>(out - text_.data()));
    }

    std::u16string Take() { return std::move(text_); }

  private:
    std::u16string text_;
};

// The two-column files: a name and a total, for categories and projects alike.
template <typename List>
std::u16string NameTotalCsv(List& list, uint32_t nameHeader, uint32_t timeType,
                            uint32_t timeTypeView) {
    CsvText text(1024);
    text.Line({Str(nameHeader), TimeHeaderText(timeType)});
    for (auto* item = list.First(); item != nullptr; item = list.Next()) {
        text.Line(
            {TextOrEmpty(item->name), ExportTimeText(item->totalMinutes, timeType, timeTypeView)});
    }
    return text.Take();
}

}  // namespace

std::u16string TimeHeaderText(uint32_t timeType) {
    switch (timeType) {
        case HoursAndMinutes:
            return Str(kStrTimeHeaderHoursAndMinutes);
        case HoursOnly:
            return Str(kStrTimeHeaderHoursOnly);
        default:
            return Str(kStrTimeHeaderMinutes);
    }
}

std::u16string TimeRecordsCsv(TimeRecordList& records, uint32_t timeType, uint32_t dateTypeView,
                              uint32_t timeTypeView) {
    // About sixty code units a line at most, so the text seldom grows.
    constexpr size_t kTypicalLine = 64;
    const std::u16string noMemo = Str(kStrNoMemo);
    CsvText text((records.Size() + 1u) * kTypicalLine);
    text.Line({Str(kStrCsvDate), Str(kStrCsvCategory), TimeHeaderText(timeType), Str(kStrCsvMemo)});
    TextsAhead ahead(records.First());
    for (TimeRecord* r = records.First(); r != nullptr; r = records.Next()) {
        ahead.Step();
        std::u16string_view memo = TextOrEmpty(r->memo);
        text.Line({*DateText(*r, dateTypeView), TextOrEmpty(r->category),
                   ExportTimeText(MinutesOf(*r), timeType, timeTypeView),
                   memo.empty() ? std::u16string_view(noMemo) : memo});
    }
    return text.Take();
}

std::u16string CategoryReportCsv(CategoryList& categories, uint32_t timeType,
                                 uint32_t timeTypeView) {
    return NameTotalCsv(categories, kStrCsvCategory, timeType, timeTypeView);
}

std::u16string ProjectsBalanceCsv(ProjectList& projects, uint32_t timeType, uint32_t timeTypeView) {
    return NameTotalCsv(projects, kStrCsvProject, timeType, timeTypeView);
}

}  // namespace qv
