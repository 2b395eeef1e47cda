// The project bar: the current project's drop-down list, its balance line, and the main list.
#pragma once

#include "app/app.h"
#include "platform/ui/dialog.h"

namespace qv {

constexpr int kProjectCombo = 1000;

class ProjectBar : public DialogBehaviour {
  public:
    explicit ProjectBar(App& app) : app_(app) {}

    void OnInit(Dialog& d) override;
    void OnCommand(Dialog& d, int id, CommandCode code) override;
    void OnNotify(Dialog& d, int id, NotifyCode code, int item) override;
    void OnPaint(const Dialog& d, Size client, PaintList& paint) override;

    // The drop-down list at its place for the layout.
    void PlaceProjectList(Dialog& d);
    // Selects the current project's entry: the equal one, else the first beginning with it.
    void SelectCurrentProject(Dialog& d);

  private:
    void ChooseProject(Dialog& d);

    App& app_;
};

}  // namespace qv
