// The hosts' own small resource set: a few dialogs, strings, a menu bar and built-in files,
// so the host tests depend on nothing of the program's.
#pragma once

#include "platform/ui/resources.h"

namespace qv::test {

// 108 a booking: date 1016, sorted combo 1021, memo 1025 of 29 characters, OK 1027 hidden in
// landscape, Delete 1028 hidden. 124 a sorted list 1036 with New 1032, Rename 1033, Delete 1034
// and the shell's Done. 125 a name field 1040 of 20 characters, OK 3 and Cancel 1039. 1070 two
// groups of radio buttons, 1077 1078 and 1080 1081, and the unsorted combo 1079.
const Resources& HostResources();

// The menus 40001 (40050, 40049) and 40043 (40019).
const MenuBarTemplate& TestMenuBar();

}  // namespace qv::test
