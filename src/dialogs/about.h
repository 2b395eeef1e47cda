// The About box (template 102): program icon, name and the settings' version number.
#pragma once

#include "platform/ui/dialog.h"
#include "platform/ui/ui_host.h"

namespace qv {

constexpr int kAboutTemplate = 102;
constexpr int kAboutVersion = 1068;

class AboutDialog : public DialogBehaviour {
  public:
    // The version shown is "%d.%d" of the settings' MajorVersion and MinorVersion.
    AboutDialog(UiHost& host, int majorVersion, int minorVersion)
        : host_(host), major_(majorVersion), minor_(minorVersion) {}

    void OnInit(Dialog& d) override;
    void OnCommand(Dialog& d, int id, CommandCode code) override;
    void OnHelp(Dialog& d) override;

  private:
    UiHost& host_;
    int major_;
    int minor_;
};

// Runs the About box; its result is IDOK.
int ShowAbout(UiHost& host, int majorVersion, int minorVersion);

}  // namespace qv
