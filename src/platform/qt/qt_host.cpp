// The desktop host: the handheld's screen in a window, its modal loops and shell services.
#include "platform/qt/qt_host.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QInputMethod>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QToolButton>
#include <QWindow>
#include <map>

#include "platform/qt/accessibility.h"
#include "platform/qt/dialog_view.h"
#include "platform/qt/focus_flash.h"
#include "platform/qt/focus_frame.h"
#include "platform/qt/menu_bar_keys.h"
#include "platform/qt/qt_text.h"
#include "platform/ui/modal_run.h"
#include "platform/ui/user_input.h"

namespace qv {
namespace {

constexpr int kTitleFontPixels = 12;

// The least size the window manager lets the window have. A least size above the size the
// window last heard of from the window manager would grow the window to it, and on X that is
// not yet the size it has just asked for: then it waits for the window's next size.
void SetLeastSize(QWidget& window, QSize least, QObject* sizeWatch) {
    // The offscreen platform has no window manager to tell.
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) return;
    window.winId();  // the window exists from here on
    QWindow* handle = window.windowHandle();
    if (handle == nullptr) return;
    if (sizeWatch != nullptr) {
        handle->removeEventFilter(sizeWatch);
        handle->installEventFilter(sizeWatch);
    }
    if (handle->width() >= least.width() && handle->height() >= least.height()) {
        handle->setMinimumSize(least);
    }
}

}  // namespace

// The window: title strip, the main window's child, dialogs over it, the menu bar.
class ScreenWindow : public QWidget {
  public:
    explicit ScreenWindow(QtHost& host) : host_(host) {
        setWindowTitle(QStringLiteral("Quorvella"));
        setWindowIcon(QIcon(ProgramIcon(256)));
        QPalette p = palette();
        p.setColor(QPalette::Window, Qt::white);
        setPalette(p);
        setAutoFillBackground(true);

        title_ = new QWidget(this);
        title_->setAutoFillBackground(true);
        QPalette tp = title_->palette();
        tp.setColor(QPalette::Window, QColor(0x1F, 0x3F, 0x8F));
        tp.setColor(QPalette::WindowText, Qt::white);
        title_->setPalette(tp);
        auto* row = new QHBoxLayout(title_);
        row->setContentsMargins(2 * Z(), 0, 2 * Z(), 0);
        menuButton_ = new QToolButton(title_);
        menuButton_->setIcon(QIcon(ProgramIcon(16 * Z())));
        menuButton_->setIconSize(QSize(16 * Z(), 16 * Z()));
        menuButton_->setAutoRaise(true);
        menuButton_->setPopupMode(QToolButton::InstantPopup);
        menuButton_->setToolTip(QStringLiteral("Screen"));
        menuButton_->setFocusPolicy(Qt::NoFocus);  // not on a dialog's Tab round
        menuButton_->setAccessibleName(menuButton_->toolTip());
        auto* windowMenu = new QMenu(menuButton_);
        QAction* rotate = windowMenu->addAction(QStringLiteral("Rotate screen"));
        rotate->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
        rotate->setShortcutContext(Qt::ApplicationShortcut);
        addAction(rotate);
        QObject::connect(rotate, &QAction::triggered, this, [this] { host_.Rotate(); });
        menuButton_->setMenu(windowMenu);
        windowMenu->setFont(HandheldFont(kTitleFontPixels * Z()));
        windowMenu->installEventFilter(this);
        // F1 is the desktop's help request: the topmost window answers it.
        auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
        help->setContext(Qt::ApplicationShortcut);
        QObject::connect(help, &QShortcut::activated, this,
                         [this] { input::Help(host_.TopDialog(), host_.Main()); });
        caption_ = new QLabel(title_);
        const QFont f = HandheldFont(kTitleFontPixels * Z(), true);
        caption_->setFont(f);
        done_ = new QPushButton(QStringLiteral("ok"), title_);
        done_->setFont(f);
        // As small as its text with the zoom, not as wide as the desktop's least button.
        done_->setFixedSize(QFontMetrics(f).horizontalAdvance(done_->text()) + 12 * Z(), 20 * Z());
        done_->setAutoDefault(false);
        done_->setFocusPolicy(Qt::NoFocus);
        QObject::connect(done_, &QPushButton::clicked, this, [this] {
            if (Dialog* d = host_.TopDialog()) input::Done(*d);
        });
        row->addWidget(menuButton_);
        row->addWidget(caption_, 1);
        row->addWidget(done_);

        menuBar_ = new QWidget(this);
        menuBar_->setAutoFillBackground(true);
        QPalette mp = menuBar_->palette();
        mp.setColor(QPalette::Window, QColor(0xE8, 0xE8, 0xE8));
        menuBar_->setPalette(mp);
        new QHBoxLayout(menuBar_);
        menuBar_->layout()->setContentsMargins(0, 0, 0, 0);
        menuBar_->layout()->setSpacing(0);
        barKeys_ = new MenuBarKeys(this, menuBar_, [this] {
            return host_.Main() != nullptr && host_.TopDialog() == nullptr &&
                   host_.openBoxes_.empty();
        });
        focusFrame_ = new FocusFrame(this, Z());
    }

