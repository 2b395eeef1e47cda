// Whether the program can open a window here, asked before the window system is started
// (which would end the process with an abort when it finds no display).
#pragma once

#include <string>

namespace qv {

// The variables that decide where the window system connects.
struct DisplayEnvironment {
    std::string qpaPlatform;     // QT_QPA_PLATFORM
    std::string display;         // DISPLAY
    std::string waylandDisplay;  // WAYLAND_DISPLAY
    std::string runtimeDir;      // XDG_RUNTIME_DIR

    static DisplayEnvironment FromProcess();
};

// True when a display can be reached: a platform that needs none (offscreen, minimal, vnc,
// the frame buffer), or a Wayland or X display server that accepts a connection. A local X
// display is tried at its socket, a remote one is trusted. Otherwise false, with `why` one
// sentence for the user.
bool DisplayReachable(const DisplayEnvironment& env, std::string& why);
inline bool DisplayReachable(std::string& why) {
    return DisplayReachable(DisplayEnvironment::FromProcess(), why);
}

}  // namespace qv
