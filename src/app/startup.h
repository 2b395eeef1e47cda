// Start-up and exit of the program.
#pragma once

#include "app/app.h"

namespace qv {

// The steps before the message loop: texts, the single-instance check, settings, the store
// and the version. False when the program is to end at once (exit code 0); the main window
// is made after it, by QuorvellaMain.
bool InitInstance(App& app);

// The exit steps, in their order: drop empty databases, save the categories, put the main
// list's sort and the current project into the settings and save them.
void ExitCleanup(App& app);

}  // namespace qv
