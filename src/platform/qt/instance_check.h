// One program per user and data folder: a second start brings the running one to the front.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/files/instance_socket.h"
#include "platform/ui/instance_check.h"

class QByteArray;
class QLocalServer;
class QLocalSocket;

namespace qv {

// The running instance listens on the local socket of its data folder (InstanceSocketPath). A
// second start connects to it, asks it to come to the front and ends; a command line hands it
// commands (AskRunningToRun, without Qt).
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

    // Called on the event loop with a command a later start handed over; its answer goes back.
    std::function<InstanceAnswer(const std::vector<std::string>& args)> onCommand;

    // The socket's full path (InstanceSocketPath).
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
