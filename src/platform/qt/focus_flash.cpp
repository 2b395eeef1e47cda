#include "platform/qt/focus_flash.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace qv {
namespace {

const char* const kFlashName = "focus flash";

class Flash : public QWidget {
  public:
    Flash(QWidget* window, int zoom) : QWidget(window), zoom_(zoom) {
        setObjectName(QString::fromLatin1(kFlashName));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        off_.setSingleShot(true);
        off_.setInterval(kFocusFlashMs);
        QObject::connect(&off_, &QTimer::timeout, this, [this] { hide(); });
    }
    void Over(const QWidget* control) {
        const int pad = 2 * zoom_;
        const QPoint at = control->mapTo(parentWidget(), QPoint(0, 0));
        setGeometry(QRect(at, control->size()).adjusted(-pad, -pad, pad, pad));
        show();
        raise();
        off_.start();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const int line = 2 * zoom_;
        p.setPen(QPen(palette().color(QPalette::Highlight), line, Qt::SolidLine, Qt::SquareCap,
                      Qt::MiterJoin));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(rect()).adjusted(line / 2.0, line / 2.0, -line / 2.0, -line / 2.0));
    }

  private:
    int zoom_;
    QTimer off_;
};

}  // namespace

void FlashFocus(int zoom) {
    QTimer::singleShot(0, qApp, [zoom] {
        QPointer<QWidget> control = QApplication::focusWidget();
        if (control == nullptr || !control->isVisible() || control->isWindow()) return;
        QWidget* window = control->window();
        auto* flash =
            window->findChild<Flash*>(QString::fromLatin1(kFlashName), Qt::FindDirectChildrenOnly);
        if (flash == nullptr) flash = new Flash(window, zoom);
        flash->Over(control);
    });
}

QWidget* ShownFocusFlash(const QWidget* window) {
    auto* flash =
        window->findChild<QWidget*>(QString::fromLatin1(kFlashName), Qt::FindDirectChildrenOnly);
    return flash != nullptr && flash->isVisible() ? flash : nullptr;
}

}  // namespace qv
