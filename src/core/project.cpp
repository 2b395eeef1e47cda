// Project records and the project list.
#include "core/project.h"

namespace qv {

void Reset(ProjectRecord& r) {
    r.projectId = kNoProjectId;
    r.dateKey = 0;
    r.totalMinutes = 0;
    r.dateTexts.Clear();
    r.name.reset();
    r.description.reset();
}

void CopyFrom(ProjectRecord& target, const ProjectRecord& source) {
    if (&target == &source) return;
    target.projectId = source.projectId;
    SetDate(target, source.date);
    if (source.name && !source.name->empty()) target.name = source.name;
    if (source.description) target.description = source.description;
    target.totalMinutes = source.totalMinutes;
}

bool SetDate(ProjectRecord& r, const CalendarDate& date) {
    r.date = date;
    return BuildDateTexts(date, /*shortYear=*/true, r.dateTexts, r.dateKey);
}

DateTextView DateText(const ProjectRecord& r, uint32_t type) {
    return r.dateTexts[DateForm(type)];
}

ProjectRecord* ProjectList::FindByName(const Text& text) {
    if (!text || text->empty()) {
        First();
        return nullptr;
    }
    return FindFirst([&](const ProjectRecord& p) { return p.name == text; });
}

}  // namespace qv
