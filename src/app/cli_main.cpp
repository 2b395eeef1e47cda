// The subcommands of the desktop program: with a window running on the data folder the command
// goes to it through the single-instance socket; without one the command opens the store
// itself under the data folder's lock. Both run the same execution (src/cli).
#include "app/cli_main.h"

#include <chrono>
#include <filesystem>
#include <iostream>
#include <thread>
#include <variant>

#include "cli/cli_commands.h"
#include "cli/cli_standalone.h"
#include "cli/cli_texts.h"
#include "platform/files/data_folder_lock.h"
#include "platform/files/instance_socket.h"
#include "platform/files/system_clock.h"

namespace qv {

namespace {

// How long a command waits for another command line to let go of the data folder.
constexpr auto kLockPatience = std::chrono::seconds(3);
constexpr auto kLockRetry = std::chrono::milliseconds(20);

int Print(int status, const std::string& out, const std::string& err) {
    std::cout << out << std::flush;
    std::cerr << err << std::flush;
    return !std::cout && status == cli::kDone ? cli::kRefused : status;
}

int Print(const cli::Answer& a) {
    return Print(a.status, a.out, a.err);
}

}  // namespace

int RunSubcommand(const std::vector<std::string>& given) {
    std::vector<std::string> args = given;
    auto read = cli::ReadCommandLine(args);
    if (const cli::Answer* answer = std::get_if<cli::Answer>(&read)) return Print(*answer);
    const DeviceFolders folders = DeviceFolders::ForUser();
    if (const std::string* folder = std::get<cli::Request>(read).Value("folder");
        folder != nullptr && std::get<cli::Request>(read).Is("sync")) {
        // The window runs elsewhere: it is told the folder whole. A computer that never ran the
        // program gets its data folder, so that sync can fill it.
        std::error_code ec;
        args = {"sync", "--folder",
                std::filesystem::absolute(*folder, ec).lexically_normal().string()};
        read = cli::ReadCommandLine(args);
        std::filesystem::create_directories(folders.dataDir, ec);
    }
    const cli::Request& request = std::get<cli::Request>(read);
    SystemClock clock;

    const std::string socket = InstanceSocketPath(folders.dataDir);
    const auto giveUp = std::chrono::steady_clock::now() + kLockPatience;
    for (;;) {
        std::error_code ec;
        // No data folder: nothing stored to lock or to change.
        if (!std::filesystem::is_directory(folders.dataDir, ec)) {
            return Print(cli::RunOnOwn(folders, request, clock));
        }
        DataFolderLock lock(folders.dataDir);
        if (lock.GetState() != DataFolderLock::State::HeldElsewhere) {
            // An unavailable lock (a folder we may not write) is gone on without, as the window
            // goes on without it.
            return Print(cli::RunOnOwn(folders, request, clock));
        }
        if (auto answer = AskRunningToRun(socket, args)) {
            return Print(answer->status, answer->out, answer->err);
        }
        if (std::chrono::steady_clock::now() > giveUp) {
            return Print(cli::kRefused, {},
                         "quorvella: " + std::string(cli::says::kFolderBusy) +
                             folders.dataDir.string() + "\n");
        }
        std::this_thread::sleep_for(kLockRetry);
    }
}

}  // namespace qv
