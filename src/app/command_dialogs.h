// The dialogs and actions behind the main window's commands, one runner each. A runner runs
// its dialog modally and returns the dialog's result; a runner that returns nothing opened
// nothing, and nothing follows it.
#pragma once

#include <optional>

namespace qv {

struct App;

using DialogResult = std::optional<int>;
using CommandRunner = DialogResult (*)(App&);

// NewProject's result when it added a project and made it current; any other result leaves
// the main list's selection to be restored.
constexpr int kNewProjectAdded = 1;

DialogResult RunRegisterTime(App& app);        // template 108 on scratchRecord
DialogResult RunNewProject(App& app);          // the project creation flow, with its limit check
DialogResult RunNewProjectFirst(App& app);     // the same from New Time without any project
DialogResult RunProjectsBook(App& app);        // template 132
DialogResult RunProjectsBalance(App& app);     // template 133
DialogResult RunTimeReport(App& app);          // template 127
DialogResult RunEditCategoriesLoop(App& app);  // templates 124, 125, 126 until Done
DialogResult RunDeleteByRange(App& app);       // template 129
DialogResult RunExportTimeRecords(App& app);   // template 1070
DialogResult RunViewOptions(App& app);         // template 1120
DialogResult RunAbout(App& app);               // template 102
DialogResult RunUndoDeleting(App& app);        // no dialog: restores the last deleted record
DialogResult RunEmptyUndo(App& app);           // no dialog: forgets the deleted records

}  // namespace qv
