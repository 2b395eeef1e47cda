// The running window's local socket, as a command line speaks to it: its name and the asking.
// Plain POSIX, so a command line reaches the window without loading the desktop's libraries.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace qv {

// The socket's full path: the per-user runtime folder when it is ours (else the temporary
// folder), and a name holding the user id and a hash of the data folder's path, so two users
// or two data folders never meet.
std::string InstanceSocketPath(const std::filesystem::path& dataDir);

// Whether a file under the socket's path belongs to another user: such a socket is neither
// spoken to nor removed.
bool OwnedByStranger(const std::string& socketPath);

// The protocol. A raise request is the line "raise". A command is "run N\n" and its N bytes of
// arguments, each ended by a zero byte; the answer is "STATUS OUT ERR\n" (numbers) and then OUT
// bytes of standard output and ERR of standard error.
inline constexpr std::string_view kRaiseRequest = "raise\n";
inline constexpr std::string_view kRunRequest = "run ";
inline constexpr size_t kMostCommandBytes = 1 << 20;

struct InstanceAnswer {
    int status = 0;
    std::string out;
    std::string err;
};

// Hands the arguments to the window listening on the socket and waits for its answer. None when
// nobody listens (no socket, a refused connection, a stranger's socket); an answer with status 1
// when the window took the command but gave no complete answer within `answerSeconds`.
std::optional<InstanceAnswer> AskRunningToRun(const std::string& socketPath,
                                              const std::vector<std::string>& args,
                                              int answerSeconds = 60);

}  // namespace qv
