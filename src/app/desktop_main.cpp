// quorvella: the desktop program. The handheld's screen in a window, the program's data in the
// user's data folder, one instance per data folder.
#include <QApplication>
#include <QScreen>
#include <filesystem>
#include <iostream>

#include "app/app.h"
#include "app/program_resources.h"
#include "app/window_commands.h"
#include "cli/cli_commands.h"
#include "cli/cli_texts.h"
#include "desktop/desktop_keys.h"
#include "desktop/notices.h"
#include "desktop/overview_window.h"
#include "desktop/sync_watch.h"
#include "desktop/timer_tray.h"
#include "desktop/watched_store.h"
#include "platform/files/data_folder_lock.h"
#include "platform/files/device_files.h"
#include "platform/files/instance_socket.h"
#include "platform/files/system_clock.h"
#include "platform/objectstore/object_store.h"
#include "platform/qt/chime_player.h"
#include "platform/qt/close_requests.h"
#include "platform/qt/command_line.h"
#include "platform/qt/display_check.h"
#include "platform/qt/help_launcher.h"
#include "platform/qt/instance_check.h"
#include "platform/qt/qt_host.h"
#include "platform/registry/registry_hive.h"

namespace {
// What a second start with --overview hands to the running window.
constexpr char kOverviewRequest[] = "--overview";
}  // namespace

int main(int argc, char** argv) {
    using namespace qv;
    const CommandLine line = ParseCommandLine(argc, argv);
    if (line.action == CommandLine::Action::ShowHelp) {
        std::cout << HelpText() << cli::SubcommandsHelp() << std::flush;
        return std::cout ? 0 : 1;
    }
    if (std::optional<int> code = AnswerCommandLine(line, std::cout, std::cerr)) return *code;
    std::string why;
    if (!DisplayReachable(why)) {
        std::cerr << "quorvella: " << why << "\n";
        return 1;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvella"));
    QApplication::setQuitOnLastWindowClosed(false);

    const DeviceFolders folders = DeviceFolders::ForUser();
    SystemClock clock;
    const Resources& resources = ProgramResources();
    ChimePlayer chime(resources);
    int zoom = line.zoom;
    if (zoom == 0) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        zoom = DefaultZoom(screen != nullptr ? screen->availableGeometry().height() : 480);
    }
    const auto restorePages = [&folders] { ProvisionHelpFiles(folders.WindowsDir()); };
    QtHost host(resources, clock, zoom,
                {[&](std::u16string_view command) { OpenHelp(command, folders, restorePages); },
                 [&chime](std::u16string_view name) { chime.Play(name); }});
    host.SetKeyboard(DesktopCommandKeys(), DesktopEscapeControls());
    // A signal or the end of the session: nobody is there to read a last message.
    bool closedFromOutside = false;
    CloseRequests closes;
    closes.onCloseRequest = [&host, &closedFromOutside] {
        closedFromOutside = true;
        host.RequestClose();
    };

    // The data folder is this program's alone before anything in it is read or written.
    std::error_code made;
    std::filesystem::create_directories(folders.dataDir, made);
    DataFolderLock lock(folders.dataDir);
    QtInstanceCheck instances(folders.dataDir);
    if (lock.GetState() == DataFolderLock::State::HeldElsewhere) {
        if (line.overview && AskRunningToRun(instances.SocketName(), {kOverviewRequest}, 10)) {
            return 0;
        }
        if (instances.AskRunningToRaise()) return 0;
        TellAlreadyRunning(host, folders.dataDir);
        return 0;
    }
    if (lock.GetState() == DataFolderLock::State::Unavailable) {
        std::cerr << "quorvella: cannot lock the data folder: " << lock.Path().string() << ": "
                  << lock.Reason() << "\n";
    }

    if (!folders.Provision() || !ProvisionHelpFiles(folders.WindowsDir())) {
        std::cerr << "quorvella: cannot make the data folder " << folders.dataDir.string() << "\n";
    }
    RegistryHive hive(folders.HiveFile());
    DeviceFiles files(folders);
    std::unique_ptr<ObjectStore> store = OpenObjectStoreFile(folders.StoreFile());
    if (store == nullptr) store = MakeUnavailableObjectStore();  // start-up says so
    instances.onRaise = [&host] { host.Raise(); };
    App* running = nullptr;  // the run commands handed over by later starts work on

    // Every change to the store is told to the overview, which reads again when it is open.
    WatchedStore watched(*store, kTimeDatabaseName);
    ProgramServices services{host, hive, watched, files, instances};
    OverviewWindow overview(host);
    // The timer lives beside the handheld's screens: the window's title, its menu, the tray.
    DesktopTimer timer(host, clock, folders.dataDir);
    TimerTray tray(host, timer);
    overview.AddWaysIn(tray.TrayMenu());
    // Sync runs after local changes, when the shared folder changes and every minute.
    SyncWatch syncWatch(host);
    watched.onChange = [&overview, &syncWatch] {
        overview.ChangeSoon();
        syncWatch.StoreChanged();
    };
    watched.onRecordAdded = [&overview, &syncWatch](const std::vector<PropValue>& props) {
        overview.RecordAdded(props);
        syncWatch.StoreChanged();
    };
    // The timer's commands show at once; a stop without a flag opens Register Time once the
    // command is answered.
    const WindowTimer windowTimer{[&] {
                                      timer.Load();
                                      tray.Refresh();
                                  },
                                  [&] { tray.StopLater(); }};
    instances.onCommand = [&](const std::vector<std::string>& args) {
        if (args.size() == 1 && args[0] == kOverviewRequest) {
            host.Raise();
            overview.OpenAsked();
            return InstanceAnswer{};
        }
        cli::Answer a = RunInWindow(running, host.InTheMiddle(), args, windowTimer);
        if (!args.empty() && args[0] == "sync") syncWatch.FolderMayHaveChanged();
        return InstanceAnswer{a.status, std::move(a.out), std::move(a.err)};
    };
    const int code = QuorvellaMain(services, ProgramEnd::ProcessEnds, [&](App* app) {
        tray.Attach(app);
        overview.Attach(app);
        syncWatch.Attach(app);
        if (app != nullptr) app->onViewsChanged = [&overview] { overview.ChangeSoon(); };
        if (app != nullptr && line.overview) overview.OpenWhenReady();
        running = app;
    });
    // Settings the exit could not keep are told to the user before the program goes.
    if (!hive.LastSaveFailure().empty() && !closedFromOutside) {
        TellUnsavedSettings(host, folders.HiveFile(), hive.LastSaveFailure());
    }
    return code;
}
