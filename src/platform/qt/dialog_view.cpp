// The widgets of one window of the model, kept equal to it both ways.
#include "platform/qt/dialog_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QTreeView>

#include "platform/qt/date_picker.h"
#include "platform/qt/drop_down.h"
#include "platform/qt/gestures.h"
#include "platform/qt/list_view.h"
#include "platform/qt/qt_host.h"
#include "platform/qt/qt_text.h"
#include "platform/ui/field_names.h"
#include "platform/ui/shell.h"
#include "platform/ui/user_input.h"

namespace qv {
namespace {

// A date picker reporting no valid date shows the blank text of its lowest date.
const QDate kNoDate(1752, 9, 14);

QRect Scaled(const Rect& r, int zoom) {
    return QRect(r.x * zoom, r.y * zoom, r.w * zoom, r.h * zoom);
}

QColor FromColorRef(uint32_t c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

}  // namespace

DialogView::DialogView(QtHost& host, Dialog& dialog, QWidget* parent)
    : QWidget(parent), host_(host), dialog_(dialog) {
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    setFont(HandheldFont(kDialogFontPixels * host_.Zoom()));
    for (const ControlState& c : dialog_.Controls()) AddControl(c);
    SetTabOrder();
    ApplyDefaultButton();
    NameInputs();
    dialog_.SetObserver(this);
}

DialogView::~DialogView() {
    dialog_.SetObserver(nullptr);
}

QWidget* DialogView::WidgetOf(int id) const {
    if (id == kUnnamedControl) return nullptr;
    for (const Shown& s : shown_) {
        if (s.id == id) return s.widget;
    }
    return nullptr;
}

DialogView::Shown* DialogView::Find(int id) {
    for (Shown& s : shown_) {
        if (s.id == id) return &s;
    }
    return nullptr;
}

void DialogView::AddControl(const ControlState& c) {
    Shown shown{c.id, nullptr};
    shown.widget = Make(c, shown);
    shown.widget->setObjectName(QString::number(c.id));
    shown_.push_back(shown);
    SyncAll(shown_.back());  // shows it unless the control is hidden
}

QWidget* DialogView::Make(const ControlState& c, Shown& shown) {
    Dialog& d = dialog_;
    const int id = c.id;
    switch (c.kind) {
        case ControlKind::Static: {
            auto* label = new QLabel(this);
            label->setFocusPolicy(Qt::NoFocus);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            return label;
        }
        case ControlKind::GroupBox: {
            auto* group = new QGroupBox(this);
            group->setFocusPolicy(Qt::NoFocus);
            return group;
        }
        case ControlKind::Button: {
            auto* button = new QPushButton(this);
            button->setAutoDefault(false);
            connect(button, &QPushButton::clicked, this,
                    [this, &d, id] { RunGesture(syncing_, [&] { input::Click(d, id); }); });
            return button;
        }
        case ControlKind::CheckBox:
        case ControlKind::Radio: {
            QAbstractButton* box = c.kind == ControlKind::CheckBox
                                       ? static_cast<QAbstractButton*>(new QCheckBox(this))
                                       : new QRadioButton(this);
            box->setAutoExclusive(false);  // the model checks a radio group's members
            connect(box, &QAbstractButton::clicked, this, [this, &d, id](bool checked) {
                RunGesture(syncing_, [&] {
                    const bool radio = d.Find(id) && d.Find(id)->kind == ControlKind::Radio;
                    input::SetChecked(d, id, radio ? true : checked);
                });
                if (Shown* s = Find(id)) {
                    if (const ControlState* now = dialog_.Find(id))
                        Sync(*now, *s, DialogChange::Checked, -1);
                }
            });
            return box;
        }
        case ControlKind::Edit: {
            auto* edit = new QLineEdit(this);
            connect(edit, &QLineEdit::textEdited, this, [this, &d, id](const QString& text) {
                RunGesture(syncing_, [&] { input::Type(d, id, FromQString(text)); });
            });
            return edit;
        }
        case ControlKind::Combo: {
            auto* combo = new DropDown(d, id, syncing_, this);
            connect(combo, QOverload<int>::of(&QComboBox::activated), this,
                    [this, &d, id](int index) {
                        RunGesture(syncing_, [&] { input::PickEntry(d, id, index); });
                    });
            return combo;
        }
        case ControlKind::DatePicker: {
            auto* date = new DatePicker(this);
            date->setCalendarPopup(true);
            date->setMinimumDate(kNoDate);
            date->setSpecialValueText(QStringLiteral(" "));
            date->SetLook(host_.MonthFirst(), host_.Zoom());
            connect(date, &QDateEdit::dateChanged, this, [this, &d, id](QDate value) {
                RunGesture(syncing_, [&] {
                    if (value == kNoDate || !value.isValid()) {
                        input::PickDate(d, id, std::nullopt);
                    } else {
                        input::PickDate(d, id, MakeDate(value.year(), value.month(), value.day()));
                    }
                });
            });
            return date;
        }
        case ControlKind::ListBox: {
            auto* list = new QListWidget(this);
            connect(list, &QListWidget::clicked, this, [this, &d, id](const QModelIndex& index) {
                RunGesture(syncing_, [&] { input::TapRow(d, id, index.row()); });
            });
            return list;
        }
        case ControlKind::ListView: {
            auto* view = new ListView(d, id, this);
            shown.rows = new RowsModel(d, id, host_.Zoom(), view);
            view->setModel(shown.rows);
            view->setRootIsDecorated(false);
            view->setUniformRowHeights(true);
            view->setItemsExpandable(false);
            view->setAllColumnsShowFocus(true);
            view->setSelectionMode(QAbstractItemView::SingleSelection);
            view->setSelectionBehavior(QAbstractItemView::SelectRows);
            view->setEditTriggers(QAbstractItemView::NoEditTriggers);
            view->setIconSize(QSize(16 * host_.Zoom(), 16 * host_.Zoom()));
            view->header()->setSectionsClickable(true);
            view->header()->setStretchLastSection(false);
            view->header()->setSectionsMovable(false);
            connect(view, &QTreeView::clicked, this, [this, &d, id](const QModelIndex& index) {
                RunGesture(syncing_, [&] { input::TapRow(d, id, index.row()); });
            });
            connect(view->header(), &QHeaderView::sectionClicked, this, [this, &d, id](int col) {
                RunGesture(syncing_, [&] { input::TapHeader(d, id, col); });
            });
            return view;
        }
    }
    return new QWidget(this);
}

void DialogView::Place(const ControlState& c, QWidget* w) const {
    QRect r = Scaled(c.rect, host_.Zoom());
    // A drop-down list's rectangle includes its opened list; closed it is one line high.
    if (c.kind == ControlKind::Combo) r.setHeight(std::min(r.height(), 20 * host_.Zoom()));
    w->setGeometry(r);
}

void DialogView::SyncAll(const Shown& shown) {
    const ControlState* c = nullptr;
    // Unnamed controls share an identifier: find this one by its place in the list.
    const size_t at = static_cast<size_t>(&shown - shown_.data());
    if (at < dialog_.Controls().size()) c = &dialog_.Controls()[at];
    if (c == nullptr) return;
    for (DialogChange what : {DialogChange::Text, DialogChange::Entries, DialogChange::Checked,
                              DialogChange::Date, DialogChange::EditLimit, DialogChange::Columns,
                              DialogChange::Rows, DialogChange::RowSelection}) {
        Sync(*c, shown, what, -1);
    }
    Place(*c, shown.widget);
    shown.widget->setVisible(c->visible);
    shown.widget->setEnabled(c->enabled);
    if (c->kind == ControlKind::Static && (c->style & kStyleIcon) != 0) {
        auto* label = static_cast<QLabel*>(shown.widget);
        label->setPixmap(ProgramIcon(32 * host_.Zoom()));
    }
}

void DialogView::Sync(const ControlState& c, const Shown& shown, DialogChange what, int row) {
    const bool was = syncing_;
    syncing_ = true;
    QWidget* w = shown.widget;
    const QSignalBlocker blocker(w);
    switch (what) {
        case DialogChange::Text:
            if (auto* label = qobject_cast<QLabel*>(w)) {
                if ((c.style & kStyleIcon) == 0) label->setText(ToQString(c.text));
            } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
                group->setTitle(ToQString(c.text));
            } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
                if (edit->text() != ToQString(c.text)) edit->setText(ToQString(c.text));
                if (c.textSelected) edit->selectAll();
            } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
                button->setText(ToQString(c.text));
            }
            break;
        case DialogChange::EditLimit:
            if (auto* edit = qobject_cast<QLineEdit*>(w)) {
                edit->setMaxLength(c.editLimit > 0 ? c.editLimit : kDefaultEditLimit);
            }
            break;
        case DialogChange::Checked:
            if (auto* box = qobject_cast<QAbstractButton*>(w)) box->setChecked(c.checked);
            break;
        case DialogChange::Date:
            if (auto* date = qobject_cast<QDateEdit*>(w)) {
                const QDate value =
                    c.date ? QDate(c.date->year, c.date->month, c.date->day) : QDate();
                date->setDate(value.isValid() ? value : kNoDate);
            }
            break;
        case DialogChange::Entries:
        case DialogChange::Selection:
            if (auto* combo = qobject_cast<QComboBox*>(w)) {
                if (what == DialogChange::Entries) {
                    combo->clear();
                    for (const auto& e : c.entries) combo->addItem(ToQString(e));
                }
                combo->setCurrentIndex(c.selection);
            } else if (auto* list = qobject_cast<QListWidget*>(w)) {
                if (what == DialogChange::Entries) {
                    list->clear();
                    for (const auto& e : c.entries) list->addItem(ToQString(e));
                }
                list->setCurrentRow(c.selection);
                if (c.selection < 0) list->clearSelection();
            }
            break;
        case DialogChange::Columns:
            if (shown.rows != nullptr) {
                shown.rows->HeaderChanged();
                auto* view = static_cast<QTreeView*>(w);
                for (size_t i = 0; i < c.columns.size(); ++i) {
                    view->setColumnWidth(static_cast<int>(i), c.columns[i].width * host_.Zoom());
                }
            }
            break;
        case DialogChange::Rows:
            // A list filled row by row is shown once: one reset, and the selection and
            // scrolling follow it once.
            if (shown.rows != nullptr && !shown.rows->Pending()) {
                shown.rows->RowsChanged();
                QTimer::singleShot(0, w, [this, id = c.id] {
                    if (Shown* s = Find(id)) {
                        if (const ControlState* now = dialog_.Find(id)) {
                            Sync(*now, *s, DialogChange::RowSelection, -1);
                            Sync(*now, *s, DialogChange::Scroll, -1);
                        }
                    }
                });
            }
            break;
        case DialogChange::Row:
            if (shown.rows != nullptr) shown.rows->RowChanged(row);
            break;
        case DialogChange::RowSelection:
            if (shown.rows != nullptr && !shown.rows->Pending()) {
                auto* view = static_cast<QTreeView*>(w);
                const QSignalBlocker selectionBlocker(view->selectionModel());
                if (c.selectedRow >= 0) {
                    view->selectionModel()->select(
                        shown.rows->index(c.selectedRow, 0),
                        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
                } else {
                    view->selectionModel()->clearSelection();
                }
                if (c.focusedRow >= 0) {
                    view->selectionModel()->setCurrentIndex(shown.rows->index(c.focusedRow, 0),
                                                            QItemSelectionModel::NoUpdate);
                }
                view->viewport()->update();
            }
            break;
        case DialogChange::Scroll:
            if (shown.rows != nullptr && !shown.rows->Pending() && !c.rows.empty()) {
                auto* view = static_cast<QTreeView*>(w);
                view->scrollTo(shown.rows->index(c.topRow, 0), QAbstractItemView::PositionAtTop);
            }
            break;
        default:
            break;
    }
    syncing_ = was;
}

