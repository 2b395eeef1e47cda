// The store over a run of the program: opened at start-up, tidied at exit.
#pragma once

namespace qv {

struct App;

// Opens the three databases under the wait cursor. When that fails the user is told the
// program cannot continue, and the result is false.
bool OpenStoreAtStart(App& app);

// Drops the time and projects databases when they hold no records, so the next start makes
// them afresh, and saves the categories.
void TidyStoreAtExit(App& app);

}  // namespace qv
