// The dialogs behind the main window's commands. Each screen is put here as it is built; a
// command without its dialog opens nothing.
#include "app/app.h"

namespace qv {

void WireCommandDialogs(App&) {}

}  // namespace qv
