#include "platform/qt/date_picker.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>
#include <QToolButton>

namespace qv {

DatePicker::DatePicker(QWidget* parent) : QDateEdit(parent) {
    lineEdit()->installEventFilter(this);
}

void DatePicker::SetLook(bool monthFirst, int zoom) {
    setDisplayFormat(monthFirst ? QStringLiteral("MM/dd/yy") : QStringLiteral("dd/MM/yy"));
    zoom_ = zoom;
    setCalendarPopup(true);
    QCalendarWidget* calendar = calendarWidget();
    if (calendar == nullptr) return;
    calendar->setFont(font());
    for (auto* button : calendar->findChildren<QToolButton*>()) {
        if (button->objectName() == u"qt_calendar_prevmonth") {
            button->setArrowType(Qt::LeftArrow);
        } else if (button->objectName() == u"qt_calendar_nextmonth") {
            button->setArrowType(Qt::RightArrow);
        } else {
            continue;
        }
        button->setIcon(QIcon());
        button->setIconSize(QSize(8 * zoom, 8 * zoom));
    }
    // A frame around the calendar: it lies over a white dialog.
    QWidget* popup = calendar->window();
    if (popup->layout() != nullptr) popup->layout()->setContentsMargins(zoom, zoom, zoom, zoom);
    QPalette frame = popup->palette();
    frame.setColor(QPalette::Window, QColor(0x50, 0x50, 0x50));
    popup->setPalette(frame);
    popup->setAutoFillBackground(true);
    calendar->setPalette(palette());
    popup->installEventFilter(this);
}

// The calendar opens within the handheld's screen: below the picker where it fits, else above.
void DatePicker::PlaceCalendar(QWidget* popup) const {
    const QWidget* screen = window();
    const QRect area(screen->mapToGlobal(QPoint(0, 0)), screen->size());
    QRect place(mapToGlobal(QPoint(0, height())), popup->size());
    if (place.bottom() > area.bottom()) place.moveBottom(mapToGlobal(QPoint(0, 0)).y() - 1);
    place.moveLeft(std::max(area.left(), std::min(place.left(), area.right() - place.width())));
    place.moveTop(std::max(area.top(), std::min(place.top(), area.bottom() - place.height())));
    popup->move(place.topLeft());
}

bool DatePicker::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && calendarWidget() != nullptr &&
        watched == calendarWidget()->window()) {
        PlaceCalendar(calendarWidget()->window());
    }
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