    int Z() const { return host_.Zoom(); }
    QString StringOf(uint32_t id) const {
        return ToQString(host_.GetResources().String(id).value_or(u""));
    }

    void BuildMenuBar(MainFrame& frame) {
        const MenuBarTemplate& bar = frame.MenuBar();
        auto* layout = static_cast<QHBoxLayout*>(menuBar_->layout());
        const QFont f = HandheldFont(kTitleFontPixels * Z());
        size_t index = 0;
        for (const MenuBarButton& b : bar.buttons) {
            if (b.kind == MenuBarButton::Kind::Separator) {
                layout->addSpacing(6 * Z());
                continue;
            }
            // The tips go to the buttons in order; a separator is no button.
            const uint32_t tip = index < bar.toolTips.size() ? bar.toolTips[index] : 0;
            ++index;
            auto* button = new QToolButton(menuBar_);
            button->setFont(f);
            button->setAutoRaise(true);
            button->setFocusPolicy(Qt::NoFocus);
            button->setObjectName(QString::number(b.command));
            if (tip != 0) button->setToolTip(StringOf(tip));
            const int command = b.command;
            if (b.kind == MenuBarButton::Kind::Image) {
                button->setIcon(StripImage(b.bitmap, b.image, Z()));
                button->setIconSize(QSize(16 * Z(), 16 * Z()));
                button->setAccessibleName(button->toolTip());  // an image's only words
                buttons_[command] = button;
            } else {
                button->setText(StringOf(b.stringId));
            }
            if (b.kind == MenuBarButton::Kind::Popup && b.menu >= 0 &&
                static_cast<size_t>(b.menu) < bar.menus.size()) {
                auto* menu = new QMenu(button);
                menu->setFont(f);
                for (const MenuItemTemplate& item : bar.menus[b.menu].items) {
                    if (item.command == 0) {
                        menu->addSeparator();
                        continue;
                    }
                    QAction* action = menu->addAction(StringOf(item.stringId));
                    action->setObjectName(QString::number(item.command));
                    const int cmd = item.command;
                    QObject::connect(action, &QAction::triggered, this,
                                     [this, cmd] { Command(cmd); });
                    items_[cmd] = action;
                }
                // The menu bar is at the bottom of the screen: its menus open upwards, over
                // the window, as on the handheld, not below it on the desktop.
                menu->installEventFilter(this);
                button->setMenu(menu);
                button->setPopupMode(QToolButton::InstantPopup);
            } else {
                QObject::connect(button, &QToolButton::clicked, this,
                                 [this, command] { Command(command); });
            }
            layout->addWidget(button);
        }
        layout->addStretch(1);
        ApplyKeys();
        for (auto& [command, action] : items_) action->setEnabled(frame.IsMenuItemEnabled(command));
        for (auto& [command, button] : buttons_) button->setEnabled(frame.IsButtonEnabled(command));
    }

    // Each key on its menu item, which runs it while the item is not grey, and named in the tip
    // of the menu bar button with the same effect.
    void ApplyKeys() {
        for (const CommandKey& k : host_.keys_) {
            const QKeySequence key(Qt::CTRL | static_cast<Qt::Key>(k.letter));
            if (QAction* item = MenuItemOf(k.command)) {
                item->setShortcut(key);
                item->setShortcutContext(Qt::WindowShortcut);
                addAction(item);
            }
            if (QWidget* button = k.button != 0 ? MenuBarButtonOf(k.button) : nullptr) {
                if (!button->toolTip().isEmpty()) {
                    button->setToolTip(QStringLiteral("%1 (%2)").arg(
                        button->toolTip(), key.toString(QKeySequence::NativeText)));
                }
            }
        }
    }

    void Command(int command) {
        if (host_.Main() != nullptr && host_.TopDialog() == nullptr && host_.openBoxes_.empty()) {
            input::Command(*host_.Main(), command);
        }
    }

