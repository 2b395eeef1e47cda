// The program's store with a word after each change: every booking, edit, deletion, undo and
// batch of the window, the command line handed to it and the timer passes through it, so
// whatever shows the records can follow them without asking again and again.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <utility>

#include "platform/objectstore/object_store.h"

namespace qv {

class WatchedStore : public ObjectStore {
  public:
    // recordsName: the database whose new records are told one by one (none: every change is
    // told as a change).
    explicit WatchedStore(ObjectStore& store, std::u16string recordsName = {})
        : store_(store), recordsName_(std::move(recordsName)) {}

    // Called after each change that succeeded, and after a transaction ended either way.
    std::function<void()> onChange;
    // Called instead for a new record of that database written outside a transaction, with its
    // properties.
    std::function<void(const std::vector<PropValue>&)> onRecordAdded;

    CEOID CeCreateDatabase(const std::u16string& name, uint32_t type) override {
        return Told(store_.CeCreateDatabase(name, type));
    }
    StoreHandle CeOpenDatabase(CEOID& oid, const std::u16string& name, uint32_t sortPropId,
                               uint32_t flags) override {
        const StoreHandle handle = store_.CeOpenDatabase(oid, name, sortPropId, flags);
        if (!recordsName_.empty() && name == recordsName_ && oid != 0) recordsId_ = oid;
        if (oid != 0 && oid == recordsId_) {
            recordHandles_.insert(handle);
        } else {
            recordHandles_.erase(handle);
        }
        return handle;
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
        const CEOID written = store_.CeWriteRecordProps(handle, record, props);
        if (written != 0 && record == 0 && depth_ == 0 && onRecordAdded &&
            recordHandles_.count(handle) != 0) {
            onRecordAdded(props);
            return written;
        }
        return Told(written);
    }
    bool CeDeleteRecord(StoreHandle handle, CEOID record) override {
        return Told(store_.CeDeleteRecord(handle, record));
    }
    bool CeDeleteDatabase(CEOID oid) override { return Told(store_.CeDeleteDatabase(oid)); }
    bool CloseHandle(StoreHandle handle) override {
        recordHandles_.erase(handle);
        return store_.CloseHandle(handle);
    }
    bool BeginTransaction() override {
        const bool begun = store_.BeginTransaction();
        if (begun) ++depth_;
        return begun;
    }
    bool EndTransaction(bool commit) override {
        if (depth_ > 0) --depth_;
        const bool ended = store_.EndTransaction(commit);
        Tell();
        return ended;
    }
    std::vector<DatabaseDump> Dump() override { return store_.Dump(); }
    // The store's own table is not part of the book: its changes are not told.
    bool PutValue(const std::string& table, const std::string& key,
                  const std::string& value) override {
        return store_.PutValue(table, key, value);
    }
    std::optional<std::string> GetValue(const std::string& table, const std::string& key) override {
        return store_.GetValue(table, key);
    }
    bool EraseValue(const std::string& table, const std::string& key) override {
        return store_.EraseValue(table, key);
    }
    bool ForEachValue(const std::string& table, const ValueVisitor& fn) override {
        return store_.ForEachValue(table, fn);
    }
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
    std::u16string recordsName_;
    CEOID recordsId_ = 0;
    std::set<StoreHandle> recordHandles_;
    int depth_ = 0;  // transactions begun and not yet ended
};

}  // namespace qv
