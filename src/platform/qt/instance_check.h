// One program per user and data folder: a second start brings the running one to the front.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/instance_check.h"

class QByteArray;
class QLocalServer;
class QLocalSocket;

namespace qv {

// The running instance listens on a local socket named after the user and the data folder, so
// two users or two data folders never meet. A second start connects to it, asks it to come to
// the front and ends.
class QtInstanceCheck : public InstanceCheck {
  public:
    explicit QtInstanceCheck(const std::filesystem::path& dataDir);
    ~QtInstanceCheck() override;
    QtInstanceCheck(const QtInstanceCheck&) = delete;
    QtInstanceCheck& operator=(const QtInstanceCheck&) = delete;

    // True when another instance runs on the same data folder and was asked to come to the
    // front. Otherwise this instance starts listening (after clearing a socket left by a crash)
    // and returns false; a socket that cannot be made does not stop the program.
    bool RaiseRunningInstance(const std::u16string& className,
                              const std::u16string& title) override;

    // Only asks: true when a running instance on the same data folder answered and was asked
    // to come to the front. Never listens and never removes a socket.
    bool AskRunningToRaise();

    // Called on the event loop when a later start asks this instance to come to the front.
    std::function<void()> onRaise;

    // What a command handed to the running instance answered: its exit status and its output.
    struct CommandAnswer {
        int status = 0;
        std::string out;
        std::string err;
    };
    // Only asks: hands the command's arguments to the running instance on the same data folder
    // and waits for its answer. None when no instance answered the connection; once the command
    // was handed over, a lost answer is a status 1 with the reason.
    std::optional<CommandAnswer> AskRunningToRun(const std::vector<std::string>& args);
    // Called on the event loop with a command a later start handed over; its answer goes back.
    std::function<CommandAnswer(const std::vector<std::string>& args)> onCommand;

    // The socket's full path: the per-user runtime folder (or the temporary folder) and a name
    // holding the user id and a hash of the data folder's path.
    const std::string& SocketName() const { return socketName_; }
    bool IsListening() const;

  private:
    void AcceptConnections();
    // Runs a command once all of it has come in, and writes its answer back.
    void RunRequest(QLocalSocket& client, QByteArray& buffer);

    std::string socketName_;
    std::unique_ptr<QLocalServer> server_;
};

}  // namespace qv
