// The desktop program's own notices.
#include "desktop/notices.h"

#include <cstdio>

#include "core/text.h"
#include "desktop/desktop_texts.h"

namespace qv {

void TellAlreadyRunning(Shell& shell, const std::filesystem::path& dataDir) {
    std::fprintf(stderr, "quorvella: Quorvella already runs on the data folder %s\n",
                 dataDir.c_str());
    std::fflush(stderr);
    shell.MessageBox(Say(DesktopText::AlreadyRunning, {dataDir.u16string()}),
                     std::u16string(DesktopString(DesktopText::Caption)),
                     MB_OK | MB_ICONEXCLAMATION);
}

void TellUnsavedSettings(Shell& shell, const std::filesystem::path& hive,
                         const std::string& reason) {
    shell.MessageBox(Say(DesktopText::SettingsNotSaved, {hive.u16string(), FromUtf8(reason)}),
                     std::u16string(DesktopString(DesktopText::Caption)),
                     MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace qv
