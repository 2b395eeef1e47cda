// The desktop program's own notices.
#include "desktop/notices.h"

#include <cstdio>

#include "core/text.h"

namespace qv {

namespace {

constexpr char16_t kCaption[] = u"Quorvella";

}  // namespace

void TellAlreadyRunning(Shell& shell, const std::filesystem::path& dataDir) {
    std::fprintf(stderr, "quorvella: Quorvella already runs on the data folder %s\n",
                 dataDir.c_str());
    std::fflush(stderr);
    shell.MessageBox(u"Quorvella already runs on this data folder:\n" + dataDir.u16string(),
                     kCaption, MB_OK | MB_ICONEXCLAMATION);
}

void TellUnsavedSettings(Shell& shell, const std::filesystem::path& hive,
                         const std::string& reason) {
    shell.MessageBox(
        u"Your settings could not be saved to " + hive.u16string() + u": " + FromUtf8(reason),
        kCaption, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace qv
