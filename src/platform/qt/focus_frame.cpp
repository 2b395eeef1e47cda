#include "platform/qt/focus_frame.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>

namespace qv {

FocusFrame::FocusFrame(QWidget* window, int zoom) : QWidget(window), zoom_(zoom) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    window->installEventFilter(this);
    QObject::connect(qApp, &QApplication::focusChanged, this,
                     [this](QWidget*, QWidget* now) { Follow(now); });
}

void FocusFrame::Follow(QWidget* now) {
    if (target_ != nullptr) target_->removeEventFilter(this);
    target_ = nullptr;
    // A widget's inner part (a drop-down list's text) has the frame of the whole.
    while (now != nullptr && now->focusProxy() == nullptr && now->parentWidget() != nullptr &&
           now->parentWidget()->focusProxy() == now) {
        now = now->parentWidget();
    }
    // A widget that holds the keys without taking input of its own (a dialog with no fields)
    // has no frame.
    if (now != nullptr && now != parentWidget() && now->window() == parentWidget() &&
        now->focusPolicy() != Qt::NoFocus) {
        target_ = now;
        target_->installEventFilter(this);
        QObject::connect(now, &QObject::destroyed, this, &QWidget::hide, Qt::UniqueConnection);
    }
    Place();
}

void FocusFrame::Place() {
    if (target_ == nullptr || !target_->isVisible()) {
        hide();
        return;
    }
    const int w = zoom_;
    const QRect at(target_->mapTo(parentWidget(), QPoint(0, 0)), target_->size());
    setGeometry(at.adjusted(-2 * w, -2 * w, 2 * w, 2 * w));
    raise();
    show();
    update();
}

bool FocusFrame::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::LayoutRequest:
        case QEvent::ZOrderChange:
            Place();
            break;
        default:
            break;
    }
    return false;
}

void FocusFrame::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int w = zoom_;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1F, 0x3F, 0x8F));
    const QRect r = rect();
    p.drawRect(0, 0, r.width(), w);
    p.drawRect(0, r.height() - w, r.width(), w);
    p.drawRect(0, 0, w, r.height());
    p.drawRect(r.width() - w, 0, w, r.height());
}

}  // namespace qv
