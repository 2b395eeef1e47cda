// Whether the program can open a window here, found out with plain sockets.
#include "platform/qt/display_check.h"

#include <arpa/inet.h>
#include <errno.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstddef>
#include <cstring>
#include <string_view>
#include <thread>
#include <vector>

namespace qv {

namespace {

constexpr int kTcpTimeoutMs = 500;
constexpr auto kHandshakeTimeout = std::chrono::seconds(2);
constexpr int kX11TcpPortBase = 6000;

std::string Variable(const char* name) {
    const char* value = getenv(name);
    return value ? value : "";
}

class Socket {
  public:
    explicit Socket(int family)
        : fd_(socket(family, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0)) {}
    ~Socket() {
        if (fd_ >= 0) close(fd_);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int fd() const { return fd_; }

  private:
    int fd_;
};

// A Unix socket at `path`; a leading NUL names an abstract socket.
bool UnixSocketAnswers(std::string_view path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.data(), path.size());
    Socket s(AF_UNIX);
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size() +
                                               (path.front() == '\0' ? 0 : 1));
    if (s.fd() < 0) return false;
    // A server too busy to take the connection yet (a full queue) is still there.
    return connect(s.fd(), reinterpret_cast<sockaddr*>(&address), length) == 0 || errno == EAGAIN ||
           errno == EINPROGRESS;
}

bool LoopbackPortAnswers(int port) {
    sockaddr_in v4{};
    v4.sin_family = AF_INET;
    v4.sin_port = htons(static_cast<uint16_t>(port));
    v4.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    sockaddr_in6 v6{};
    v6.sin6_family = AF_INET6;
    v6.sin6_port = htons(static_cast<uint16_t>(port));
    v6.sin6_addr = in6addr_loopback;
    const std::pair<const sockaddr*, socklen_t> addresses[] = {
        {reinterpret_cast<const sockaddr*>(&v4), sizeof v4},
        {reinterpret_cast<const sockaddr*>(&v6), sizeof v6}};
    for (const auto& [address, length] : addresses) {
        Socket s(address->sa_family);
        if (s.fd() < 0) continue;
        if (connect(s.fd(), address, length) == 0) return true;
        if (errno != EINPROGRESS) continue;
        pollfd p{s.fd(), POLLOUT, 0};
        int error = 0;
        socklen_t size = sizeof error;
        if (poll(&p, 1, kTcpTimeoutMs) == 1 &&
            getsockopt(s.fd(), SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0) {
            return true;
        }
    }
    return false;
}

bool IsLoopbackHost(std::string_view host) {
    return host == "localhost" || host == "127.0.0.1" || host == "::1" || host == "[::1]";
}

// Whether the X server takes a connection from this program: the whole greeting, with the
// user's authority. A server that refuses (wrong authority, too many clients, shutting down)
// would otherwise end the window system's start with an abort. The greeting runs in a child
// process, so a server that never answers cannot hold the start up: after two seconds it is
// left to the window system.
bool XServerAccepts(const std::string& display, std::string& why) {
    const pid_t child = fork();
    if (child < 0) return true;  // nothing learnt: the window system tries
    if (child == 0) {
        // The server's own reason would be a second line; the program says it in one.
        const int quiet = open("/dev/null", O_WRONLY);
        if (quiet >= 0) dup2(quiet, STDERR_FILENO);
        xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
        _exit(xcb_connection_has_error(connection) != 0 ? 1 : 0);
    }
    const auto deadline = std::chrono::steady_clock::now() + kHandshakeTimeout;
    int status = 0;
    pid_t done = 0;
    while ((done = waitpid(child, &status, WNOHANG)) == 0 &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (done == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        return true;
    }
    if (done == child && WIFEXITED(status) && WEXITSTATUS(status) == 1) {
        why = "the X server on display " + display + " refuses the connection";
        return false;
    }
    return true;
}

// DISPLAY is [protocol/][host]:number[.screen].
bool XDisplayReachable(const std::string& display, std::string& why) {
    const size_t colon = display.rfind(':');
    std::string_view host =
        std::string_view(display).substr(0, colon == std::string::npos ? 0 : colon);
    std::string_view rest = colon == std::string::npos
                                ? std::string_view()
                                : std::string_view(display).substr(colon + 1);
    const std::string_view number = rest.substr(0, rest.find('.'));
    const bool numeric = !number.empty() && number.size() <= 5 &&
                         number.find_first_not_of("0123456789") == std::string_view::npos;
    if (!numeric) {
        why = "the display name \"" + display + "\" in DISPLAY is not one an X server can have";
        return false;
    }
    std::string_view protocol;
    if (size_t slash = host.rfind('/'); slash != std::string_view::npos) {
        if (host.front() == '/') return true;  // a socket path of its own: left to the server
        protocol = host.substr(0, slash);
        host = host.substr(slash + 1);
    }
    const std::string socketPath = "/tmp/.X11-unix/X" + std::string(number);
    bool answers;
    if (host.empty() || host == "unix" || protocol == "unix") {
        answers =
            UnixSocketAnswers(std::string(1, '\0') + socketPath) || UnixSocketAnswers(socketPath);
    } else if (IsLoopbackHost(host)) {
        answers = LoopbackPortAnswers(kX11TcpPortBase + std::stoi(std::string(number)));
    } else {
        return true;  // another machine: tried by the window system itself
    }
    if (!answers) {
        why = "no X server answers on display " + display;
        return false;
    }
    return XServerAccepts(display, why);
}

bool WaylandDisplayReachable(const DisplayEnvironment& env, std::string& why) {
    std::string path = env.waylandDisplay;
    if (path.front() != '/') {
        if (env.runtimeDir.empty()) {
            why = "WAYLAND_DISPLAY is set but XDG_RUNTIME_DIR, where its socket is, is not";
            return false;
        }
        path = env.runtimeDir + "/" + path;
    }
    if (UnixSocketAnswers(path)) return true;
    why = "no Wayland compositor answers at " + path;
    return false;
}

enum class Needs { Nothing, X, Wayland, Unknown };

Needs WhatPlatformNeeds(std::string_view name) {
    static constexpr std::string_view kWithoutDisplay[] = {"offscreen",    "minimal",  "minimalegl",
                                                           "vnc",          "eglfs",    "linuxfb",
                                                           "vkkhrdisplay", "directfb", "bsdfb"};
    for (std::string_view n : kWithoutDisplay) {
        if (name == n) return Needs::Nothing;
    }
    if (name == "xcb") return Needs::X;
    if (name.starts_with("wayland")) return Needs::Wayland;
    return Needs::Unknown;
}

}  // namespace

DisplayEnvironment DisplayEnvironment::FromProcess() {
    return {Variable("QT_QPA_PLATFORM"), Variable("DISPLAY"), Variable("WAYLAND_DISPLAY"),
            Variable("XDG_RUNTIME_DIR")};
}

bool DisplayReachable(const DisplayEnvironment& env, std::string& why) {
    // QT_QPA_PLATFORM is a list, tried in order: "wayland;xcb", "vnc:size=800x600".
    std::vector<Needs> candidates;
    std::string_view list = env.qpaPlatform;
    while (!list.empty()) {
        const std::string_view entry = list.substr(0, list.find(';'));
        list.remove_prefix(std::min(list.size(), entry.size() + 1));
        const std::string_view name = entry.substr(0, entry.find(':'));
        if (!name.empty()) candidates.push_back(WhatPlatformNeeds(name));
    }
    if (candidates.empty()) candidates = {Needs::X, Needs::Wayland};

    std::string xWhy;
    std::string waylandWhy;
    for (Needs needs : candidates) {
        switch (needs) {
            case Needs::Nothing:
            case Needs::Unknown:  // a platform of its own kind: it knows best
                return true;
            case Needs::X:
                if (!env.display.empty() && XDisplayReachable(env.display, xWhy)) return true;
                break;
            case Needs::Wayland:
                if (!env.waylandDisplay.empty() && WaylandDisplayReachable(env, waylandWhy)) {
                    return true;
                }
                break;
        }
    }
    if (!xWhy.empty()) {
        why = xWhy;
    } else if (!waylandWhy.empty()) {
        why = waylandWhy;
    } else {
        why = "no display to open a window on (neither DISPLAY nor WAYLAND_DISPLAY is set)";
    }
    return false;
}

}  // namespace qv
