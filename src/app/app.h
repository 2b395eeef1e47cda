// One run of the program: its services, its state and the dialogs its commands open.
#pragma once

#include <functional>
#include <string>

#include "core/app_state.h"
#include "core/registry_access.h"
#include "platform/files/device_files.h"
#include "platform/objectstore/object_store.h"
#include "platform/ui/ui_host.h"
#include "store/store_context.h"

namespace qv {

// The single-instance rule: finds a running instance by window class and title and brings it
// to the front.
class InstanceCheck {
public:
    virtual ~InstanceCheck() = default;
    virtual bool RaiseRunningInstance(const std::u16string& className,
                                      const std::u16string& title) = 0;
};

// What the program runs on.
struct ProgramServices {
    UiHost& host;
    RegistryAccess& registry;
    ObjectStore& store;
    DeviceFiles& files;
    InstanceCheck& instances;
};

struct App;

// The dialogs behind the commands; each returns the dialog's result. A command whose dialog
// is not there opens nothing.
struct CommandDialogs {
    using Runner = std::function<int(App&)>;
    Runner registerTime;          // template 108 on scratchRecord
    Runner newProject;            // the project creation flow, with its limit check
    Runner newProjectFirst;       // the same from New Time without any project: no limit check
    Runner projectsBook;          // template 132
    Runner projectsBalance;       // template 133
    Runner timeReport;            // template 127
    Runner editCategoriesLoop;    // templates 124, 125, 126 until Done
    Runner deleteByRange;         // template 129
    Runner exportTimeRecords;     // template 1070
    Runner viewOptions;           // template 1120
    std::function<void(App&)> undoDeleting;
    std::function<void(App&)> emptyUndo;
    // After Register Time: what the main window does with the dialog's result.
    std::function<void(App&, int result)> afterEditingRecord;
};

class MainWindow;

struct App {
    explicit App(ProgramServices& services)
        : services(services),
          host(services.host),
          store{state, services.store, services.host, services.host.GetClock()} {}

    ProgramServices& services;
    UiHost& host;
    AppState state;
    StoreContext store;
    std::u16string className;
    std::u16string title;
    std::u16string company;
    Dialog* activeEntryDialog = nullptr;  // the open dialog with text entry, if any
    MainWindow* mainWindow = nullptr;
    CommandDialogs dialogs;
};

// The program's entry: start-up, the message loop, exit. Returns the exit code.
int QuorvellaMain(ProgramServices& services);

// Puts the program's dialogs behind their commands.
void WireCommandDialogs(App& app);

}  // namespace qv
