// The About box: icon, name, and the version from the settings.
#include "dialogs/about.h"

#include "core/text.h"
#include "dialogs/frame.h"

namespace qv {

void AboutDialog::OnInit(Dialog& d) {
    d.SetText(kAboutVersion, FormatDecimal(major_) + u"." + FormatDecimal(minor_));
}

void AboutDialog::OnCommand(Dialog& d, int id, CommandCode code) {
    if (id == IDOK && code == CommandCode::Clicked) d.End(IDOK);
}

void AboutDialog::OnHelp(Dialog&) {
    host_.StartHelp(kHelpContents);
}

int ShowAbout(UiHost& host, int majorVersion, int minorVersion) {
    AboutDialog about(host, majorVersion, minorVersion);
    return host.RunDialog(kAboutTemplate, about);
}

}  // namespace qv
