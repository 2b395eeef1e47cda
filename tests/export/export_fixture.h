// Records and lists for the export tests.
#pragma once

#include <string>

#include "core/category.h"
#include "core/project.h"
#include "core/time_record.h"

namespace qv::test {

inline void AddRecord(TimeRecordList& list, uint16_t year, uint16_t month, uint16_t day,
                      const std::u16string& category, const std::u16string& minutes,
                      const Text& memo = std::nullopt) {
    TimeRecord r;
    SetDate(r, MakeDate(year, month, day));
    SetCategory(r, category);
    SetMinutes(r, minutes);
    if (memo) SetMemo(r, memo);
    list.Append(r);
}

inline void AddCategory(CategoryList& list, const std::u16string& name, int32_t total) {
    CategoryItem item;
    item.name = name;
    item.totalMinutes = total;
    list.Add(item);
}

inline void AddProject(ProjectList& list, const std::u16string& name, int32_t total) {
    ProjectRecord p;
    SetDate(p, MakeDate(2005, 10, 29));
    p.name = name;
    p.totalMinutes = total;
    list.Append(p);
}

// The two records of the usual example: 3 May 2004 Travel 90 minutes without a memo,
// 4 May 2004 Meeting 45 minutes "weekly".
inline void AddTwoRecords(TimeRecordList& list) {
    AddRecord(list, 2004, 5, 3, u"Travel", u"90");
    AddRecord(list, 2004, 5, 4, u"Meeting", u"45", u"weekly");
}

}  // namespace qv::test