void DialogView::OnDialogChanged(const Dialog&, DialogChange what, int id, int row) {
    switch (what) {
        case DialogChange::Focus:
            FollowFocus();
            return;
        case DialogChange::DefaultButton:
            ApplyDefaultButton();
            return;
        case DialogChange::Layout:
            PlaceAll();
            NameInputs();  // a label beside a field in one layout may stand elsewhere in another
            return;
        case DialogChange::Ended:
            return;
        case DialogChange::Added:
            if (const ControlState* c = dialog_.Find(id)) {
                AddControl(*c);
                SetTabOrder();
                NameInputs();
            }
            return;
        case DialogChange::Removed:
            for (auto it = shown_.begin(); it != shown_.end(); ++it) {
                if (it->id == id) {
                    DeleteWidget(it->widget);
                    shown_.erase(it);
                    break;
                }
            }
            return;
        default:
            break;
    }
    Shown* s = Find(id);
    if (s == nullptr) return;
    // While a list's reset is on its way, its row changes are already covered by it.
    if ((what == DialogChange::Row || what == DialogChange::Rows) && s->rows != nullptr &&
        s->rows->Pending()) {
        return;
    }
    const ControlState* c = dialog_.Find(id);
    if (c == nullptr) return;
    switch (what) {
        case DialogChange::Enabled:
            s->widget->setEnabled(c->enabled);
            break;
        case DialogChange::Visible:
            s->widget->setVisible(c->visible);
            break;
        case DialogChange::Place:
            Place(*c, s->widget);
            break;
        default:
            Sync(*c, *s, what, row);
            if ((what == DialogChange::Text && c->kind == ControlKind::Static) ||
                what == DialogChange::Columns) {
                NameInputs();
            }
            break;
    }
    update();  // a paint handler may show the changed state
}

