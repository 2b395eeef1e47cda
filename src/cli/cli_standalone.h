// The command line on its own, with no window running: the store opened by the command itself.
#pragma once

#include "cli/cli_commands.h"
#include "core/calendar.h"
#include "platform/files/device_files.h"

namespace qv::cli {

// Runs the request on the data folder's store, the caller holding the folder's lock. The store
// is only looked at (never made, changed or locked) until a change has passed every check; then
// it is opened for writing and started as the window starts it, and the change is made through
// the same store operation. The settings are read, never written.
Answer RunOnOwn(const DeviceFolders& folders, const Request& request, const Clock& clock);

}  // namespace qv::cli
