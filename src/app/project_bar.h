// The project bar: the current project's drop-down list, its balance line, and the main list.
#pragma once

#include "app/app.h"
#include "dialogs/projects_book.h"
#include "platform/ui/dialog.h"

namespace qv {

constexpr int kProjectCombo = 1000;

class ProjectBar : public DialogBehaviour, public ProjectsWindow {
  public:
    explicit ProjectBar(App& app) : app_(app) {}

    void OnInit(Dialog& d) override;
    void OnCommand(Dialog& d, int id, CommandCode code) override;
    void OnNotify(Dialog& d, int id, NotifyCode code, int item) override;
    void OnPaint(const Dialog& d, Size client, PaintList& paint) override;

    // The drop-down list at its place for the layout.
    void PlaceProjectList(Dialog& d);
    // Selects the current project's entry: its own name exactly, else an entry equal to it in
    // any letter case, else the first beginning with it.
    void SelectCurrentProject(Dialog& d);

    // What the project dialogs change in the bar and the main window.
    void AddProjectEntry(std::u16string_view name) override;
    void RenameProjectEntry(std::u16string_view oldName, std::u16string_view newName) override;
    void RemoveProjectEntry(std::u16string_view name) override;
    void SelectCurrentProject() override;
    void RefillRecords() override;
    void UpdateMenuStates() override;

  private:
    void ChooseProject(Dialog& d);
    Dialog* Bar();

    App& app_;
};

}  // namespace qv