void DialogView::PlaceAll() {
    const auto& controls = dialog_.Controls();
    for (size_t i = 0; i < shown_.size() && i < controls.size(); ++i) {
        Place(controls[i], shown_[i].widget);
        shown_[i].widget->setVisible(controls[i].visible);
    }
    update();
}

void DialogView::FollowFocus() {
    QWidget* w = WidgetOf(dialog_.Focus());
    // A dialog with nothing to type into (About) holds the keys itself, so Enter and Escape
    // reach it and no key reaches the window under it.
    if (w == nullptr || !w->isVisible() || !w->isEnabled()) w = modal_ ? this : nullptr;
    if (w != nullptr) w->setFocus(Qt::OtherFocusReason);
}

void DialogView::NameInputs() {
    // Buttons and boxes are named by their own text; a field, for a screen reader, by the
    // label beside it, or the window's heading or caption when it has none.
    const uint32_t heading = dialog_.Template().band.stringId;
    const std::optional<std::u16string> headingText = host_.GetResources().String(heading);
    std::vector<ControlState> labelled = dialog_.Controls();
    for (const auto& [text, rect] : painted_) {
        ControlState& label = labelled.emplace_back();
        label.text = text;
        label.rect = rect;
    }
    const std::vector<FieldName> names =
        FieldNames(labelled, headingText ? *headingText : std::u16string(dialog_.Caption()));
    std::vector<QWidget*> buddies(shown_.size(), nullptr);  // each label's first field
    for (size_t i = 0; i < shown_.size() && i < names.size(); ++i) {
        QWidget* field = shown_[i].widget;
        const QString name = ToQString(names[i].name);
        if (name.isEmpty() && dialog_.Controls()[i].kind != ControlKind::ListView) continue;
        field->setAccessibleName(name);
        // Here a drop-down list is heard by its entry and by the label whose buddy it is; its
        // description tells it from another under the same label ("Time (m):").
        if (qobject_cast<QComboBox*>(field)) field->setAccessibleDescription(name);
        const int label = names[i].label;
        if (label >= 0 && static_cast<size_t>(label) < buddies.size() && !buddies[label])
            buddies[label] = field;
    }
    for (size_t i = 0; i < shown_.size(); ++i) {
        // A buddy turns an ampersand into a shortcut mark, so a label showing one keeps none.
        auto* label = qobject_cast<QLabel*>(shown_[i].widget);
        if (label != nullptr) label->setBuddy(label->text().contains(u'&') ? nullptr : buddies[i]);
    }
}

