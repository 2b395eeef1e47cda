// A signal a person can see with the beep, for desktops without a bell: the frame of the
// control that has the focus lights up for a moment. It is drawn over the control and lets
// every click and key through.
#pragma once

class QWidget;

namespace qv {

// How long the frame stays lit.
constexpr int kFocusFlashMs = 300;

// Lights the frame of the control that has the focus once the events in hand are done (a
// refused entry may still move the focus), at `zoom`; a second flash starts the time again.
void FlashFocus(int zoom);
// The lit frame over the controls of `window`, or null while none is lit.
QWidget* ShownFocusFlash(const QWidget* window);

}  // namespace qv
