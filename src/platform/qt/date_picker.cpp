#include "platform/qt/date_picker.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>

namespace qv {

DatePicker::DatePicker(QWidget* parent) : QDateEdit(parent) {
    lineEdit()->installEventFilter(this);
}

bool DatePicker::eventFilter(QObject* watched, QEvent* event) {
    // The text takes the click itself; once it has placed the cursor, the part under it is
    // selected, unless the person has just selected some text by dragging.
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        QTimer::singleShot(0, this, [this] {
            if (!lineEdit()->hasSelectedText() && currentSection() != NoSection) {
                setSelectedSection(currentSection());
            }
        });
    }
    return QDateEdit::eventFilter(watched, event);
}

bool DatePicker::event(QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(e);
        const bool plain = (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == 0;
        if (plain && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)) {
            const bool back =
                key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
            QWidget::focusNextPrevChild(!back);
            return true;
        }
    }
    return QDateEdit::event(e);
}

void DatePicker::keyPressEvent(QKeyEvent* e) {
    const QString typed = e->text();
    if (typed == u"/" || typed == u"-" || typed == u".") {
        const QLineEdit* line = lineEdit();
        const int at = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
        if (at > 0 && line->text().at(at - 1) == u'/') {
            e->accept();
            return;
        }
        QKeyEvent slash(e->type(), Qt::Key_Slash, e->modifiers(), QStringLiteral("/"));
        QDateEdit::keyPressEvent(&slash);
        return;
    }
    QDateEdit::keyPressEvent(e);
}

}  // namespace qv
