// One time book on several computers. Each computer appends its own changes to its own journal
// in a folder that a file-copying tool (Syncthing, a cloud folder, a USB stick) keeps in step,
// and reads every other computer's journal from where it stopped. A file is only ever written by
// the computer it belongs to, so copying can never put two writers in conflict, and the merge
// rule (per record, project or category: the change with the later Lamport clock wins, ties to
// the greater computer identity; a deletion is a change like any other) ends in the same book on
// every computer whatever order the journals arrive in.
//
// Everything the engine keeps for itself (this computer's identity, the folder, the clock, the
// global identity of each record, the positions reached in other journals) is kept in the
// store's own table beside the handheld's databases, in the same transactions as the records,
// and stays on this computer. Settings are never synchronised.
//
// How to use the Engine:
//   - Make one over the program's StoreContext once the store is open (OpenStore done); it
//     reads whether sync is on from the store. One engine per open store.
//   - `quorvella sync --folder DIR` calls TurnOn(DIR); `--off` calls TurnOff(); `--now` and
//     every start call Run(). Show RunResult::problem when !ok, and tell the user when
//     limitReached is set (the rest waits in the journals).
//   - After every change the program makes to the store (a booking, an edit, a batch, an undo),
//     call LocalChange(), then Run() when convenient (at once, or at exit, or on the timer).
//   - While running, on a file-system change in the folder or once a minute, call Run() unless
//     NothingNew() (cheap: a directory listing and a stat per journal). Do not run while a
//     dialog is open; run when it closes.
//   - When a RunResult's BookChanged(), load the lists again (projects, categories, records,
//     balance): the engine wrote the store through the store layer and may have changed the
//     state's project and category lists and its kept database handles.
//   - The engine changes nothing and returns ok for a Run while sync is off.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/calendar.h"
#include "store/store_context.h"

namespace qv::sync {

// What one run did.
struct RunResult {
    bool ok = true;       // false: the folder or the store could not be used (`problem` says why)
    std::string problem;  // one line, for the user
    size_t written = 0;   // this computer's changes appended to its journal
    size_t applied = 0;   // other computers' changes that changed this store
    size_t waiting = 0;   // other computers' changes read but left waiting (a limit was reached)
    // Applying stopped because the next change would pass the 65,535 records of a database or
    // the 15 projects; the rest waits in the journals and is tried again on the next run.
    bool limitReached = false;
    // The state's project or category list was used to apply changes, also by a batch that
    // was then undone, and may differ from the store.
    bool listsTouched = false;
    // Whether the records, projects or categories in the store or in the state's lists changed:
    // whoever shows them reads them again. A run that stopped with a problem keeps what it did
    // before, so this holds for it too.
    bool BookChanged() const { return applied > 0 || listsTouched; }
};

// One computer whose journal is in the folder.
struct ComputerSeen {
    std::string id;                   // 32 lower-case hex digits
    bool self = false;                // this computer
    std::optional<int64_t> lastSeen;  // seconds since 1970 (UTC) of its newest change read
    uint64_t changes = 0;             // changes read from its journal so far
    uint64_t waiting = 0;             // complete changes in its journal not applied yet
};

struct Status {
    bool on = false;
    std::filesystem::path folder;
    std::string computer;  // this computer's identity; empty until sync was first turned on
    std::vector<ComputerSeen> computers;
    uint64_t unwritten = 0;  // this computer's changes not yet in its journal
};

class Engine {
  public:
    // ctx: the program's state and its store, opened as the program opens it. The engine writes
    // the store through ctx; after a run that changed the book, the caller loads its lists again.
    explicit Engine(StoreContext& ctx);
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    bool On() const;
    // Told after a change made to the store outside the engine (a booking, an edit, a batch):
    // the next run looks for what changed. A new engine looks once anyway.
    void LocalChange();
    // Names the folder (made when absent), gives this computer its random identity the first
    // time, and writes the whole book to the journal the first time, then runs once.
    RunResult TurnOn(const std::filesystem::path& folder);
    // Stops writing and reading; the journals, identity and positions are kept, so turning it on
    // again with the same folder goes on where it stopped.
    bool TurnOff();
    // Writes out this computer's changes since the last run, then applies what waits in the
    // other journals, one store transaction per batch.
    RunResult Run();
    // Cheap: whether a run would find nothing to do (no local change since the last run, no
    // journal grown since it was read).
    bool NothingNew();
    Status GetStatus();

  private:
    struct Impl;
    Impl* impl_;
};

}  // namespace qv::sync
