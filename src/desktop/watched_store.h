// The program's store with a word after each change: every booking, edit, deletion, undo and
// batch of the window, the command line handed to it and the timer passes through it, so
// whatever shows the records can follow them without asking again and again.
#pragma once

#include <functional>
#include <utility>

#include "platform/objectstore/object_store.h"

namespace qv {

class WatchedStore : public ObjectStore {
  public:
    explicit WatchedStore(ObjectStore& store) : store_(store) {}

    // Called after each change that succeeded, and after a transaction ended either way.
    std::function<void()> onChange;

    CEOID CeCreateDatabase(const std::u16string& name, uint32_t type) override {
        return Told(store_.CeCreateDatabase(name, type));
    }
    StoreHandle CeOpenDatabase(CEOID& oid, const std::u16string& name, uint32_t sortPropId,
                               uint32_t flags) override {
        return store_.CeOpenDatabase(oid, name, sortPropId, flags);
    }
    bool CeOidGetInfo(CEOID oid, DatabaseInfo& info) override {
        return store_.CeOidGetInfo(oid, info);
    }
    CEOID CeSeekDatabase(StoreHandle handle, uint32_t seekType, uint32_t value) override {
        return store_.CeSeekDatabase(handle, seekType, value);
    }
    CEOID CeReadRecordProps(StoreHandle handle, std::vector<PropValue>& props) override {
        return store_.CeReadRecordProps(handle, props);
    }
    bool ReadSortKeys(StoreHandle handle, std::vector<uint32_t>& keys) override {
        return store_.ReadSortKeys(handle, keys);
    }
    CEOID CeWriteRecordProps(StoreHandle handle, CEOID record,
                             const std::vector<PropValue>& props) override {
        return Told(store_.CeWriteRecordProps(handle, record, props));
    }
    bool CeDeleteRecord(StoreHandle handle, CEOID record) override {
        return Told(store_.CeDeleteRecord(handle, record));
    }
    bool CeDeleteDatabase(CEOID oid) override { return Told(store_.CeDeleteDatabase(oid)); }
    bool CloseHandle(StoreHandle handle) override { return store_.CloseHandle(handle); }
    bool BeginTransaction() override { return store_.BeginTransaction(); }
    bool EndTransaction(bool commit) override {
        const bool ended = store_.EndTransaction(commit);
        Tell();
        return ended;
    }
    std::vector<DatabaseDump> Dump() override { return store_.Dump(); }
    void ReleaseReadPages() override { store_.ReleaseReadPages(); }
    void FailChangesAfter(int writes) override { store_.FailChangesAfter(writes); }

  private:
    template <typename T>
    T Told(T result) {
        if (result) Tell();
        return result;
    }
    void Tell() {
        if (onChange) onChange();
    }

    ObjectStore& store_;
};

}  // namespace qv
