// One run of the program: its services and its state.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/app_state.h"
#include "core/registry_access.h"
#include "platform/files/device_files.h"
#include "platform/objectstore/object_store.h"
#include "platform/ui/instance_check.h"
#include "platform/ui/ui_host.h"
#include "store/store_context.h"
#include "sync/sync_engine.h"

namespace qv {

// What the program runs on.
struct ProgramServices {
    UiHost& host;
    RegistryAccess& registry;
    ObjectStore& store;
    DeviceFiles& files;
    InstanceCheck& instances;
};

class MainWindow;

struct App {
    explicit App(ProgramServices& services)
        : services(services),
          host(services.host),
          store{state, services.store, services.host.GetClock()} {}

    ProgramServices& services;
    UiHost& host;
    AppState state;
    StoreContext store;
    std::u16string className;
    std::u16string title;
    std::u16string company;
    Dialog* activeEntryDialog = nullptr;  // the open dialog with text entry, if any
    MainWindow* mainWindow = nullptr;
    // Told after View Options changed how dates and durations show.
    std::function<void()> onViewsChanged;
    // Sync with other computers: the engine over the store once it is open (sync on or off),
    // whether one of its runs is under way (the store's changes are then its own), and what
    // the run at start found, for the window to tell once it shows.
    std::shared_ptr<sync::Engine> sync;
    bool syncing = false;
    sync::RunResult syncAtStart;
};

// How a run ends. Tidy hands every record and list back before QuorvellaMain returns;
// ProcessEnds, for a caller that ends the process straight after, leaves that memory to the
// operating system, which takes it back whole, instead of freeing tens of thousands of records
// one by one. Both end only after the exit steps have saved what is kept.
enum class ProgramEnd { Tidy, ProcessEnds };

// Told of the running program just before its main window runs, and of null once the window
// has gone: the desktop's additions around the handheld's screens act on it in between.
using ProgramWatch = std::function<void(App*)>;

// The program's entry: start-up, the message loop, exit. Returns the exit code.
int QuorvellaMain(ProgramServices& services, ProgramEnd end = ProgramEnd::Tidy,
                  const ProgramWatch& watch = {});

}  // namespace qv
