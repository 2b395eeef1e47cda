// Reading for the command line without disturbing the state it reads from: a state of its own
// beside the program's, and the loading of a store that must not be changed.
#pragma once

#include <vector>

#include "store/store_context.h"

namespace qv::cli {

// The items of a list in order, walked over its links so that the list's cursor stays where
// the program left it (a dialog of the window may stand on it).
template <typename T, typename List>
std::vector<T*> ItemsOf(const List& list) {
    std::vector<T*> items;
    for (T* p = list.Last(); p != nullptr; p = p->prev) items.push_back(p);
    return {items.rbegin(), items.rend()};
}

// A state of its own over the same store: the live state's settings, categories, projects and
// main-list sort are copied; its records, report totals, sorts and database handles are its
// own, so the window's list, report orders and handles stay as they are.
class ReadingState {
  public:
    // leaveRecords: the process ends straight after the command, and the operating system takes
    // the records back whole instead of their being freed one by one.
    ReadingState(StoreContext& live, bool leaveRecords);
    ~ReadingState();
    ReadingState(const ReadingState&) = delete;
    ReadingState& operator=(const ReadingState&) = delete;

    // timeRecords := the project's records, in the main list's order; or every record in
    // identifier order. False when the records cannot be read; an empty database is no failure.
    bool LoadProject(uint32_t projectId);
    bool LoadAll();

    AppState state;
    StoreContext ctx;

  private:
    bool leaveRecords_;
};

// Loads settings-independent lists from a store opened for looking: the categories and the
// projects (choosing the current project as start-up does), without making a database that is
// missing. False when a database is there but cannot be read.
bool LoadForLooking(StoreContext& ctx);

}  // namespace qv::cli
