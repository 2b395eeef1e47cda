// Replaying under the desktop host: the program runs with its real widgets, offscreen, and every
// script action reaches it as the mouse and keyboard events a person's hands would make.
#include <sys/wait.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <cstdlib>
#include <iostream>

#include "app/app.h"
#include "app/program_resources.h"
#include "platform/files/device_files.h"
#include "platform/qt/qt_host.h"
#include "platform/qt/qt_text.h"
#include "platform/registry/registry_hive.h"
#include "platform/ui/user_input.h"
#include "tools/replay/replay.h"
#include "tools/replay/running.h"
#include "tools/replay/transcript.h"

namespace qv::replay {
namespace {

// What the child tells the script's process when the program has ended.
struct ChildReport {
    size_t next = 0;
    bool failed = false;
    Size screen;
    CalendarDate clock;
};

void Settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

void Press(QWidget* w, QPoint at = QPoint()) {
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, at.isNull() ? w->rect().center() : at);
    Settle();
}

// The row's middle in a list view or list box, scrolled into view first.
QPoint RowPoint(QAbstractItemView* view, int row) {
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    Settle();
    return view->visualRect(index).center();
}

}  // namespace

bool Replay::StartQt() {
    DeviceFolders folders = DeviceFolders::UnderRoot(root_);
    if (!folders.Provision() || !ProvisionHelpFiles(folders.WindowsDir())) {
        Fail(current_ + ": the device folder cannot be made");
        return false;
    }
    out_.flush();
    int fds[2];
    if (pipe(fds) != 0) {
        Fail(current_ + ": the program cannot be started");
        return false;
    }
    const pid_t child = fork();
    if (child < 0) {
        close(fds[0]);
        close(fds[1]);
        Fail(current_ + ": the program cannot be started");
        return false;
    }
    if (child == 0) {
        close(fds[0]);
        reportFd_ = fds[1];
        RunQtChild();
        EndQtChild();
    }
    close(fds[1]);
    ChildReport report;
    size_t got = 0;
    auto* bytes = reinterpret_cast<char*>(&report);
    while (got < sizeof report) {
        const ssize_t n = read(fds[0], bytes + got, sizeof report - got);
        if (n <= 0) break;
        got += static_cast<size_t>(n);
    }
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (got != sizeof report && WIFEXITED(status) && WEXITSTATUS(status) == kCrashStatus) {
        // The program crashed at the armed store call: the whole run ends with it.
        out_.flush();
        _exit(kCrashStatus);
    }
    if (got != sizeof report) {
        Fail(current_ + ": the program ended without a word");
        return false;
    }
    next_ = report.next;
    screen_ = report.screen;
    clock_.Set(report.clock);
    questionOpen_ = false;
    if (report.failed) failed_ = true;
    return !failed_;
}

void Replay::EndQtChild() {
    ChildReport report;
    report.next = next_;
    report.failed = failed_;
    report.screen = qtHost_ != nullptr ? qtHost_->ScreenSize() : screen_;
    report.clock = clock_.GetSystemTime();
    out_.flush();
    std::cout.flush();
    [[maybe_unused]] const ssize_t n = write(reportFd_, &report, sizeof report);
    close(reportFd_);
    // A power cut: nothing more of the program runs, not even its destructors.
    _exit(0);
}

void Replay::RunQtChild() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "quorvella-replay";
    static char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    auto lock = LockDevice();
    if (lock == nullptr) return;
    running_ = std::make_unique<Running>(root_, std::move(lock), instanceRunning_, storeVfs_);
    QtHost host(ProgramResources(), clock_, 1, {});
    qtHost_ = &host;
    host.SetScreenSize(screen_);
    host.SetEventSink([this](const HostEvent& e) { Event(EventLine(e)); });
    host.SetScriptedStep([this, &host] { StepQt(host); });
    host.SetScriptedAnswer(
        [this, &host](QWidget* box, bool question) { AnswerQt(host, box, question); });
    killed_ = false;
    questionOpen_ = false;
    ProgramServices services{host, running_->hive, *running_->store, running_->files,
                             running_->instances};
    const int code = QuorvellaMain(services);
    screen_ = host.ScreenSize();
    qtHost_ = nullptr;          // the host goes with this scope
    running_->lock->Release();  // the program's end lets go of its data folder
    if (!failed_) Print("exit " + std::to_string(code));
}

void Replay::StepQt(QtHost& host) {
    std::optional<UserAction> action = NextAction();
    if (!action || action->kind == UserAction::Kind::Kill) {
        if (killed_) Print("exit -9");
        EndQtChild();
    }
    DriveQt(host, *action);
}

void Replay::AnswerQt(QtHost& host, QWidget* widget, bool question) {
    auto* box = static_cast<QMessageBox*>(widget);
    // The program takes the wait cursor away before it says anything.
    if (host.WaitCursor()) Fail("a message box came while the wait cursor was on");
    if (!question) {
        Press(box->button(QMessageBox::Ok));
        return;
    }
    for (;;) {
        std::optional<UserAction> a = NextAction();
        if (!a || a->kind == UserAction::Kind::Kill) {
            if (killed_) Print("exit -9");
            EndQtChild();
        }
        if (a->kind == UserAction::Kind::Answer) {
            Press(box->button(a->yes ? QMessageBox::Yes : QMessageBox::No));
            return;
        }
        Fail(DescribeAction(*a) + ": the question needs an answer yes or no");
    }
}

