// The command line's subcommands over the program's state and store. The same execution serves
// the command line on its own (the store it opened under the data folder's lock) and the
// running window (its own state and store), so both leave the same result.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/time_record.h"
#include "platform/files/device_files.h"
#include "store/store_context.h"
#include "sync/sync_engine.h"

namespace qv::cli {

enum Status : int { kDone = 0, kRefused = 1, kUsageError = 2 };

// What a command answers: its exit status and what it writes on standard output and error.
struct Answer {
    int status = kDone;
    std::string out;
    std::string err;
};

struct Subcommand;

// A command line read against the subcommand table, before anything is opened.
struct Request {
    const Subcommand* command = nullptr;
    std::string kind;                           // report's and export's first word
    std::map<std::string, std::string> values;  // option -> value ("" for a switch)
    bool Has(const std::string& option) const { return values.contains(option); }
    const std::string* Value(const std::string& option) const {
        auto it = values.find(option);
        return it == values.end() ? nullptr : &it->second;
    }
    // Whether it is the subcommand of that name.
    bool Is(std::string_view name) const;
};

// Where a command runs.
struct Session {
    StoreContext& live;  // the program's state (settings, categories, projects, current
                         // project, the main list's sort) and its store
    DeviceFiles& files;  // where exports go
    // The context a change is written through, or null with the reason in `why`: a dialog is
    // open in the window, or the store cannot be opened for writing.
    std::function<StoreContext*(std::string& why)> beginChange;
    // A record was stored under its new identifier: the window lists it.
    std::function<void(const TimeRecord&)> recordAdded;
    // The process ends straight after the command: the records it read are left to it.
    bool processEnds = false;
    // Why changes are refused now (a dialog is open in the window); empty while they are not.
    std::string_view refuseChanges = {};
    // The timer's file changed: the window reads it again and shows it at once.
    std::function<void()> timerChanged = {};
    // The window opens Register Time filled with the running timer's proposal, once its events
    // run again; null without a window.
    std::function<void()> openStopDialog = {};
    // The sync engine over the store `sync` works on, or null with the reason in `why`.
    std::function<sync::Engine*(std::string& why)> syncEngine = {};
    // A sync run of the command changed the book: the window shows it.
    std::function<void()> syncApplied = {};
};

// Whether an argument names a subcommand (then the program runs no window).
bool IsSubcommand(std::string_view word);

// Reads the arguments from the subcommand on. A usage error or a help request is answered at
// once, without the store.
std::variant<Request, Answer> ReadCommandLine(const std::vector<std::string>& args);

// What a sync run has to tell on standard error: the folder's problem, or the changes left
// waiting at a limit; empty when it went well.
std::string SyncNotes(const sync::RunResult& result);

// Runs a request on the session: refused requests change nothing.
Answer Execute(Session& session, const Request& request);

}  // namespace qv::cli
