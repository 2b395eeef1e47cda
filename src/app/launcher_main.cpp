// quorvella: the program's front. A subcommand runs here, without the desktop's libraries, so a
// command line starts in a few milliseconds; anything else (the window, --help, --version)
// becomes the window program in this process's place, with the same arguments and process id.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/cli_main.h"
#include "cli/cli_commands.h"

namespace {

// Beside this program in a build, or where the installation keeps it (QV_WINDOW_FROM_BIN, from
// the folder of programs).
std::filesystem::path WindowProgram() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::filesystem::path here = ec ? std::filesystem::path(".") : self.parent_path();
    const std::filesystem::path beside = here / "quorvella-window";
    if (::access(beside.c_str(), X_OK) == 0) return beside;
    return (here / QV_WINDOW_FROM_BIN).lexically_normal();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && qv::cli::IsSubcommand(argv[1])) {
        return qv::RunSubcommand(std::vector<std::string>(argv + 1, argv + argc));
    }
    const std::filesystem::path window = WindowProgram();
    ::execv(window.c_str(), argv);
    std::cerr << "quorvella: cannot start the window program " << window.string() << ": "
              << std::strerror(errno) << "\n";
    return 1;
}
