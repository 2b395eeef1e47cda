// The main window's menu bar (resource 105): buttons, the Time and Tools menus, tool tips.
#pragma once

#include "platform/ui/ui_types.h"

namespace qv {

const MenuBarTemplate& MainMenuBar();

}  // namespace qv
