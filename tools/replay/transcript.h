// The transcript's lines: the events a person notices and the looks at windows (show ID,
// show dialog, show main), the same whichever host runs the program.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/dialog.h"
#include "platform/ui/host_events.h"
#include "platform/ui/main_frame.h"
#include "platform/ui/ui_types.h"

namespace qv::replay {

// "open 108 \"Register Time\"", "message exclamation \"Done!\"", "beep", ...
std::string EventLine(const HostEvent& event);

// A look at the program: its lines, or the sentence saying why there is nothing to see.
struct Shown {
    std::vector<std::string> lines;
    std::string error;
};

// One control of `window` (the top dialog, else the main window's child); `where` names that
// window in the sentence saying the control is not there.
Shown ShowControl(const Dialog* window, int id, const std::string& where = "the window");
// The top dialog: its heading line, then every control in template order.
Shown ShowDialog(const Dialog* dialog);
// The main window: project bar, balance line, the list, the menu and button states.
Shown ShowMain(const MainFrame* main, Size screen);

// Control lines; the main window's lines leave the focus out.
std::string FormatControlLine(const ControlState& control, const Dialog& dialog,
                              bool showFocus = true);
std::vector<std::string> FormatRowLines(const ControlState& list);

}  // namespace qv::replay
