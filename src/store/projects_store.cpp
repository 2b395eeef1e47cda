// The projects database. Six properties a record: identifier, day, month, year, name and
// description; a missing name or description is stored as one blank.
#include "store/projects_store.h"

namespace qv {
namespace {

constexpr uint32_t kDayProp = PropId(1, CEVT_UI4);
constexpr uint32_t kMonthProp = PropId(2, CEVT_UI4);
constexpr uint32_t kYearProp = PropId(3, CEVT_UI4);
constexpr uint32_t kNameProp = PropId(4, CEVT_LPWSTR);
constexpr uint32_t kDescriptionProp = PropId(5, CEVT_LPWSTR);

std::vector<PropValue> ProjectProps(const ProjectRecord& r, uint32_t projectId) {
    return {PropValue::Number(kSortPropertyId, projectId),
            PropValue::Number(kDayProp, r.date.day),
            PropValue::Number(kMonthProp, r.date.month),
            PropValue::Number(kYearProp, r.date.year),
            PropValue::String(kNameProp, r.name.value_or(u" ")),
            PropValue::String(kDescriptionProp, r.description.value_or(u" "))};
}

}  // namespace

uint32_t NewProjectId(StoreContext& ctx) {
    CalendarDate now = ctx.clock.GetSystemTime();
    uint32_t id = ClockDigitsId(now);
    // At most a few dozen projects exist, so a free value is always near.
    while (ctx.state.projects.FindFirst(
               [id](const ProjectRecord& p) { return p.projectId == id; }) != nullptr) {
        now = OneSecondLater(now);
        id = ClockDigitsId(now);
    }
    return id;
}

bool CreateProjectsDatabase(StoreContext& ctx) {
    return CreateAndOpen(ctx.store, ProjectsDatabase(ctx));
}

bool LoadProjects(StoreContext& ctx) {
    AppState& s = ctx.state;
    StoreHandles& kept = s.handles;
    DatabaseInfo info;
    if (!ctx.store.CeOidGetInfo(kept.projectsDatabaseId, info) || info.recordCount == 0) {
        return false;
    }
    if (ctx.store.CeSeekDatabase(kept.projectsHandle, CEDB_SEEK_CEOID, kept.firstProjectRecordId) ==
        0) {
        return false;
    }
    std::vector<PropValue> props;
    for (uint32_t i = 0; i < info.recordCount; ++i) {
        Reset(s.scratchProject);
        if (ctx.store.CeReadRecordProps(kept.projectsHandle, props) == 0) return false;
        for (const PropValue& p : props) {
            switch (p.propid) {
                case kSortPropertyId:
                    s.scratchProject.projectId = p.ulVal;
                    break;
                case kNameProp:
                    if (p.lpwstr && !p.lpwstr->empty()) s.scratchProject.name = p.lpwstr;
                    break;
                case kDescriptionProp:
                    s.scratchProject.description = p.lpwstr;
                    break;
                default:
                    break;
            }
        }
        SetDate(s.scratchProject, StoredDate(props, kDayProp, kMonthProp, kYearProp));
        s.projects.Append(s.scratchProject);
    }

    ProjectRecord* current = nullptr;
    if (s.settings.LastProject) current = s.projects.FindByName(s.settings.LastProject);
    if (current != nullptr) {
        CopyFrom(s.currentProject, *current);
    } else if ((current = s.projects.FindAt(0)) != nullptr) {
        CopyFrom(s.currentProject, *current);
        SetLastProject(s.settings, current->name);
    }
    return true;
}

StoreResult AddProjectRecord(StoreContext& ctx, const ProjectRecord& record, uint32_t& projectId) {
    projectId = NewProjectId(ctx);
    return WriteNewRecord(ctx, ProjectsDatabase(ctx), ProjectProps(record, projectId));
}

StoreResult UpdateProjectRecord(StoreContext& ctx, const ProjectRecord& record) {
    return RewriteStoredRecord(ctx, ProjectsDatabase(ctx), record.projectId,
                               ProjectProps(record, record.projectId));
}

StoreResult DeleteProjectRecord(StoreContext& ctx, uint32_t projectId) {
    return DeleteStoredRecord(ctx, ProjectsDatabase(ctx), projectId);
}

}  // namespace qv
