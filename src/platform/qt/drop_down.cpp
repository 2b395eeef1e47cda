#include "platform/qt/drop_down.h"

#include <QStyleOption>
#include <QStylePainter>
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

void DropDown::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    option.currentText =
        fontMetrics().elidedText(option.currentText, Qt::ElideRight, field.width() - 2);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

}  // namespace qv
