// One program per user and data folder: who finds whom, and recovery after a crash.
#include "platform/qt/instance_check.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QLocalSocket>
#include <cstring>

#include "files/temp_dir.h"
#include "qt/event_loop.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

bool Raise(QtInstanceCheck& check) {
    return check.RaiseRunningInstance(u"Quorvella", u"Quorvella");
}

// The first start listening and a second in another runtime folder are left to the
// environment family, which runs both programs.
TEST(QtInstanceCheck, TheSameFolderSpeltAnotherWayRaisesTheFirstAndAStrangerRaisesNothing) {
    test::TempDir dir, other;
    int raised = 0;
    QtInstanceCheck first(dir.path());
    first.onRaise = [&] { ++raised; };
    EXPECT_FALSE(Raise(first));
    QLocalSocket stranger;
    stranger.connectToServer(QString::fromStdString(first.SocketName()));
    ASSERT_TRUE(stranger.waitForConnected(1000));
    stranger.write("hello!\n");
    stranger.waitForBytesWritten(1000);

    fs::create_directory(dir / "sub");
    QtInstanceCheck second(dir.path() / "sub" / "..");
    EXPECT_TRUE(Raise(second));
    EXPECT_TRUE(test::RunEventsUntil([&] { return raised == 1; }));
    EXPECT_TRUE(
        test::RunEventsUntil([&] { return stranger.state() == QLocalSocket::UnconnectedState; }));
    EXPECT_EQ(raised, 1);
    EXPECT_NE(QtInstanceCheck(other.path()).SocketName(), first.SocketName());
}

TEST(QtInstanceCheck, SocketLeftByACrashIsClearedAndTheNewStartListens) {
    test::TempDir dir;
    QtInstanceCheck check(dir.path());
    // A socket file nobody listens on, as a killed instance leaves it.
    {
        sockaddr_un address{.sun_family = AF_UNIX, .sun_path = {}};
        ASSERT_LT(check.SocketName().size(), sizeof address.sun_path);
        std::strcpy(address.sun_path, check.SocketName().c_str());
        int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        close(fd);
    }
    ASSERT_TRUE(fs::exists(check.SocketName()));
    EXPECT_FALSE(Raise(check));
    EXPECT_TRUE(check.IsListening());

    int raised = 0;
    check.onRaise = [&] { ++raised; };
    QtInstanceCheck later(dir.path());
    EXPECT_TRUE(Raise(later));
    EXPECT_TRUE(test::RunEventsUntil([&] { return raised == 1; }));
}

}  // namespace
}  // namespace qv