    void MenuItemChanged(const MainFrame& frame, int command) {
        if (auto it = items_.find(command); it != items_.end()) {
            it->second->setEnabled(frame.IsMenuItemEnabled(command));
        }
    }
    void ButtonChanged(const MainFrame& frame, int command) {
        if (auto it = buttons_.find(command); it != buttons_.end()) {
            it->second->setEnabled(frame.IsButtonEnabled(command));
        }
    }
    QWidget* MenuBarButtonOf(int command) const {
        return menuBar_->findChild<QWidget*>(QString::number(command));
    }
    QAction* MenuItemOf(int command) const {
        auto it = items_.find(command);
        return it == items_.end() ? nullptr : it->second;
    }

    // Places the strips and every open window for the screen size.
    void Relayout() {
        const Size s = host_.ScreenSize();
        title_->setGeometry(0, 0, s.width * Z(), kTaskBarHeight * Z());
        menuBar_->setGeometry(0, (s.height - kMenuBarHeight) * Z(), s.width * Z(),
                              kMenuBarHeight * Z());
        PlaceChild();
        for (DialogView* v : dialogs_) PlaceDialog(v);
        UpdateTitle();
    }
    void PlaceChild() {
        if (child_ == nullptr) return;
        const Rect r = child_->Model().WindowRect();
        child_->setGeometry(r.x * Z(), r.y * Z(), r.w * Z(), r.h * Z());
        Stack();
    }
    // The menu bar, the open dialogs and the focus frame lie above the project bar, in that
    // order. Only what is out of place is raised: a raise repaints, and this runs at every wait
    // for the user, so raising all of them each time kept the window painting without end.
    void Stack() {
        std::vector<QWidget*> order{menuBar_};
        order.insert(order.end(), dialogs_.begin(), dialogs_.end());
        order.push_back(focusFrame_);
        std::vector<QWidget*> top;  // the topmost widgets, last on top
        const QObjectList& kids = children();
        for (auto it = kids.rbegin(); it != kids.rend() && top.size() < order.size(); ++it) {
            if (auto* w = qobject_cast<QWidget*>(*it)) top.insert(top.begin(), w);
        }
        if (top == order) return;
        for (QWidget* w : order) w->raise();
    }
    void PlaceDialog(DialogView* v) {
        const Size s = host_.ScreenSize();
        v->setGeometry(0, kTaskBarHeight * Z(), s.width * Z(), (s.height - kTaskBarHeight) * Z());
        v->raise();
        focusFrame_->raise();
    }
    void UpdateTitle() {
        const Dialog* top = host_.TopDialog();
        if (top != nullptr) {
            caption_->setText(ToQString(top->Caption()));
        } else if (host_.Main() != nullptr) {
            caption_->setText(ToQString(host_.Main()->Title()));
        }
        done_->setVisible(top != nullptr && input::HasShellDone(*top));
    }

    QtHost& host_;
    QWidget* title_ = nullptr;
    QToolButton* menuButton_ = nullptr;
    QLabel* caption_ = nullptr;
    QPushButton* done_ = nullptr;
    QWidget* menuBar_ = nullptr;
    std::map<int, QAction*> items_;
    std::map<int, QToolButton*> buttons_;
    MenuBarKeys* barKeys_ = nullptr;
    FocusFrame* focusFrame_ = nullptr;
    DialogView* child_ = nullptr;
    std::vector<DialogView*> dialogs_;
    bool following_ = false;  // the window is being sized to the screen by the program

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == windowHandle() && event->type() == QEvent::Resize) {
            host_.FollowMinimumSize(host_.ScreenSize());  // the window has its new size
        }
        auto* menu = qobject_cast<QMenu*>(watched);
        if (menu != nullptr && event->type() == QEvent::Hide) {
            // The pointer left the button for the menu: the button shows no hover frame now.
            auto* button = qobject_cast<QWidget*>(menu->parent());
            if (button != nullptr &&
                !button->rect().contains(button->mapFromGlobal(QCursor::pos()))) {
                button->setAttribute(Qt::WA_UnderMouse, false);
                QEvent leave(QEvent::Leave);
                QCoreApplication::sendEvent(button, &leave);
            }
        }
        if (menu != nullptr && event->type() == QEvent::Show && menu != menuButton_->menu()) {
            if (auto* button = qobject_cast<QWidget*>(menu->parent())) {
                // Within the window where it fits: its right edge no further than the window's.
                const QPoint top = button->mapToGlobal(QPoint(0, 0));
                const int right = mapToGlobal(QPoint(width(), 0)).x();
                const int x = std::max(mapToGlobal(QPoint(0, 0)).x(),
                                       std::min(top.x(), right - menu->width()));
                menu->move(x, std::max(0, top.y() - menu->height()));
            }
        }
        return QWidget::eventFilter(watched, event);
    }
    void closeEvent(QCloseEvent* event) override {
        // The program decides when it ends: its exit steps run first.
        event->ignore();
        host_.RequestClose();
    }
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        if (following_) return;
        const Size size{width() / Z(), height() / Z()};
        if (size.width > 0 && size.height > kTaskBarHeight + kMenuBarHeight) {
            host_.ScreenResized(size);
        }
    }
};

