#include "platform/qt/menu_bar_keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QShortcut>
#include <QToolButton>
#include <algorithm>

namespace qv {

MenuBarKeys::MenuBarKeys(QWidget* window, QWidget* bar, std::function<bool()> allowed)
    : QObject(window), window_(window), bar_(bar), allowed_(std::move(allowed)) {
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), window);
    QObject::connect(f10, &QShortcut::activated, this, [this] {
        if (active_) {
            Leave();
        } else {
            Enter();
        }
    });
    qApp->installEventFilter(this);
}

std::vector<QToolButton*> MenuBarKeys::Buttons() const {
    std::vector<QToolButton*> shown;
    for (auto* b : bar_->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly)) {
        if (b->isVisible() && b->isEnabled()) shown.push_back(b);
    }
    return shown;
}

void MenuBarKeys::Enter() {
    const std::vector<QToolButton*> buttons = Buttons();
    if (active_ || buttons.empty() || !allowed_()) return;
    back_ = QApplication::focusWidget();
    active_ = true;
    for (QToolButton* b : buttons) {
        b->removeEventFilter(this);
        b->installEventFilter(this);
    }
    buttons.front()->setFocus(Qt::ShortcutFocusReason);
}

void MenuBarKeys::Leave() {
    if (!active_) return;
    active_ = false;
    if (back_ != nullptr) {
        back_->setFocus(Qt::OtherFocusReason);
    } else if (QWidget* focus = QApplication::focusWidget(); focus && bar_->isAncestorOf(focus)) {
        focus->clearFocus();
    }
}

void MenuBarKeys::Move(QToolButton* from, int step) {
    const std::vector<QToolButton*> buttons = Buttons();
    if (buttons.empty()) return;
    auto at = std::find(buttons.begin(), buttons.end(), from);
    const int n = static_cast<int>(buttons.size());
    const int i = at == buttons.end() ? 0 : static_cast<int>(at - buttons.begin());
    buttons[static_cast<size_t>((i + step + n) % n)]->setFocus(Qt::ShortcutFocusReason);
}

void MenuBarKeys::Open(QToolButton* button) {
    QMenu* menu = button->menu();
    if (menu == nullptr) {
        Leave();
        button->click();
        return;
    }
    // The menu ends the bar's turn: a chosen item runs once the focus is back.
    QObject::connect(menu, &QMenu::aboutToHide, this, &MenuBarKeys::Leave, Qt::UniqueConnection);
    menu->popup(button->mapToGlobal(QPoint(0, 0)));
    for (QAction* a : menu->actions()) {
        if (!a->isSeparator() && a->isEnabled()) {
            menu->setActiveAction(a);
            break;
        }
    }
}

bool MenuBarKeys::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* target = qobject_cast<QWidget*>(watched);
        // Alt alone, pressed and released in this window with no other key between.
        if (key->key() == Qt::Key_Alt && !key->isAutoRepeat() && target != nullptr &&
            target->window() == window_) {
            if (type == QEvent::KeyPress) {
                altAlone_ = (key->modifiers() & ~Qt::AltModifier) == Qt::NoModifier;
            } else if (altAlone_) {
                altAlone_ = false;
                if (active_) {
                    Leave();
                } else {
                    Enter();
                }
                return true;
            }
        } else if (type == QEvent::KeyPress) {
            altAlone_ = false;
        }
    } else if (type == QEvent::MouseButtonPress) {
        altAlone_ = false;
    }
    if (!active_) return false;
    auto* button = qobject_cast<QToolButton*>(watched);
    if (button == nullptr || button->parentWidget() != bar_) return false;
    if (type == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::ShortcutFocusReason) {
        active_ = false;  // the person went elsewhere with the mouse
        return false;
    }
    if (type != QEvent::KeyPress) return false;
    switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Left:
            Move(button, -1);
            return true;
        case Qt::Key_Right:
            Move(button, 1);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Down:
        case Qt::Key_Space:
            Open(button);
            return true;
        case Qt::Key_Escape:
            Leave();
            return true;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return true;  // the bar is not on the dialog's round
        default:
            return false;
    }
}

}  // namespace qv
