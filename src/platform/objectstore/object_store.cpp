// Property values and the store that is used when the store file cannot be.
#include "platform/objectstore/object_store.h"

namespace qv {

PropValue PropValue::Number(uint32_t propid, uint32_t value) {
    PropValue p;
    p.propid = propid;
    p.ulVal = value;
    return p;
}

PropValue PropValue::String(uint32_t propid, std::optional<std::u16string> value) {
    PropValue p;
    p.propid = propid;
    p.lpwstr = std::move(value);
    return p;
}

namespace {

class UnavailableObjectStore final : public ObjectStore {
  public:
    CEOID CeCreateDatabase(const std::u16string&, uint32_t) override { return 0; }
    StoreHandle CeOpenDatabase(CEOID&, const std::u16string&, uint32_t, uint32_t) override {
        return kInvalidStoreHandle;
    }
    bool CeOidGetInfo(CEOID, DatabaseInfo&) override { return false; }
    CEOID CeSeekDatabase(StoreHandle, uint32_t, uint32_t) override { return 0; }
    bool ReadSortKeys(StoreHandle, std::vector<uint32_t>&) override { return false; }
    CEOID CeReadRecordProps(StoreHandle, std::vector<PropValue>&) override { return 0; }
    CEOID CeWriteRecordProps(StoreHandle, CEOID, const std::vector<PropValue>&) override {
        return 0;
    }
    bool CeDeleteRecord(StoreHandle, CEOID) override { return false; }
    bool CeDeleteDatabase(CEOID) override { return false; }
    bool CloseHandle(StoreHandle) override { return false; }
    bool BeginTransaction() override { return false; }
    bool EndTransaction(bool) override { return false; }
    std::vector<DatabaseDump> Dump() override { return {}; }
    void FailChangesAfter(int) override {}
};

}  // namespace

std::unique_ptr<ObjectStore> MakeUnavailableObjectStore() {
    return std::make_unique<UnavailableObjectStore>();
}

}  // namespace qv
