// Small builders for records, categories and projects in tests and benchmarks.
#pragma once

#include <string>

#include "core/category.h"
#include "core/project.h"
#include "core/text.h"
#include "core/time_record.h"

namespace qv::testing {

inline TimeRecord MakeRecord(uint32_t id, uint16_t year, uint16_t month, uint16_t day, int minutes,
                             const char16_t* category = u"Travel", const Text& memo = std::nullopt,
                             uint32_t projectId = 1) {
    TimeRecord r;
    r.recordId = id;
    r.projectId = projectId;
    SetDate(r, MakeDate(year, month, day));
    SetMinutes(r, FormatDecimal(minutes));
    SetCategory(r, std::u16string(category));
    SetMemo(r, memo);
    return r;
}

inline CategoryItem MakeCategory(const Text& name, int32_t total = 0) {
    CategoryItem item;
    item.name = name;
    item.totalMinutes = total;
    return item;
}

inline ProjectRecord MakeProject(const std::u16string& name, int32_t total) {
    ProjectRecord p;
    p.name = name;
    p.totalMinutes = total;
    return p;
}

}  // namespace qv::testing