void Replay::DriveQt(QtHost& host, const UserAction& a) {
    using K = UserAction::Kind;
    auto refuse = [&](const std::string& why) { Fail(DescribeAction(a) + ": " + why); };
    MainFrame* main = host.Main();
    Settle();
    switch (a.kind) {
        case K::Answer:
            return refuse("no question is open");
        case K::Screen:
            host.SetScreenSize(a.screen);
            return;
        case K::Close:
            if (main == nullptr || main->IsDestroyed())
                return refuse("the main window is not open");
            host.Window()->close();  // the window's close button
            return;
        case K::Help:
            // A person presses F1 in the program's window; a message box that just closed may
            // have left no window active, and the shortcut only reaches an active one.
            host.Window()->activateWindow();
            Settle();
            QTest::keyClick(host.Window(), Qt::Key_F1);
            Settle();
            return;
        case K::Command: {
            if (host.TopDialog() != nullptr) return refuse("a dialog is open");
            if (main == nullptr || main->IsDestroyed())
                return refuse("the main window is not open");
            if (input::Refusal why = input::CanCommand(*main, a.id)) return refuse(*why);
            const QString name = QString::number(a.id);
            if (auto* button = host.MenuBarWidget()->findChild<QToolButton*>(name)) {
                if (button->menu() == nullptr) return Press(button);
            }
            // A menu item: open its menu from the menu bar and tap the item.
            for (QMenu* menu : host.MenuBarWidget()->findChildren<QMenu*>()) {
                for (QAction* item : menu->actions()) {
                    if (item->objectName() != name) continue;
                    menu->popup(host.Window()->mapToGlobal(QPoint(0, 0)));
                    Settle();
                    Press(menu, menu->actionGeometry(item).center());
                    return;
                }
            }
            return refuse("missing");
        }
        default:
            break;
    }
    if (a.kind == K::Project && host.TopDialog() != nullptr) return refuse("a dialog is open");
    Dialog* d = a.kind == K::Project ? (main ? main->Child() : nullptr) : host.TopWindow();
    if (d == nullptr) return refuse(a.kind == K::Project ? "missing" : "no window is open");
    QWidget* w = host.WidgetOf(a.id);
    switch (a.kind) {
        case K::Click: {
            if (input::Refusal why = input::CanClick(*d, a.id)) return refuse(*why);
            if (a.id == IDOK && input::HasShellDone(*d)) return Press(host.DoneButton());
            return Press(w);
        }
        case K::Check:
        case K::Uncheck: {
            const bool want = a.kind == K::Check;
            if (input::Refusal why = input::CanCheck(*d, a.id, want)) return refuse(*why);
            if (d->IsChecked(a.id) == want) return;
            return Press(w);
        }
        case K::Type: {
            if (input::Refusal why = input::CanType(*d, a.id)) return refuse(*why);
            auto* edit = static_cast<QLineEdit*>(w);
            Press(edit);
            const QString text = ToQString(a.text).left(edit->maxLength());
            if (edit->text() == text) {
                input::Type(*d, a.id, a.text);  // typing the same text again
            } else {
                edit->selectAll();
                edit->insert(text);  // as pasted: one change for the whole text
            }
            Settle();
            return;
        }
        case K::Choose:
        case K::Project: {
            if (input::Refusal why = input::CanChoose(*d, a.id, a.text)) return refuse(*why);
            const ControlState& c = *d->Find(a.id);
            const int index = static_cast<int>(
                std::find(c.entries.begin(), c.entries.end(), a.text) - c.entries.begin());
            if (auto* list = qobject_cast<QListWidget*>(w))
                return Press(list->viewport(), RowPoint(list, index));
            auto* combo = static_cast<QComboBox*>(w);
            Press(combo);  // opens the list
            QAbstractItemView* view = combo->view();
            if (view->isVisible()) {
                // In the opened list: move to the entry and take it with Enter.
                view->setCurrentIndex(view->model()->index(index, 0));
                QTest::keyClick(view, Qt::Key_Return);
            }
            Settle();
            return;
        }
        case K::Date: {
            if (input::Refusal why = input::CanPickDate(*d, a.id)) return refuse(*why);
            auto* edit = static_cast<QDateEdit*>(w);
            const QDate value =
                a.date ? QDate(a.date->year, a.date->month, a.date->day) : edit->minimumDate();
            if (edit->date() == value) {
                input::PickDate(*d, a.id, a.date);  // the same date picked again
            } else {
                edit->setDate(value);  // as the calendar sets it
            }
            Settle();
            return;
        }
        case K::Tap:
        case K::Enter: {
            const bool enter = a.kind == K::Enter;
            if (input::Refusal why = input::CanActOnRow(*d, a.id, a.index, enter)) {
                return refuse(*why);
            }
            auto* view = static_cast<QAbstractItemView*>(w);
            if (!enter) return Press(view->viewport(), RowPoint(view, a.index));
            view->setCurrentIndex(view->model()->index(a.index, 0));
            QTest::keyClick(view, Qt::Key_Return);
            Settle();
            return;
        }
        case K::Header: {
            if (input::Refusal why = input::CanTapHeader(*d, a.id, a.index)) return refuse(*why);
            QHeaderView* header = static_cast<QTreeView*>(w)->header();
            const int x =
                header->sectionViewportPosition(a.index) + header->sectionSize(a.index) / 2;
            return Press(header->viewport(), QPoint(x, header->height() / 2));
        }
        default:
            return refuse("not an action on a window");
    }
}

}  // namespace qv::replay
