// The desktop program's subcommands: handed to the running window, or run here on their own.
#pragma once

#include <string>
#include <vector>

namespace qv {

// `quorvella SUBCOMMAND ...` (args from the subcommand on): prints the answer and returns the
// exit status. No window is made and no display is needed.
int RunSubcommand(const std::vector<std::string>& args);

}  // namespace qv
