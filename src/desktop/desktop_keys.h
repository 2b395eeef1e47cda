// The desktop's keyboard over the handheld's commands and dialogs: which Ctrl key runs which
// menu command, and which control Escape clicks in which dialog.
#pragma once

#include <span>

#include "platform/qt/qt_host.h"

namespace qv {

std::span<const CommandKey> DesktopCommandKeys();
std::span<const EscapeControl> DesktopEscapeControls();

}  // namespace qv
