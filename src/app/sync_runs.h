// The program's runs of the sync engine over its own store.
#pragma once

#include <filesystem>

#include "app/app.h"
#include "sync/sync_engine.h"

namespace qv {

// Runs the engine (the store's changes meanwhile are its own); a book that changed is read
// into the lists again and shown as a local change shows. Nothing happens without an engine.
sync::RunResult RunSync(App& app);
// Turns sync on with the folder, then shows the book likewise.
sync::RunResult TurnSyncOn(App& app, const std::filesystem::path& folder);

// After the store changed under the lists: categories and projects read again (the current
// project kept by name, else the first), and the window's drop-down, list, balance and menus
// follow.
void ShowSyncedBook(App& app);

}  // namespace qv
