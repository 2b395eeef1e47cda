#include "platform/qt/date_picker.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>

namespace qv {

DatePicker::DatePicker(QWidget* parent) : QDateEdit(parent) {
    lineEdit()->installEventFilter(this);
}

void DatePicker::SetMonthFirst(bool monthFirst) {
    setDisplayFormat(monthFirst ? QStringLiteral("MM/dd/yy") : QStringLiteral("dd/MM/yy"));
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

void DatePicker::keyPressEvent(QKeyEvent* e) {
    const QString typed = e->text();
    // Everything selected: the first digit begins the new date in its first part, and the
    // parts that follow are typed over one by one.
    const QLineEdit* all = lineEdit();
    if (typed.size() == 1 && typed.at(0).isDigit() && all->hasSelectedText() &&
        all->selectedText() == all->text()) {
        setSelectedSection(sectionAt(0));
    }
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
