// The device's object store: named databases of records made of numbered, typed properties,
// read back in ascending order of property 0. Durable; one store file per device.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qv {

using CEOID = uint32_t;        // object identifier of a database or record; 0 means none
using StoreHandle = uint32_t;  // handle of an open database

constexpr StoreHandle kInvalidStoreHandle = 0xFFFFFFFF;

constexpr uint16_t CEVT_UI4 = 19;
constexpr uint16_t CEVT_LPWSTR = 31;
constexpr uint32_t CEDB_AUTOINCREMENT = 0x00000001;
constexpr uint32_t CEDB_SEEK_CEOID = 0x00000001;
constexpr uint32_t CEDB_SEEK_VALUEFIRSTEQUAL = 0x00000020;
constexpr uint32_t kSortPropertyId = 0x00000013;  // property 0 as an unsigned 32-bit value

// Identifier = property number << 16 | type.
constexpr uint32_t PropId(uint16_t number, uint16_t type) {
    return (uint32_t{number} << 16) | type;
}

// One property value. A text property may carry no text at all (a null pointer on the handheld).
struct PropValue {
    uint32_t propid = 0;
    uint16_t wLenData = 0;
    uint16_t wFlags = 0;
    uint32_t ulVal = 0;                    // CEVT_UI4
    std::optional<std::u16string> lpwstr;  // CEVT_LPWSTR

    uint16_t Type() const { return static_cast<uint16_t>(propid & 0xFFFF); }
    static PropValue Number(uint32_t propid, uint32_t value);
    static PropValue String(uint32_t propid, std::optional<std::u16string> value);
    friend bool operator==(const PropValue&, const PropValue&) = default;
};

struct DatabaseInfo {
    std::u16string name;
    uint32_t type = 0;
    uint16_t recordCount = 0;
};

// One database as `show store` lists it: name, and its records in sort order.
struct DatabaseDump {
    std::u16string name;
    std::vector<std::vector<PropValue>> records;
};

// The operations the program relies on, with the handheld's failure results.
class ObjectStore {
  public:
    virtual ~ObjectStore() = default;

    // A new empty database with one sort order on property 0 (unsigned, ascending); its
    // identifier, or 0 when it cannot be made (for example when the name is taken).
    virtual CEOID CeCreateDatabase(const std::u16string& name, uint32_t type) = 0;
    // Opens by name when oid is 0 (fills oid in), or by identifier. The invalid handle when the
    // database does not exist. Reads run in ascending property 0; each read moves on.
    virtual StoreHandle CeOpenDatabase(CEOID& oid, const std::u16string& name, uint32_t sortPropId,
                                       uint32_t flags) = 0;
    virtual bool CeOidGetInfo(CEOID oid, DatabaseInfo& info) = 0;
    // CEDB_SEEK_CEOID with a record identifier, or CEDB_SEEK_VALUEFIRSTEQUAL with a value of
    // property 0: the record reached (the next read starts there), or 0; a seek that finds
    // nothing leaves the handle at the end, so the next read returns 0.
    virtual CEOID CeSeekDatabase(StoreHandle handle, uint32_t seekType, uint32_t value) = 0;
    // All properties of the record at the current position, in the order they were written;
    // moves to the next record. 0 at the end or on error (including data that does not decode;
    // such a record is passed over like one that was read).
    virtual CEOID CeReadRecordProps(StoreHandle handle, std::vector<PropValue>& props) = 0;
    // The property 0 values of every record of the handle's database, ascending (a value
    // held twice is there twice), read without the records themselves; the handle's position
    // stays. False on error.
    virtual bool ReadSortKeys(StoreHandle handle, std::vector<uint32_t>& keys) = 0;
    // Record 0 writes a new record; otherwise replaces the given properties of that record.
    // The record's identifier, or 0 on failure. A database holds at most 65,535 records, so
    // its 16-bit record count never wraps.
    virtual CEOID CeWriteRecordProps(StoreHandle handle, CEOID record,
                                     const std::vector<PropValue>& props) = 0;
    virtual bool CeDeleteRecord(StoreHandle handle, CEOID record) = 0;
    // Fails while a handle on the database is still open.
    virtual bool CeDeleteDatabase(CEOID oid) = 0;
    virtual bool CloseHandle(StoreHandle handle) = 0;

