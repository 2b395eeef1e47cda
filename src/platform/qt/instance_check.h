// One program per user and data folder: a second start brings the running one to the front.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "platform/ui/instance_check.h"

class QLocalServer;

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

    // The socket's full path: the per-user runtime folder (or the temporary folder) and a name
    // holding the user id and a hash of the data folder's path.
    const std::string& SocketName() const { return socketName_; }
    bool IsListening() const;

  private:
    void AcceptConnections();

    std::string socketName_;
    std::unique_ptr<QLocalServer> server_;
};

}  // namespace qv
