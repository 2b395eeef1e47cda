// The Projects book (template 132) and the Project dialog (template 131): their controls and
// results, what they change outside themselves, and the project creation flow.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/ui/dialog.h"
#include "platform/ui/ui_host.h"
#include "store/store_context.h"

namespace qv {

constexpr int kProjectsBookTemplate = 132;
constexpr int kProjectTemplate = 131;

enum ProjectsBookControl : int {
    kProjectsBookList = 502,  // created when the book opens
    // The buttons are also the book's results: New asks its caller for a new project.
    kProjectsBookNew = 1161,
    kProjectsBookBack = 1160,
};

enum ProjectControl : int {
    kProjectDateLabel = 1131,
    kProjectDate = 1132,
    kProjectNameLabel = 1133,
    kProjectName = 1134,
    kProjectDescriptionLabel = 1135,
    kProjectDescription = 1136,
    // The buttons are also the dialog's results.
    kProjectBack = 1137,
    kProjectOk = 1138,
    kProjectDelete = 1139,
};

// The book's result when it was left with Back or Done; 0 when its list could not be built.
constexpr int kProjectsBookClosed = 1;
constexpr int kProjectsBookFailed = 0;

// The most projects the program keeps: the number the refusal message tells the user.
constexpr uint16_t kMaxProjects = 15;
constexpr int kProjectNameChars = 40;
constexpr int kProjectDescriptionChars = 50;

enum ProjectStrings : uint32_t {
    kStrProjectHeading = 40008,
    kStrInvalidName = 40073,
    kStrProjectExists = 40080,
    kStrDeleteProject = 40081,
    kStrTooManyProjects = 40082,
    kStrBookProjectHeader = 40083,
    kStrBookCreatedHeader = 40084,
};

// The main window's side of a change of projects: the project bar's drop-down list, the main
// list and the menu states.
class ProjectsWindow {
  public:
    virtual ~ProjectsWindow() = default;
    // Adds the name to the drop-down list.
    virtual void AddProjectEntry(std::u16string_view name) = 0;
    // The entry of the old name gives way to the new name, which is selected.
    virtual void RenameProjectEntry(std::u16string_view oldName, std::u16string_view newName) = 0;
    virtual void RemoveProjectEntry(std::u16string_view name) = 0;
    // Selects the entry of currentProject.
    virtual void SelectCurrentProject() = 0;
    // Shows timeRecords again in the main list.
    virtual void RefillRecords() = 0;
    // Enables and greys the menu commands for the records and projects there are now.
    virtual void UpdateMenuStates() = 0;
};

// What the project dialogs work with.
struct ProjectsContext {
    UiHost& host;
    StoreContext& store;
    ProjectsWindow& window;
    Dialog*& activeEntryDialog;  // the open dialog with text entry, if any
};

// Makes the project current: copied into currentProject, its name into LastProject, and its
// entry selected in the project bar.
void MakeCurrentProject(ProjectsContext& ctx, const ProjectRecord& project);

// The Project dialog on scratchProject in projectDialogMode: kProjectOk or kProjectBack. `book`
// is the open Projects book whose row a deletion removes, or null.
int ShowProjectDialog(ProjectsContext& ctx, Dialog* book);

// Creates a project with the Project dialog and makes it current; true when one was added.
// `limitCheck` refuses once kMaxProjects exist (New Time without any project skips it).
bool NewProject(ProjectsContext& ctx, bool limitCheck);

// The Projects book: kProjectsBookClosed, kProjectsBookNew, or kProjectsBookFailed.
int ShowProjectsBook(ProjectsContext& ctx);

}  // namespace qv