void DialogView::ApplyDefaultButton() {
    for (const Shown& s : shown_) {
        if (auto* button = qobject_cast<QPushButton*>(s.widget)) {
            button->setDefault(s.id == dialog_.DefaultButton());
        }
    }
}

void DialogView::SetTabOrder() {
    QWidget* previous = nullptr;
    for (const Shown& s : shown_) {
        if (qobject_cast<QLabel*>(s.widget) || qobject_cast<QGroupBox*>(s.widget)) continue;
        s.widget->removeEventFilter(this);
        s.widget->installEventFilter(this);
        if (previous != nullptr) setTabOrder(previous, s.widget);
        previous = s.widget;
    }
}

bool DialogView::focusNextPrevChild(bool next) {
    std::vector<QWidget*> stops;
    size_t at = 0;
    const QWidget* focus = QApplication::focusWidget();
    for (const Shown& s : shown_) {
        QWidget* w = s.widget;
        if (w->focusPolicy() == Qt::NoFocus || !w->isVisible() || !w->isEnabled()) continue;
        if (focus != nullptr && (w == focus || w->isAncestorOf(focus))) at = stops.size();
        stops.push_back(w);
    }
    if (stops.empty()) return true;
    const size_t n = stops.size();
    QWidget* to = stops[next ? (at + 1) % n : (at + n - 1) % n];
    to->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void DialogView::Escape() {
    const int id = host_.EscapeControlOf(dialog_.TemplateId());
    QWidget* target = WidgetOf(id);
    if (target == nullptr && id == IDOK && input::HasShellDone(dialog_))
        target = host_.DoneButton();
    auto* button = qobject_cast<QAbstractButton*>(target);
    if (button != nullptr && button->isVisible() && button->isEnabled()) button->click();
}

bool DialogView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        Escape();
        return true;
    }
    // Tab moves the focus as the dialog manager does: the model hears of it.
    if (event->type() == QEvent::FocusIn && !syncing_) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) {
            for (const Shown& s : shown_) {
                if (s.widget == watched) dialog_.SetFocus(s.id);
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void DialogView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Enter presses the default button, or the shell's Done where there is none.
        const int def = dialog_.DefaultButton();
        if (def != kNoControl) {
            input::Click(dialog_, def);
        } else if (input::HasShellDone(dialog_)) {
            input::Done(dialog_);
        }
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        Escape();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void DialogView::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    DialogBehaviour* behaviour = dialog_.Behaviour();
    if (behaviour == nullptr) return;
    const int zoom = host_.Zoom();
    PaintList orders;
    behaviour->OnPaint(dialog_, {width() / zoom, height() / zoom}, orders);
    std::vector<std::pair<std::u16string, Rect>> painted;
    for (const PaintOp& op : orders) {
        if (const auto* text = std::get_if<PaintText>(&op)) {
            const QRect r = QFontMetrics(ToQFont(text->font)).boundingRect(ToQString(text->text));
            painted.emplace_back(text->text, Rect{text->at.x, text->at.y, r.width(), r.height()});
        }
    }
    if (painted != painted_) {
        painted_ = std::move(painted);
        NameInputs();
    }
    if (orders.empty()) return;
    QPainter p(this);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(zoom, zoom);
    for (const PaintOp& op : orders) {
        if (const auto* text = std::get_if<PaintText>(&op)) {
            p.setPen(FromColorRef(text->colour));
            p.setFont(ToQFont(text->font));
            p.drawText(QRect(text->at.x, text->at.y, 1000, 100), Qt::AlignLeft | Qt::AlignTop,
                       ToQString(text->text));
        } else if (const auto* rect = std::get_if<PaintRectangle>(&op)) {
            p.setPen(QPen(FromColorRef(rect->colour), 1));
            p.setBrush(Qt::NoBrush);
            p.drawRect(
                QRect(QPoint(rect->from.x, rect->from.y), QPoint(rect->to.x - 1, rect->to.y - 1)));
        } else if (const auto* line = std::get_if<PaintPolyline>(&op)) {
            p.setPen(QPen(FromColorRef(line->colour), 1));
            QPolygon points;
            for (const Point& pt : line->points) points << QPoint(pt.x, pt.y);
            p.drawPolyline(points);
        }
    }
}

}  // namespace qv
