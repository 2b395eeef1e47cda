// Sync in the window: runs of the engine after each local change (one run for a burst of
// them), whenever the shared folder or a journal in it changes, and every minute; the items
// "Sync folder..." and "Stop syncing" in the menu behind the title strip's icon. While a dialog
// or a message box is open nothing arrives (the run waits until it closes). A folder problem or
// a limit reached is told once, until a run goes well again.
#pragma once

#include <QAction>
#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include "app/app.h"
#include "sync/sync_engine.h"

namespace qv {

class QtHost;

class SyncWatch : public QObject {
  public:
    explicit SyncWatch(QtHost& host);

    // The running program, or null once it has ended. Once the window waits for the user,
    // what the run at start found is told and the folder watched.
    void Attach(App* app);
    // The store changed: the engine is told, and a run follows shortly, unless the change was
    // the engine's own.
    void StoreChanged();
    // Sync may have been turned on, off or to another folder: the folder watched anew.
    void FolderMayHaveChanged();

  private:
    void Begin();
    void RunSoon(int milliseconds);
    void RunWhenFree();
    void Tell(const sync::RunResult& result);
    void WatchFolder();
    void ChooseFolder();
    void StopSyncing();
    void RefreshItems();
    bool On() const { return app_ != nullptr && app_->sync && app_->sync->On(); }

    QtHost& host_;
    App* app_ = nullptr;
    bool attached_ = false;
    QFileSystemWatcher watcher_;
    QTimer soon_;
    QTimer minute_;
    QAction* choose_ = nullptr;
    QAction* stop_ = nullptr;
    QString folder_;     // the folder watched
    bool clean_ = true;  // the last run went well and applied everything
    bool toldProblem_ = false;
    bool toldLimit_ = false;
};

}  // namespace qv
