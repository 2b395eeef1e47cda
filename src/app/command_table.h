// The main window's command table: a row per command with the runner it runs and what the
// window does afterwards. A new dialog is a new runner and its row.
#pragma once

#include <cstdint>
#include <limits>
#include <span>

#include "app/command_dialogs.h"

namespace qv {

// What the main window does after a runner returned a result. They run in this order.
enum FollowUp : uint32_t {
    kNoFollowUp = 0,
    kReloadRecords = 1u << 0,          // load the current project's records again
    kResortAndRefill = 1u << 1,        // sort the list, and show it again when that succeeded
    kResortUnderWaitCursor = 1u << 2,  // the same with the wait cursor shown
    kUpdateBalance = 1u << 3,          // recompute the current project's balance
    kRepaintBar = 1u << 4,             // repaint the project bar and its balance line
    kClearRecordsChanged = 1u << 5,    // the category dialogs' change of records is dealt with
};

// The main list's selection around a command.
enum class Selection {
    Untouched,              // the command acts at once, with no dialog to come back from
    Restore,                // noted before, selected again after
    RestoreUnlessAccepted,  // the same, unless the accepted command selected a row of its own
    LeftToRunner,           // noted before; the runner selects again what it has to
};

// When a row's accepted follow-ups run as well.
enum class Accept {
    Never,
    OnResult,          // the result is one of the row's accepted results
    OnRecordsChanged,  // the dialog changed stored records
};

constexpr int kNoResult = std::numeric_limits<int>::min();
constexpr int kNoButton = 0;

struct CommandRow {
    int command;
    int button = kNoButton;  // the menu bar button with the same effect
    CommandRunner run = nullptr;
    Selection selection = Selection::Restore;
    uint32_t always = kNoFollowUp;  // after every result
    Accept accept = Accept::Never;
    int accepted[2] = {kNoResult, kNoResult};
    uint32_t onAccepted = kNoFollowUp;
};

// Whether a result of the row's runner counts as accepted, with recordsChanged as the
// category dialogs left it.
bool IsAccepted(const CommandRow& row, int result, bool recordsChanged);

// Every row of the main window; a runner that returns nothing opened nothing.
std::span<const CommandRow> MainCommandTable();

// The row of a menu command or menu bar button, or null for any other command.
const CommandRow* FindCommandRow(int command);

}  // namespace qv
