// The program's resources as the hosts see them, and the help pages of a new device.
#pragma once

#include <filesystem>

#include "platform/ui/resources.h"

namespace qv {

// The dialog templates, the string table and the built-in files of res/.
const Resources& ProgramResources();

// Writes the help page enquorvella.htm and its contents file enquorvella.htc into the device's
// Windows folder when they are missing there, as a new device comes with them. Files already
// present are left alone. False when a file could not be written.
bool ProvisionHelpFiles(const std::filesystem::path& windowsDir);

}  // namespace qv
