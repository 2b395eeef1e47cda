#include "platform/qt/gestures.h"

#include <QPointer>
#include <QWidget>
#include <vector>

namespace qv {
namespace {

int gesturesRunning = 0;
std::vector<QPointer<QWidget>> retiredWidgets;

}  // namespace

void BeginGesture() {
    ++gesturesRunning;
}

void EndGesture() {
    if (--gesturesRunning > 0) return;
    for (const QPointer<QWidget>& w : retiredWidgets) {
        if (w) w->deleteLater();
    }
    retiredWidgets.clear();
}

void DeleteWidget(QWidget* w) {
    if (gesturesRunning == 0) {
        delete w;
        return;
    }
    w->hide();
    retiredWidgets.emplace_back(w);
}

}  // namespace qv
