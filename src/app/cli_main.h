// The desktop program's subcommands: handed to the running window, or run here on their own.
#pragma once

#include <string>
#include <vector>

#include "app/app.h"
#include "platform/qt/instance_check.h"

namespace qv {

// `quorvella SUBCOMMAND ...` (args from the subcommand on): prints the answer and returns the
// exit status. No window is made and no display is needed.
int RunSubcommand(const std::vector<std::string>& args);

// The running window's side: the command on the window's own state and store. While a dialog
// or a message box is up (`inTheMiddle`) commands that change the store are refused.
QtInstanceCheck::CommandAnswer AnswerInWindow(App* app, bool inTheMiddle,
                                              const std::vector<std::string>& args);

}  // namespace qv
