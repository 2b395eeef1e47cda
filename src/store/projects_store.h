// The projects database: one record per project, ordered by project identifier.
#pragma once

#include "store/store_context.h"

namespace qv {

// A new project identifier from the clock's digits (day, hour, minute, second), moved on one
// second at a time while another project already has it.
uint32_t NewProjectId(StoreContext& ctx);

bool CreateProjectsDatabase(StoreContext& ctx);
// Reads every project into projects (in identifier order) and chooses the current project:
// the one named by LastProject, else the first, whose name then goes to LastProject.
bool LoadProjects(StoreContext& ctx);
// Writes the project as a new record; the new identifier is handed back at once.
StoreResult AddProjectRecord(StoreContext& ctx, const ProjectRecord& record, uint32_t& projectId);
// Rewrites the stored record with the project's identifier.
StoreResult UpdateProjectRecord(StoreContext& ctx, const ProjectRecord& record);
StoreResult DeleteProjectRecord(StoreContext& ctx, uint32_t projectId);

}  // namespace qv