QtHost::QtHost(const Resources& resources, const Clock& clock, int zoom, Services services)
    : UiHost(resources),
      clock_(clock),
      zoom_(std::clamp(zoom, 1, 3)),
      services_(std::move(services)) {
    InstallImages(resources);
    InstallFontStandIns();
    InstallZoomStyle(zoom_);
    InstallAccessibility();
    window_ = std::make_unique<ScreenWindow>(*this);
    window_->following_ = true;
    window_->resize(screen_.width * zoom_, screen_.height * zoom_);
    window_->following_ = false;
    FollowMinimumSize(screen_);
    window_->Relayout();
}

QtHost::~QtHost() {
    dialogViews_.clear();
    childView_.reset();
    if (waitCursor_) QApplication::restoreOverrideCursor();
}

int QtHost::EscapeControlOf(int templateId) const {
    for (const EscapeControl& e : escapes_) {
        if (e.templateId == templateId) return e.control;
    }
    return kNoControl;
}

QWidget* QtHost::Window() const {
    return window_.get();
}

Dialog* QtHost::TopDialog() const {
    return dialogViews_.empty() ? nullptr : &dialogViews_.back()->Model();
}

Dialog* QtHost::TopWindow() const {
    if (Dialog* top = TopDialog()) return top;
    return main_ != nullptr ? main_->Child() : nullptr;
}

std::vector<Dialog*> QtHost::OpenDialogs() const {
    std::vector<Dialog*> open;
    for (const auto& v : dialogViews_) open.push_back(&v->Model());
    return open;
}

QWidget* QtHost::WidgetOf(int id) const {
    if (!dialogViews_.empty()) return dialogViews_.back()->WidgetOf(id);
    return childView_ ? childView_->WidgetOf(id) : nullptr;
}

QWidget* QtHost::DoneButton() const {
    return window_->done_;
}

QWidget* QtHost::MenuBarWidget() const {
    return window_->menuBar_;
}

