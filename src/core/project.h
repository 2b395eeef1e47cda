// Projects: what every registered hour is booked to.
#pragma once

#include <cstdint>

#include "core/calendar.h"
#include "core/cursor_list.h"
#include "core/formatting.h"
#include "core/text.h"

namespace qv {

constexpr uint32_t kNoProjectId = 0xFFFFFFFF;

struct ProjectRecord : ListLinks<ProjectRecord> {
    uint32_t projectId = 0;
    CalendarDate date;    // shown as "Created"
    DateTexts dateTexts;  // two-digit years
    uint32_t dateKey = 0;
    Text name;
    Text description;
    int32_t totalMinutes = 0;  // minutes in the range of the last projects balance; not stored
};

// projectId := -1, dateKey := 0, totalMinutes := 0, every text absent.
void Reset(ProjectRecord& record);
// Identifier, date, then a non-empty name, then any present description, then the total.
void CopyFrom(ProjectRecord& target, const ProjectRecord& source);
// The short-year variant: 29 October 2005 is 29-10-05; the key keeps the four-digit year.
bool SetDate(ProjectRecord& record, const CalendarDate& date);
DateTextView DateText(const ProjectRecord& record, uint32_t dateViewType);

class ProjectList : public CursorList<ProjectRecord> {
  public:
    // Same length and same code units; none for an absent or empty text. Cursor as FindAt.
    ProjectRecord* FindByName(const Text& text);
    ProjectRecord* FindByTotal(int32_t minutes) { return qv::FindByTotal(*this, minutes); }
    ProjectRecord* FindByDateKey(uint32_t key) { return qv::FindByDateKey(*this, key); }
};

}  // namespace qv
