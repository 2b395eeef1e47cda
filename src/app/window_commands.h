// The running window's side of the command line: a command handed over by a later start, run
// on the window's own state and store.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/app.h"
#include "cli/cli_commands.h"

namespace qv {

// What the window's timer does for the command line: reads its file again and shows it; opens
// Register Time with the timer's proposal once the window's events run again.
struct WindowTimer {
    std::function<void()> changed;
    std::function<void()> openStopDialog;
};

// Runs the command (args from the subcommand on) on the run's state and store; a booking is
// listed and added to the balance as Register Time's are. While the user is in the middle of
// something (`inTheMiddle`: a dialog or a message box is up) commands that change the store
// are refused, and reading commands answer.
cli::Answer RunInWindow(App* app, bool inTheMiddle, const std::vector<std::string>& args,
                        const WindowTimer& timer = {});

}  // namespace qv