namespace {

// The desktop's message icons come no larger than they were drawn, a line of the desktop's own
// text high: the box's icon is scaled to two lines of its zoomed text, so it stands beside them
// at every zoom (left alone when that is within a quarter of what was drawn).
void ZoomIcon(QMessageBox& box) {
    const int side = 2 * QFontMetrics(box.font()).height();
    const QPixmap drawn = box.iconPixmap();
    if (drawn.isNull() || 4 * drawn.width() >= 3 * side) return;
    box.setIconPixmap(drawn.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

}  // namespace

QMenu* QtHost::WindowMenu() const {
    return window_->menuButton_->menu();
}

bool QtHost::TakesCommands() const {
    return main_ != nullptr && mainCreated_ && !main_->IsDestroyed() && dialogViews_.empty() &&
           openBoxes_.empty();
}

int QtHost::MessageBox(const std::u16string& text, const std::u16string& caption, uint32_t flags) {
    const bool question = (flags & 0x0F) == MB_YESNO;
    Emit(HostEvent::Box(question ? HostEvent::Kind::Question : HostEvent::Kind::Message, text,
                        flags));
    const int unchanged = question ? IDNO : IDOK;
    if (closeBeforeMain_) return unchanged;  // the program is ending before it ran
    const QMessageBox::Icon icon =
        (flags & 0xF0) == MB_ICONSTOP ? QMessageBox::Critical : QMessageBox::Warning;
    QMessageBox box(icon, ToQString(caption), ToQString(text),
                    question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                    window_->isVisible() ? window_.get() : nullptr);
    // The box speaks at the size of the dialogs behind it, not at the desktop's.
    box.setFont(HandheldFont(kDialogFontPixels * zoom_));
    box.setEscapeButton(question ? QMessageBox::No : QMessageBox::Ok);  // the unchanging answer
    ZoomIcon(box);
    FitCaption(box, zoom_);
    int answer = IDOK;
    openBoxes_.push_back(&box);
    if (scriptedAnswer_) {
        box.show();
        QCoreApplication::processEvents();
        scriptedAnswer_(&box, question);
        if (question) answer = box.clickedButton() == box.button(QMessageBox::Yes) ? IDYES : IDNO;
    } else {
        const int pressed = box.exec();
        if (question) answer = pressed == QMessageBox::Yes ? IDYES : IDNO;
    }
    openBoxes_.pop_back();
    ActivateTop();
    return answer;
}

void QtHost::MessageBeep(uint32_t) {
    Emit(HostEvent::Of(HostEvent::Kind::Beep));
    QApplication::beep();
    FlashFocus(zoom_);  // most desktops have no bell
}

void QtHost::SetWaitCursor(bool on) {
    if (on == waitCursor_) return;
    waitCursor_ = on;
    if (on) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void QtHost::SetInputPanel(bool on) {
    // On a touch desktop with an input method the keyboard comes and goes; elsewhere this is
    // harmless.
    if (QInputMethod* im = QGuiApplication::inputMethod()) {
        if (on) {
            im->show();
        } else {
            im->hide();
        }
    }
}

void QtHost::StartHelp(std::u16string_view commandLine) {
    Emit(HostEvent::Of(HostEvent::Kind::Help, std::u16string(commandLine)));
    if (services_.startHelp) services_.startHelp(commandLine);
}

void QtHost::PlaySoundResource(std::u16string_view name) {
    Emit(HostEvent::Of(HostEvent::Kind::Sound, std::u16string(name)));
    if (services_.playSound) services_.playSound(name);
}

void QtHost::Repaint(Dialog& dialog) {
    if (childView_ && &childView_->Model() == &dialog) childView_->update();
    for (const auto& v : dialogViews_) {
        if (&v->Model() == &dialog) v->update();
    }
}

void QtHost::ActivateTop() {
    window_->UpdateTitle();
    if (!dialogViews_.empty()) {
        Dialog& d = dialogViews_.back()->Model();
        if (&d != initialising_ && !d.Ended() && d.Behaviour() != nullptr) {
            d.Behaviour()->OnActivate(d);
        }
        dialogViews_.back()->FollowFocus();
    } else if (main_ != nullptr && mainCreated_ && !main_->IsDestroyed() &&
               main_->Behaviour() != nullptr) {
        main_->Behaviour()->OnActivate(*main_);
        if (childView_) childView_->FollowFocus();
    }
}

void QtHost::WaitOnce() {
    window_->PlaceChild();
    window_->UpdateTitle();
    if (scriptedStep_) {
        QCoreApplication::processEvents();
        scriptedStep_();
    } else {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

int QtHost::RunDialog(int templateId, DialogBehaviour& behaviour) {
    struct Steps : ModalSteps {
        QtHost& host;
        explicit Steps(QtHost& h) : host(h) {}
        void ShowModal(Dialog& d) override {
            host.dialogViews_.push_back(std::make_unique<DialogView>(host, d, host.window_.get()));
            DialogView* view = host.dialogViews_.back().get();
            view->SetModal();
            host.window_->dialogs_.push_back(view);
            host.window_->PlaceDialog(view);
            view->show();
            host.window_->UpdateTitle();
        }
        // Whatever way the dialog ends, also a scripted kill, its widgets go with it.
        void HideModal(Dialog&) override {
            host.window_->dialogs_.pop_back();
            host.dialogViews_.pop_back();
            host.window_->UpdateTitle();
        }
        void LowerInputPanel() override { host.SetInputPanel(false); }
        void Settled(Dialog&) override { host.dialogViews_.back()->FollowFocus(); }
        void WaitForUser() override { host.WaitOnce(); }
        void Report(const HostEvent& event) override { host.Emit(event); }
        bool Landscape() const override { return host.screen_ != kPortraitScreen; }
        void ActivateTop() override { host.ActivateTop(); }
    } steps(*this);
    return RunModal(GetResources(), templateId, behaviour, steps, initialising_);
}

Dialog* QtHost::CreateChildDialog(MainFrame& frame, int templateId, DialogBehaviour& behaviour) {
    const DialogTemplate* source = GetResources().Template(templateId);
    if (source == nullptr) return nullptr;
    auto owned = std::make_unique<Dialog>(*source);
    Dialog* child = owned.get();
    child->SetBehaviour(&behaviour);
    const Size area = MainClientSize();
    child->SetWindowRect({0, 0, area.width, area.height});
    frame.AttachChild(std::move(owned), behaviour);
    childView_ = std::make_unique<DialogView>(*this, *child, window_.get());
    window_->child_ = childView_.get();
    window_->PlaceChild();
    childView_->show();
    behaviour.OnInit(*child);
    return frame.Child() == child ? child : nullptr;
}

void QtHost::OnFrameChanged(const MainFrame& frame, FrameChange what, int command) {
    switch (what) {
        case FrameChange::MenuItem:
            window_->MenuItemChanged(frame, command);
            break;
        case FrameChange::Button:
            window_->ButtonChanged(frame, command);
            break;
        case FrameChange::Child:
            if (childView_ && frame.Child() != &childView_->Model()) {
                window_->child_ = nullptr;
                childView_.reset();
            }
            break;
        case FrameChange::Destroyed:
            window_->hide();
            break;
    }
}

int QtHost::RunMainWindow(MainFrame& frame, MainWindowBehaviour& behaviour) {
    main_ = &frame;
    mainCreated_ = false;
    struct Leave {
        QtHost& host;
        MainFrame& frame;
        ~Leave() {
            host.window_->child_ = nullptr;
            host.childView_.reset();
            frame.SetObserver(nullptr);
            frame.SetBehaviour(nullptr);
            host.main_ = nullptr;
        }
    } leave{*this, frame};
    frame.SetObserver(this);
    frame.SetBehaviour(&behaviour);
    window_->BuildMenuBar(frame);
    window_->Relayout();
    window_->show();
    behaviour.OnCreate(frame);
    mainCreated_ = true;
    if (closeBeforeMain_) {
        closeBeforeMain_ = false;
        input::Close(main_, OpenDialogs());
    }
    window_->Relayout();
    if (!frame.IsDestroyed()) ActivateTop();
    while (!frame.QuitPosted()) {
        if (frame.TakeCloseRequest()) {
            behaviour.OnClose(frame);
            continue;
        }
        if (frame.IsDestroyed()) break;
        WaitOnce();
    }
    window_->hide();
    return frame.QuitCode();
}

void QtHost::SetScreenSize(Size size) {
    if (size.width <= 0 || size.height <= kTaskBarHeight + kMenuBarHeight) return;
    // The old least size lets go first: the window would stop at it on its way to the new size,
    // and the window manager would report that size back as the user's.
    SetLeastSize(*window_, QSize(0, 0), nullptr);
    window_->following_ = true;
    window_->resize(size.width * zoom_, size.height * zoom_);
    window_->following_ = false;
    FollowMinimumSize(size);  // now if the window has that size, else when it gets it
    ScreenResized(size);
}

void QtHost::ScreenResized(Size size) {
    if (size == screen_) return;
    screen_ = size;
    window_->Relayout();
    if (main_ != nullptr) input::ChangeScreen(main_, OpenDialogs(), screen_ != kPortraitScreen);
    window_->Relayout();
}

void QtHost::Rotate() {
    SetScreenSize(screen_ == kPortraitScreen ? Size{320, 240} : kPortraitScreen);
}

void QtHost::RequestClose() {
    // Each box ends as No or OK would end it; its caller goes on from there.
    for (auto box = openBoxes_.rbegin(); box != openBoxes_.rend(); ++box) {
        auto* shown = static_cast<QMessageBox*>(*box);
        shown->done(shown->button(QMessageBox::No) != nullptr ? QMessageBox::No : QMessageBox::Ok);
    }
    if (main_ == nullptr || !mainCreated_) {
        closeBeforeMain_ = true;
        return;
    }
    if (main_->IsDestroyed()) return;
    input::Close(main_, OpenDialogs());
}

void QtHost::FollowMinimumSize(Size screen) {
    // Never smaller than the handheld's screen at the zoom, upright or turned as the screen is
    // now: smaller, the list and the fields would be cut off. The window manager gets it as the
    // window's least size.
    const bool turned = screen.width > screen.height;
    const Size least =
        turned ? Size{kPortraitScreen.height, kPortraitScreen.width} : kPortraitScreen;
    SetLeastSize(*window_, QSize(least.width * zoom_, least.height * zoom_), window_.get());
}

void QtHost::Raise() {
    // A minimised window comes back too, not only a covered one.
    window_->setWindowState(window_->windowState() & ~Qt::WindowMinimized);
    window_->show();
    window_->raise();
    window_->activateWindow();
}

}  // namespace qv
