#include "platform/qt/drop_down.h"

#include <QTimer>

#include "platform/qt/gestures.h"
#include "platform/ui/user_input.h"

namespace qv {

void DropDown::showPopup() {
    RunGesture(syncing_, [&] { input::OpenDropDown(d_, id_); });
    QComboBox::showPopup();
}

void DropDown::hidePopup() {
    QComboBox::hidePopup();
    // The list closes before it reports the pick; the close-up follows the pick.
    if (!syncing_) QTimer::singleShot(0, this, [this] { input::CloseDropDown(d_, id_); });
}

}  // namespace qv
