// The timer's title, menu items and tray icon.
#include "desktop/timer_tray.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QSystemTrayIcon>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

#include "desktop/desktop_texts.h"
#include "platform/qt/qt_host.h"
#include "platform/qt/qt_text.h"

namespace qv {
namespace {

constexpr int kTickMilliseconds = 15000;  // the minutes shown follow within a quarter minute

QString Q(DesktopText text) {
    return ToQString(std::u16string(DesktopString(text)));
}

// The program's icon, bright with a green play mark while a timer runs, faded with a grey stop
// mark while none does.
QPixmap Drawn(int size, bool running) {
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setOpacity(running ? 1.0 : 0.45);
    p.drawPixmap(QRect(0, 0, size, size), ProgramIcon(size));
    p.setOpacity(1.0);
    const qreal mark = size * 0.55;
    const QRectF badge(size - mark, size - mark, mark, mark);
    p.setPen(QPen(Qt::white, std::max(1.0, size / 32.0)));
    p.setBrush(running ? QColor(0x1E, 0x9E, 0x3A) : QColor(0x70, 0x70, 0x70));
    p.drawEllipse(badge.adjusted(0.5, 0.5, -0.5, -0.5));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    const QPointF c = badge.center();
    const qreal r = mark * 0.22;
    if (running) {
        QPainterPath play;
        play.moveTo(c.x() - r * 0.8, c.y() - r);
        play.lineTo(c.x() + r * 1.1, c.y());
        play.lineTo(c.x() - r * 0.8, c.y() + r);
        play.closeSubpath();
        p.drawPath(play);
    } else {
        p.drawRect(QRectF(c.x() - r * 0.85, c.y() - r * 0.85, r * 1.7, r * 1.7));
    }
    return picture;
}

}  // namespace

QIcon TimerTray::Picture(bool running) {
    QIcon icon;
    for (int size : {16, 22, 32, 48, 64}) icon.addPixmap(Drawn(size, running));
    return icon;
}

TimerTray::TimerTray(QtHost& host, DesktopTimer& timer) : host_(host), timer_(timer) {
    Item(trayMenu_, DesktopText::TimerStart, Act::Start);
    Item(trayMenu_, DesktopText::TimerStop, Act::Stop);
    Item(trayMenu_, DesktopText::TimerDiscard, Act::Discard);
    trayMenu_.addSeparator();
    QObject::connect(trayMenu_.addAction(Q(DesktopText::ShowWindow)), &QAction::triggered, this,
                     [this] { host_.Raise(); });
    QObject::connect(trayMenu_.addAction(Q(DesktopText::Exit)), &QAction::triggered, this,
                     [this] { host_.RequestClose(); });
    // The window's own menu has them too: where the desktop has no tray, they are the way in.
    QMenu& windowMenu = *host_.WindowMenu();
    windowMenu.addSeparator();
    Item(windowMenu, DesktopText::WindowMenuStart, Act::Start);
    Item(windowMenu, DesktopText::WindowMenuStop, Act::Stop);
    Item(windowMenu, DesktopText::WindowMenuDiscard, Act::Discard);
    for (QMenu* menu : {&trayMenu_, &windowMenu}) {
        QObject::connect(menu, &QMenu::aboutToShow, this, [this] { Refresh(); });
    }
    QObject::connect(&tick_, &QTimer::timeout, this, [this] { Refresh(); });
    tick_.setInterval(kTickMilliseconds);
    Refresh();
}

TimerTray::~TimerTray() = default;

QAction* TimerTray::Item(QMenu& menu, DesktopText text, Act act) {
    QAction* action = menu.addAction(Q(text));
    QObject::connect(action, &QAction::triggered, this, [this, act] { Do(act); });
    entries_.push_back({action, act});
    return action;
}

void TimerTray::Do(Act act) {
    // Never a second dialog over one: the item was grey, or a dialog opened since.
    if (attached_ && host_.TakesCommands()) {
        switch (act) {
            case Act::Start:
                timer_.Start();
                break;
            case Act::Stop:
                timer_.Stop();
                break;
            case Act::Discard:
                timer_.Discard();
                break;
        }
    }
    Refresh();
}

void TimerTray::Refresh() {
    const bool running = timer_.Current().has_value();
    const bool idle = attached_ && host_.TakesCommands();
    for (const Entry& e : entries_) {
        e.action->setEnabled(idle && (e.act == Act::Start ? timer_.CanStart() : running));
    }
    const QString title = ToQString(timer_.WindowTitle());
    host_.Window()->setWindowTitle(title);
    if (sayTitles_ && title != saidTitle_) {
        saidTitle_ = title;
        std::fprintf(stderr, "quorvella: window title: %s\n", title.toUtf8().constData());
        std::fflush(stderr);
    }
    if (tray_) {
        tray_->setIcon(Picture(running));
        tray_->setToolTip(ToQString(timer_.Summary()));
    }
}

void TimerTray::Attach(App* app) {
    timer_.Attach(app);
    attached_ = false;
    if (app == nullptr) {
        tick_.stop();
        if (tray_) tray_->hide();
        Refresh();
        return;
    }
    QTimer::singleShot(0, this, [this] { Begin(); });
}

// Once the window runs and waits for the user; while start-up still shows a message, a little
// later.
void TimerTray::Begin() {
    if (!host_.TakesCommands()) {
        if (host_.Main() != nullptr) QTimer::singleShot(200, this, [this] { Begin(); });
        return;
    }
    attached_ = true;
    timer_.Load();
    if (!tray_ && QSystemTrayIcon::isSystemTrayAvailable()) {
        tray_ = std::make_unique<QSystemTrayIcon>();
        tray_->setContextMenu(&trayMenu_);
        QObject::connect(
            tray_.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) {
                    host_.Raise();
                }
            });
    }
    if (tray_) tray_->show();
    tick_.start();
    Refresh();
    // Test hook: the item of the window's menu with this text is chosen, and the title said.
    if (const char* item = std::getenv("QUORVELLA_TEST_WINDOW_ITEM")) {
        for (QAction* action : host_.WindowMenu()->actions()) {
            if (*item != '\0' && action->text() == QString::fromUtf8(item)) action->trigger();
        }
        saidTitle_ = host_.Window()->windowTitle();
        std::fprintf(stderr, "quorvella: window title: %s\n", saidTitle_.toUtf8().constData());
        std::fflush(stderr);
        sayTitles_ = true;
    }
}

void TimerTray::StopLater() {
    QTimer::singleShot(0, this, [this] {
        timer_.Load();
        Do(Act::Stop);
    });
}

}  // namespace qv
