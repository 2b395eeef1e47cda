// The help viewer: the program's help command lines opened in the desktop's browser.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/files/device_files.h"

namespace qv {

// The file URL a help command line shows, fully encoded, or none for a command line that names
// no help page. Two forms come in:
//   "file:enquorvella.htm#Timerecords"  a page in the device's Windows folder at an anchor
//   "\Windows\enquorvella.htc"          the help contents file, a device path
// A browser cannot show a contents (.htc) file, so it opens the help page at its top, where
// the page's own contents list is.
std::optional<std::string> HelpUrl(std::u16string_view commandLine, const DeviceFolders& folders);

// Opens the help in the desktop's browser without waiting for it. When the page is missing from
// the Windows folder, `restorePages` is asked to write the help pages there again first. False
// when the command line names no help page or the desktop could not start a browser.
bool OpenHelp(std::u16string_view commandLine, const DeviceFolders& folders,
              const std::function<void()>& restorePages);

}  // namespace qv
