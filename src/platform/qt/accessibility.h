// What a screen reader hears of the window's controls beyond what Qt tells by itself.
#pragma once

namespace qv {

// Radio buttons whose group the program keeps (not Qt) are still read as radio buttons, not as
// check boxes. Once per process; a QApplication must exist.
void InstallAccessibility();

}  // namespace qv
