// Requests to close the program from outside its window: SIGTERM, SIGINT, SIGHUP and the end
// of the desktop session.
#pragma once

#include <functional>
#include <memory>

class QObject;
class QSocketNotifier;

namespace qv {

// While one exists, the three signals no longer end the process at once: each is turned into a
// call of onCloseRequest on the event loop, where the host ends open dialogs as cancelled and
// runs the exit steps. The desktop session's request to save and end does the same. At most one
// exists at a time; the signals' former handling comes back when it goes.
class CloseRequests {
  public:
    CloseRequests();
    ~CloseRequests();
    CloseRequests(const CloseRequests&) = delete;
    CloseRequests& operator=(const CloseRequests&) = delete;

    // False when the signals could not be taken over (they then keep ending the process).
    bool Watching() const { return watching_; }

    // Called once per request; a second Ctrl+C while closing calls it again.
    std::function<void()> onCloseRequest;

  private:
    void Deliver();

    bool watching_ = false;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::unique_ptr<QObject> context_;  // holds the session connection
};

}  // namespace qv
