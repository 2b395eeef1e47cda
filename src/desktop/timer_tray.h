// The desktop timer where a desktop user looks: the window's title, the items of the menu
// behind the title strip's icon, and, where the desktop has a tray, a tray icon whose picture
// says whether a timer runs, whose tip says what it runs for, and whose menu starts and stops
// it. Start, Stop and Discard are grey while a dialog or a message is open in the window.
#pragma once

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QTimer>
#include <memory>

#include "desktop/desktop_texts.h"
#include "desktop/desktop_timer.h"

class QSystemTrayIcon;

namespace qv {

class QtHost;

class TimerTray : public QObject {
  public:
    TimerTray(QtHost& host, DesktopTimer& timer);
    ~TimerTray() override;

    // The running program, or null once it has ended. Once the window waits for the user the
    // timer is read (a damaged file said), and the tray icon shows where there is a tray.
    void Attach(App* app);

    // Shows title, pictures, tips and which items may be chosen as they are now.
    void Refresh();
    // Stop as its item does, once the window's events run again (the timer read anew first).
    void StopLater();

    QMenu& TrayMenu() { return trayMenu_; }
    // The tray's picture of a running or a stopped timer.
    static QIcon Picture(bool running);

  private:
    enum class Act { Start, Stop, Discard };
    QAction* Item(QMenu& menu, DesktopText text, Act act);
    void Do(Act act);
    void Begin();

    QtHost& host_;
    DesktopTimer& timer_;
    QMenu trayMenu_;
    std::unique_ptr<QSystemTrayIcon> tray_;
    QTimer tick_;
    struct Entry {
        QAction* action;
        Act act;
    };
    std::vector<Entry> entries_;
    bool attached_ = false;
    bool sayTitles_ = false;  // the test hook says each new title
    QString saidTitle_;
};

}  // namespace qv
