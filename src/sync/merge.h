// Applying other computers' changes to the store. A change is applied when it beats the
// ledger's last change of its record, project or category (the later clock, ties to the greater
// computer); it is then written through the store layer and into the ledger. A project is kept
// while its last change is a put or a present record names it, and goes when neither holds.
#pragma once

#include <cstdint>
#include <unordered_map>

#include "store/store_context.h"
#include "sync/book.h"
#include "sync/journal_line.h"
#include "sync/ledger.h"

namespace qv::sync {

inline constexpr size_t kMaxProjects = 15;

enum class Outcome {
    Changed,  // the store changed
    Noted,    // only the ledger changed (the change lost, or it changes nothing here)
    Limit,    // applying it would pass the records or projects the store may hold; untouched
    Failed,   // the store refused a write; the caller undoes the batch
};

class Merge {
  public:
    // book: the store as read at the start of the run; kept up to date as changes are applied.
    Merge(StoreContext& ctx, Ledger& ledger, Book& book);
    ~Merge();
    Merge(const Merge&) = delete;
    Merge& operator=(const Merge&) = delete;

    Outcome Apply(const Change& change);
    // Lets projects pass the limit for a while (a project renamed at the limit is put under its
    // new name before the old one goes); the caller undoes a batch that ends past it.
    void LetProjectsPass(bool pass) { projectLimit_ = pass ? SIZE_MAX : kMaxProjects; }
    size_t Projects() const { return projectIds_.size(); }
    // A project left with neither a put as its last change nor a present record naming it goes.
    Outcome DropIfUnused(const std::string& project);
    // Saves the category list when it changed: the names whose last change is a put, in the
    // order of those puts.
    bool Finish();
    // Whether the state's project or category list was changed or rebuilt, committed or not.
    bool TouchedLists() const { return projectsReady_ || listsWritten_; }

  private:
    Outcome PutRecord(const Change& c, const Stamp& stamp);
    Outcome DeleteRecord(const Change& c, const Stamp& stamp);
    Outcome PutProject(const Change& c, const Stamp& stamp);
    Outcome DeleteProject(const Change& c, const Stamp& stamp);
    Outcome SetCategory(const Change& c, const Stamp& stamp, bool put);
    // The local project of the name, made (with the content of its latest put) when absent.
    Outcome EnsureProject(const std::string& name, const CalendarDate& fallback, uint32_t& id);
    bool ReadyProjects();
    bool ReadyRecords();
    void CloseRecords();

    StoreContext& ctx_;
    Ledger& ledger_;
    Book& book_;
    std::unordered_map<std::string, uint32_t> projectIds_;
    bool projectsReady_ = false;
    bool recordsReady_ = false;
    bool categoriesChanged_ = false;
    bool listsWritten_ = false;
    size_t projectLimit_ = kMaxProjects;
    StoreHandle records_ = kInvalidStoreHandle;  // for finding a new record's object
};

}  // namespace qv::sync
