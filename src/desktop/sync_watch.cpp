// Sync in the window: when it runs, what it tells, and its menu items.
#include "desktop/sync_watch.h"

#include <QDir>
#include <QFileDialog>
#include <QMenu>

#include "app/sync_runs.h"
#include "desktop/desktop_texts.h"
#include "platform/qt/qt_host.h"
#include "platform/qt/qt_text.h"

namespace qv {
namespace {

constexpr int kAfterLocalChange = 1000;  // a burst of changes is written out in one run
constexpr int kAfterFolderChange = 500;  // a journal being copied settles first
constexpr int kWhileBusy = 250;          // how often a waiting run looks whether it may go
constexpr int kEveryMinute = 60000;

QString Q(DesktopText text) {
    return ToQString(std::u16string(DesktopString(text)));
}

}  // namespace

SyncWatch::SyncWatch(QtHost& host) : host_(host) {
    soon_.setSingleShot(true);
    QObject::connect(&soon_, &QTimer::timeout, this, [this] { RunWhenFree(); });
    QObject::connect(&minute_, &QTimer::timeout, this, [this] {
        if (On()) RunSoon(0);
    });
    const auto changed = [this] {
        if (On()) RunSoon(kAfterFolderChange);
    };
    QObject::connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, changed);
    QObject::connect(&watcher_, &QFileSystemWatcher::fileChanged, this, changed);

    QMenu& menu = *host_.WindowMenu();
    menu.addSeparator();
    choose_ = menu.addAction(Q(DesktopText::SyncFolderItem));
    stop_ = menu.addAction(Q(DesktopText::SyncStopItem));
    QObject::connect(choose_, &QAction::triggered, this, [this] { ChooseFolder(); });
    QObject::connect(stop_, &QAction::triggered, this, [this] { StopSyncing(); });
    QObject::connect(&menu, &QMenu::aboutToShow, this, [this] { RefreshItems(); });
    RefreshItems();
}

void SyncWatch::Attach(App* app) {
    app_ = app;
    attached_ = false;
    soon_.stop();
    minute_.stop();
    if (app == nullptr) {
        RefreshItems();
        return;
    }
    QTimer::singleShot(0, this, [this] { Begin(); });
}

// Once the window runs and waits for the user; while start-up still shows a message, a little
// later.
void SyncWatch::Begin() {
    if (app_ == nullptr) return;
    if (!host_.TakesCommands()) {
        if (host_.Main() != nullptr) QTimer::singleShot(200, this, [this] { Begin(); });
        return;
    }
    attached_ = true;
    minute_.start(kEveryMinute);
    WatchFolder();
    RefreshItems();
    Tell(app_->syncAtStart);
}

void SyncWatch::StoreChanged() {
    if (app_ == nullptr || app_->syncing || !app_->sync) return;
    app_->sync->LocalChange();
    if (On() && !soon_.isActive()) RunSoon(kAfterLocalChange);
}

void SyncWatch::FolderMayHaveChanged() {
    if (attached_) WatchFolder();
}

void SyncWatch::RunSoon(int milliseconds) {
    if (!soon_.isActive() || soon_.remainingTime() > milliseconds) soon_.start(milliseconds);
}

// Nothing arrives under an open dialog or message box: the run waits until it has closed.
void SyncWatch::RunWhenFree() {
    if (!attached_ || !On()) return;
    if (!host_.TakesCommands()) {
        soon_.start(kWhileBusy);
        return;
    }
    // This computer's own appends wake the watch too: they leave nothing to do.
    if (clean_ && QDir(folder_).exists() && app_->sync->NothingNew()) return;
    Tell(RunSync(*app_));
    WatchFolder();
}

void SyncWatch::Tell(const sync::RunResult& result) {
    clean_ = result.ok && !result.limitReached;
    if (result.ok) toldProblem_ = false;
    if (!result.limitReached) toldLimit_ = false;
    const auto box = [this](const std::u16string& text) {
        host_.MessageBox(text, std::u16string(DesktopString(DesktopText::Caption)),
                         MB_OK | MB_ICONEXCLAMATION);
    };
    if (!result.ok && !toldProblem_) {
        toldProblem_ = true;
        box(Say(DesktopText::SyncProblem, {FromUtf8(result.problem)}));
    } else if (result.limitReached && !toldLimit_) {
        toldLimit_ = true;
        box(Say(DesktopText::SyncLimit, {FormatDecimal(static_cast<int64_t>(result.waiting))}));
    }
}

// The folder (a new journal) and every journal in it (one grown or replaced).
void SyncWatch::WatchFolder() {
    if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
    if (!On()) return;
    folder_ = QString::fromStdString(app_->sync->GetStatus().folder.string());
    if (!QDir(folder_).exists()) return;
    watcher_.addPath(folder_);
    const QStringList journals =
        QDir(folder_).entryList({QStringLiteral("quorvella-*.journal")}, QDir::Files);
    for (const QString& name : journals) watcher_.addPath(QDir(folder_).filePath(name));
}

void SyncWatch::ChooseFolder() {
    if (!attached_ || !host_.TakesCommands()) return;
    const QString start =
        On() ? QString::fromStdString(app_->sync->GetStatus().folder.string()) : QDir::homePath();
    const QString chosen =
        QFileDialog::getExistingDirectory(host_.Window(), Q(DesktopText::SyncChooseFolder), start);
    if (chosen.isEmpty() || app_ == nullptr || !host_.TakesCommands()) return;
    const sync::RunResult result = TurnSyncOn(*app_, chosen.toStdString());
    if (!On()) {
        host_.MessageBox(Say(DesktopText::SyncNotOn, {FromUtf8(result.problem)}),
                         std::u16string(DesktopString(DesktopText::Caption)),
                         MB_OK | MB_ICONEXCLAMATION);
    } else {
        Tell(result);
    }
    WatchFolder();
    RefreshItems();
}

void SyncWatch::StopSyncing() {
    if (!attached_ || !host_.TakesCommands() || !app_->sync) return;
    app_->sync->TurnOff();
    WatchFolder();
    RefreshItems();
}

void SyncWatch::RefreshItems() {
    const bool idle = attached_ && host_.TakesCommands();
    choose_->setEnabled(idle);
    stop_->setEnabled(idle && On());
}

}  // namespace qv
