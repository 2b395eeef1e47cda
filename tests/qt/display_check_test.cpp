// Whether a window can be opened: platforms without a display, live and dead X and Wayland
// servers, found at their sockets.
#include "platform/qt/display_check.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>
#include <thread>

#include "files/temp_dir.h"

namespace qv {
namespace {

// A listening Unix socket; a leading NUL makes it abstract, as X servers also listen.
class Listener {
  public:
    explicit Listener(const std::string& path) : fd_(socket(AF_UNIX, SOCK_STREAM, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.data(), path.size());
        const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size());
        ok_ = bind(fd_, reinterpret_cast<sockaddr*>(&address), length) == 0 && listen(fd_, 4) == 0;
    }
    ~Listener() {
        if (refusing_.joinable()) {
            shutdown(fd_, SHUT_RDWR);
            refusing_.join();
        }
        close(fd_);
    }
    bool ok() const { return ok_; }
    // From now on every connection is taken and closed at once, as a server that refuses
    // this user does.
    void RefuseEveryone() {
        refusing_ = std::thread([this] {
            for (int c; (c = accept(fd_, nullptr, nullptr)) >= 0;) close(c);
        });
    }

  private:
    std::thread refusing_;
    int fd_;
    bool ok_ = false;
};

// A display number with no X server on it, and one we can pretend to serve.
std::string FreeDisplayNumber() {
    for (int n = 47000 + getpid() % 1000;; ++n) {
        const std::string path = "/tmp/.X11-unix/X" + std::to_string(n);
        if (access(path.c_str(), F_OK) != 0) {
            Listener probe(std::string(1, '\0') + path);
            if (probe.ok()) return std::to_string(n);
        }
    }
}

bool Reachable(const DisplayEnvironment& env, std::string* whyOut = nullptr) {
    std::string why;
    const bool reachable = DisplayReachable(env, why);
    EXPECT_EQ(why.empty(), reachable);
    if (whyOut) *whyOut = why;
    return reachable;
}

TEST(DisplayReachable, NothingToConnectToIsSaidInOneLineAndSomePlatformsNeedNoDisplay) {
    std::string why;
    EXPECT_FALSE(Reachable({}, &why));
    EXPECT_EQ(why, "no display to open a window on (neither DISPLAY nor WAYLAND_DISPLAY is set)");
    EXPECT_FALSE(Reachable({"wayland", ":0", "", ""}));
    EXPECT_FALSE(Reachable({"", "not a display", "", ""}, &why));
    EXPECT_EQ(why, "the display name \"not a display\" in DISPLAY is not one an X server can have");
    EXPECT_TRUE(Reachable({"vnc:size=800x600", "", "", ""}));
    EXPECT_TRUE(Reachable({"xcb;offscreen", "", "", ""}));
}

TEST(DisplayReachable, LocalXDisplayCountsOnlyWhenAServerAnswers) {
    const std::string n = FreeDisplayNumber();
    std::string why;
    EXPECT_FALSE(Reachable({"", ":" + n, "", ""}, &why));
    EXPECT_EQ(why, "no X server answers on display :" + n);

    Listener server(std::string(1, '\0') + "/tmp/.X11-unix/X" + n);
    ASSERT_TRUE(server.ok());
    // A server that takes the connection but never finishes the greeting is left to the window
    // system after a while.
    EXPECT_TRUE(Reachable({"xcb", ":" + n, "", ""}));
    // Every way of naming the display reaches the server, which refuses: said in one line.
    server.RefuseEveryone();
    for (const std::string& display : {":" + n + ".0", "unix/:" + n}) {
        EXPECT_FALSE(Reachable({"", display, "", ""}, &why)) << display;
        EXPECT_EQ(why, "the X server on display " + display + " refuses the connection");
    }
    // Another machine is left to the window system to try.
    EXPECT_TRUE(Reachable({"", "far.example:0", "", ""}));
}

TEST(DisplayReachable, WaylandCountsOnlyWhenTheCompositorAnswers) {
    test::TempDir runtime;
    const std::string dead = FreeDisplayNumber();
    std::string why;
    EXPECT_FALSE(Reachable({"", "", "wayland-7", runtime.path().string()}, &why));
    EXPECT_EQ(why, "no Wayland compositor answers at " + (runtime / "wayland-7").string());

    Listener compositor((runtime / "wayland-7").string());
    ASSERT_TRUE(compositor.ok());
    EXPECT_TRUE(Reachable({"", "", "wayland-7", runtime.path().string()}));
    EXPECT_TRUE(Reachable({"", "", (runtime / "wayland-7").string(), ""}));
    EXPECT_TRUE(Reachable({"xcb;wayland", ":" + dead, "wayland-7", runtime.path().string()}));
    // Asked for X only, a live compositor is no help.
    EXPECT_FALSE(Reachable({"xcb", ":" + dead, "wayland-7", runtime.path().string()}, &why));
    EXPECT_EQ(why, "no X server answers on display :" + dead);
}

}  // namespace
}  // namespace qv
