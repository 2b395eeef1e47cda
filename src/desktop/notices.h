// What the desktop program says beyond the handheld's screens, in its own words.
#pragma once

#include <filesystem>
#include <string>

#include "platform/ui/shell.h"

namespace qv {

// A start that finds another program on its data folder and cannot bring it to the front.
void TellAlreadyRunning(Shell& shell, const std::filesystem::path& dataDir);

// The exit could not keep the settings: the file and the reason, before the program goes.
void TellUnsavedSettings(Shell& shell, const std::filesystem::path& hive,
                         const std::string& reason);

}  // namespace qv