    // Groups the changes made until the matching End into one atomic change.
    // End(false) undoes them. Scopes nest; only the outermost one commits.
    virtual bool BeginTransaction() = 0;
    virtual bool EndTransaction(bool commit) = 0;

    // Everything in the store, databases in name order (for `show store`).
    virtual std::vector<DatabaseDump> Dump() = 0;

    // Gives back the memory that holds the pages of the store read so far. Reads after it find
    // the pages in the system's cache again; nothing read or written changes.
    virtual void ReleaseReadPages() {}

    // The store's own table: keyed values beside the databases, for the program's own
    // bookkeeping. Named tables of text keys and byte values, in the same file and the same
    // transactions as the records; never listed by Dump. The table is made when a value is
    // first written, so a store that never keeps one is left as it was. A put or an erase is a
    // changing call like any other (it fails in a store for looking); reads work in both.
    // Put replaces the key's value; false when it cannot be written.
    virtual bool PutValue(const std::string& table, const std::string& key,
                          const std::string& value) {
        (void)table, (void)key, (void)value;
        return false;
    }
    // The key's value; none when it is absent or cannot be read.
    virtual std::optional<std::string> GetValue(const std::string& table, const std::string& key) {
        (void)table, (void)key;
        return std::nullopt;
    }
    // True also when the key was absent.
    virtual bool EraseValue(const std::string& table, const std::string& key) {
        (void)table, (void)key;
        return false;
    }
    // Every key of the table with its value, keys in ascending byte order; false on a read
    // error. A table never written is empty.
    using ValueVisitor = std::function<void(const std::string& key, const std::string& value)>;
    virtual bool ForEachValue(const std::string& table, const ValueVisitor& fn) {
        (void)table, (void)fn;
        return false;
    }

    // Test hook: after `writes` more successful changing calls, every changing call fails
    // (as a full or broken disk would); -1 turns the failure off.
    virtual void FailChangesAfter(int writes) = 0;
};

// Commits on Commit(), rolls back when it goes out of scope without one.
class StoreTransaction {
  public:
    explicit StoreTransaction(ObjectStore& store)
        : store_(store), open_(store.BeginTransaction()) {}
    ~StoreTransaction() {
        if (open_) store_.EndTransaction(false);
    }
    StoreTransaction(const StoreTransaction&) = delete;
    StoreTransaction& operator=(const StoreTransaction&) = delete;
    bool ok() const { return open_; }
    bool Commit() {
        if (!open_) return false;
        open_ = false;
        return store_.EndTransaction(true);
    }

  private:
    ObjectStore& store_;
    bool open_;
};

// The SQLite-backed store in one file, made when it is absent or empty. Empty when the file
// cannot be used (corrupt, of another program, unreadable, read-only, in a folder that cannot
// be written, a directory); such a file is left exactly as it was, nothing is made beside it,
// and one line on standard error names the file, the failed operation and the reason.
// `vfs` names the SQLite file layer a test registered (fault_vfs.h); null is the system's own.
std::unique_ptr<ObjectStore> OpenObjectStoreFile(const std::filesystem::path& file,
                                                 const char* vfs = nullptr);

// The store in the file, for looking only: never makes, converts, locks or writes any file
// (an empty file stays empty and reads as an empty store; no log or index appears beside it),
// and every changing call fails. Changes still in the store's log are read from a private copy.
// Empty, with one line on standard error, when the file is absent or cannot be read.
std::unique_ptr<ObjectStore> OpenObjectStoreForLooking(const std::filesystem::path& file);

// A store on which every call fails: what the program gets when its store file is unusable.
std::unique_ptr<ObjectStore> MakeUnavailableObjectStore();

}  // namespace qv
