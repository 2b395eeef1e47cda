// The lines of the three comma-separated files.
#include "export/csv_lines.h"

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
std::vector<std::u16string> NameTotalLines(List& list, uint32_t nameHeader, uint32_t timeType,
                                           uint32_t timeTypeView) {
    std::vector<std::u16string> lines;
    lines.reserve(list.Size() + 1u);
    lines.push_back(CsvLine({Str(nameHeader), TimeHeaderText(timeType)}));
    for (auto* item = list.First(); item != nullptr; item = list.Next()) {
        lines.push_back(CsvLine(
            {TextOrEmpty(item->name), ExportTimeText(item->totalMinutes, timeType, timeTypeView)}));
    }
    return lines;
}

}  // namespace

std::u16string CsvLine(std::initializer_list<std::u16string_view> fields) {
    size_t size = 2;
    for (std::u16string_view field : fields) size += field.size() + 3;
    std::u16string line;
    line.reserve(size);
    bool first = true;
    for (std::u16string_view field : fields) {
        if (!first) line += u',';
        first = false;
        line += u'"';
        // Copy the runs between quotes whole; each quote is written twice.
        for (size_t quote; (quote = field.find(u'"')) != std::u16string_view::npos;) {
            line.append(field.substr(0, quote + 1));
            line += u'"';
            field.remove_prefix(quote + 1);
        }
        line.append(field);
        line += u'"';
    }
    line += u"\r\n";
    return line;
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

std::vector<std::u16string> TimeRecordLines(TimeRecordList& records, uint32_t timeType,
                                            uint32_t dateTypeView, uint32_t timeTypeView) {
    const std::u16string noMemo = Str(kStrNoMemo);
    std::vector<std::u16string> lines;
    lines.reserve(records.Size() + 1u);
    lines.push_back(CsvLine(
        {Str(kStrCsvDate), Str(kStrCsvCategory), TimeHeaderText(timeType), Str(kStrCsvMemo)}));
    for (TimeRecord* r = records.First(); r != nullptr; r = records.Next()) {
        std::u16string_view memo = TextOrEmpty(r->memo);
        lines.push_back(CsvLine({DateText(*r, dateTypeView).value_or(u""), TextOrEmpty(r->category),
                                 ExportTimeText(MinutesOf(*r), timeType, timeTypeView),
                                 memo.empty() ? std::u16string_view(noMemo) : memo}));
    }
    return lines;
}

std::vector<std::u16string> CategoryReportLines(CategoryList& categories, uint32_t timeType,
                                                uint32_t timeTypeView) {
    return NameTotalLines(categories, kStrCsvCategory, timeType, timeTypeView);
}

std::vector<std::u16string> ProjectsBalanceLines(ProjectList& projects, uint32_t timeType,
                                                 uint32_t timeTypeView) {
    return NameTotalLines(projects, kStrCsvProject, timeType, timeTypeView);
}

}  // namespace qv
