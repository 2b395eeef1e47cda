// The lines of the three comma-separated files, built as text without touching any file.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "core/category.h"
#include "core/project.h"
#include "core/time_record.h"

namespace qv {

// One line: every field between double quotes (a quote inside a field is doubled, so readers
// see the field as it is), single commas between fields, CR LF at the end.
std::u16string CsvLine(std::initializer_list<std::u16string_view> fields);

// "Time (minutes)", "Time (hours and minutes)" or "Time (hours only)"; a time type other than
// 1 or 2 counts as minutes, as it does for the time cells.
std::u16string TimeHeaderText(uint32_t timeType);

// Header and one line per record in list order: date, category, time, memo ("----" for an
// absent or empty memo). Walks the list with First/Next, so the cursor ends on the last record.
std::vector<std::u16string> TimeRecordLines(TimeRecordList& records, uint32_t timeType,
                                            uint32_t dateTypeView, uint32_t timeTypeView);
// Header and one line per category: name, total time.
std::vector<std::u16string> CategoryReportLines(CategoryList& categories, uint32_t timeType,
                                                uint32_t timeTypeView);
// Header and one line per project: name, total time.
std::vector<std::u16string> ProjectsBalanceLines(ProjectList& projects, uint32_t timeType,
                                                 uint32_t timeTypeView);

}  // namespace qv
