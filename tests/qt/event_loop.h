// Runs the event loop until a condition holds or a generous time has passed.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <functional>

namespace qv::test {

inline bool RunEventsUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

}  // namespace qv::test
