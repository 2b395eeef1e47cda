// Signals turned into close requests on the event loop, and handed back afterwards.
#include "platform/qt/close_requests.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include "qt/event_loop.h"

namespace qv {
namespace {

void (*CurrentHandler(int signal))(int) {
    struct sigaction action {};
    sigaction(signal, nullptr, &action);
    return action.sa_handler;
}

TEST(CloseRequests, TermIntAndHangUpEachAskTheHostToCloseOnItsEventLoop) {
    const auto termBefore = CurrentHandler(SIGTERM);
    {
        CloseRequests requests;
        ASSERT_TRUE(requests.Watching());
        int closes = 0;
        requests.onCloseRequest = [&] { ++closes; };

        for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
            const int before = closes;
            ASSERT_EQ(kill(getpid(), signal), 0);
            EXPECT_EQ(closes, before) << signal;  // never from inside the signal handler
            EXPECT_TRUE(test::RunEventsUntil([&] { return closes == before + 1; })) << signal;
        }

        // Only one can hold the signals; a second one does not take them away.
        CloseRequests second;
        EXPECT_FALSE(second.Watching());
        ASSERT_EQ(kill(getpid(), SIGTERM), 0);
        EXPECT_TRUE(test::RunEventsUntil([&] { return closes == 4; }));
    }
    EXPECT_EQ(CurrentHandler(SIGTERM), termBefore);
}

}  // namespace
}  // namespace qv
