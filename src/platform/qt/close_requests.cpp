// Requests to close the program from outside its window, turned into calls on the event loop.
#include "platform/qt/close_requests.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

namespace qv {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The handler may only write to a pipe; the event loop reads the other end.
int signalPipe[2] = {-1, -1};
struct sigaction previousActions[std::size(kSignals)];

extern "C" void OnCloseSignal(int) {
    const int savedErrno = errno;
    const char byte = 1;
    // A full pipe already holds a request, so a lost byte loses nothing.
    [[maybe_unused]] ssize_t written = write(signalPipe[1], &byte, 1);
    errno = savedErrno;
}

}  // namespace

CloseRequests::CloseRequests() {
    if (signalPipe[0] == -1 && pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        struct sigaction action {};
        action.sa_handler = OnCloseSignal;
        sigfillset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        watching_ = true;
        for (size_t i = 0; i < std::size(kSignals); ++i) {
            if (sigaction(kSignals[i], &action, &previousActions[i]) != 0) watching_ = false;
        }
        notifier_ = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                         [this] { Deliver(); });
    }
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        // The session is ending: close as the user would, without asking anything.
        context_ = std::make_unique<QObject>();
        QObject::connect(app, &QGuiApplication::commitDataRequest, context_.get(),
                         [this](QSessionManager&) {
                             if (onCloseRequest) onCloseRequest();
                         });
    }
}

CloseRequests::~CloseRequests() {
    context_.reset();
    if (!notifier_) return;
    notifier_.reset();
    for (size_t i = 0; i < std::size(kSignals); ++i) {
        sigaction(kSignals[i], &previousActions[i], nullptr);
    }
    close(signalPipe[0]);
    close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}

void CloseRequests::Deliver() {
    char bytes[64];
    bool requested = false;
    while (read(signalPipe[0], bytes, sizeof bytes) > 0) requested = true;
    if (requested && onCloseRequest) onCloseRequest();
}

}  // namespace qv
