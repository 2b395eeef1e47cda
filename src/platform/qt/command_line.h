// The desktop program's command line: --help, --version and the screen's zoom.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace qv {

constexpr int kMinZoom = 1;
constexpr int kMaxZoom = 3;

struct CommandLine {
    enum class Action { Run, ShowHelp, ShowVersion, Refuse };
    Action action = Action::Run;
    int zoom = 0;           // 0: not given, the desktop's default applies
    bool overview = false;  // --overview: the overview opens with the window
    std::string error;      // why the arguments were refused
};

// Reads the arguments after the program's name. Accepted: -h/--help, --version,
// --zoom N and --zoom=N with N 1, 2 or 3, --overview. Anything else refuses the whole line.
CommandLine ParseCommandLine(const std::vector<std::string>& args);
CommandLine ParseCommandLine(int argc, const char* const* argv);

// The largest whole zoom that keeps the 320-pixel-high screen within about two thirds of the
// desktop's available height; at least 1, at most kMaxZoom.
int DefaultZoom(int availableHeight);

// Answers --help and --version on `out` and a refused line on `err` (its reason and the usage
// line). The program's exit code when it ends here: 0 after help or version, 2 after a refusal;
// none when the program is to run.
std::optional<int> AnswerCommandLine(const CommandLine& line, std::ostream& out, std::ostream& err);

std::string UsageLine();
std::string HelpText();
std::string VersionText();

}  // namespace qv
