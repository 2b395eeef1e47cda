// The lines of the three comma-separated files.
#include "export/csv_lines.h"

#include <algorithm>

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

// The two-column files: a name and a total, for categories and projects alike.
template <typename List>
std::u16string NameTotalCsv(List& list, uint32_t nameHeader, uint32_t timeType,
                            uint32_t timeTypeView) {
    std::u16string text;
    AppendCsvLine(text, {Str(nameHeader), TimeHeaderText(timeType)});
    for (auto* item = list.First(); item != nullptr; item = list.Next()) {
        AppendCsvLine(text, {TextOrEmpty(item->name),
                             ExportTimeText(item->totalMinutes, timeType, timeTypeView)});
    }
    return text;
}

}  // namespace

void AppendCsvLine(std::u16string& text, std::initializer_list<std::u16string_view> fields) {
    // Room for the longest line the fields can make, every character a quote written twice;
    // what is left over is cut off at the end.
    size_t most = 2;
    for (std::u16string_view field : fields) most += 2 * field.size() + 3;
    const size_t at = text.size();
    text.resize(at + most);
    char16_t* out = text.data() + at;
    bool first = true;
    for (std::u16string_view field : fields) {
        if (!first) *out++ = u',';
        first = false;
        *out++ = u'"';
        // Each run up to a quote is copied whole, the quote then written twice.
        for (size_t quote; (quote = field.find(u'"')) != std::u16string_view::npos;) {
            out = std::copy_n(field.data(), quote + 1, out);
            *out++ = u'"';
            field.remove_prefix(quote + 1);
        }
        out = std::copy_n(field.data(), field.size(), out);
        *out++ = u'"';
    }
    *out++ = u'\r';
    *out++ = u'\n';
    text.resize(static_cast<size_t>(out - text.data()));
}

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
    // About fifty code units a line, so the text seldom grows twice.
    constexpr size_t kTypicalLine = 50;
    const std::u16string noMemo = Str(kStrNoMemo);
    std::u16string text;
    text.reserve((records.Size() + 1u) * kTypicalLine);
    AppendCsvLine(
        text, {Str(kStrCsvDate), Str(kStrCsvCategory), TimeHeaderText(timeType), Str(kStrCsvMemo)});
    for (TimeRecord* r = records.First(); r != nullptr; r = records.Next()) {
        std::u16string_view memo = TextOrEmpty(r->memo);
        AppendCsvLine(text, {*DateText(*r, dateTypeView), TextOrEmpty(r->category),
                             ExportTimeText(MinutesOf(*r), timeType, timeTypeView),
                             memo.empty() ? std::u16string_view(noMemo) : memo});
    }
    return text;
}

std::u16string CategoryReportCsv(CategoryList& categories, uint32_t timeType,
                                 uint32_t timeTypeView) {
    return NameTotalCsv(categories, kStrCsvCategory, timeType, timeTypeView);
}

std::u16string ProjectsBalanceCsv(ProjectList& projects, uint32_t timeType, uint32_t timeTypeView) {
    return NameTotalCsv(projects, kStrCsvProject, timeType, timeTypeView);
}

}  // namespace qv
