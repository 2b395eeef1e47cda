// The lines of the three comma-separated files, built as text without touching any file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/category.h"
#include "core/project.h"
#include "core/time_record.h"

namespace qv {

std::u16string TimeHeaderText(uint32_t timeType);

// The whole text of each file, its lines end to end: a header line, then a line for each
// record, category or project in list order. A line holds every field between double quotes
// (a quote inside a field is written twice, so readers see the field as it is), single commas
// between the fields, and CR LF at its end. The walk leaves the list's cursor on the last.
std::u16string TimeRecordsCsv(TimeRecordList& records, uint32_t timeType, uint32_t dateTypeView,
                              uint32_t timeTypeView);
std::u16string CategoryReportCsv(CategoryList& categories, uint32_t timeType,
                                 uint32_t timeTypeView);
std::u16string ProjectsBalanceCsv(ProjectList& projects, uint32_t timeType, uint32_t timeTypeView);

}  // namespace qv
