// The registry hive: typed keys and values kept in one file, saved atomically on every change
// or once for a group of changes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/registry_access.h"
#include "platform/files/atomic_file.h"

namespace qv {

// One value as the hive keeps it.
struct HiveValue {
    std::u16string name;  // as first stored
    uint32_t type = REG_DWORD;
    uint32_t number = 0;  // REG_DWORD
    std::u16string text;  // REG_SZ, without the terminating zero
};

// One key with its values, for listings.
struct HiveKeyListing {
    std::u16string path;            // e.g. u"Software\\Brumo\\Quorvella"
    std::vector<HiveValue> values;  // in name order (code units of the names)
};

// The file holds UTF-8 lines of ASCII only:
//   quorvella-hive 1
//   key "Software\\Brumo"
//   value "MajorVersion" dword 1
//   value "LastProject" sz "Week \"12\""
//   end
// Inside quotes, printable ASCII stands for itself except " and \ (written \" and \\);
// every other code unit, lone surrogates included, is \uXXXX. Keys appear parents first.
//
// A save that fails says so on standard error, with the file and the reason, besides failing
// the call: settings that are not kept must not go unnoticed.
class RegistryHive : public RegistryAccess {
  public:
    // A hive is kilobytes; a larger file is read as a corrupt one.
    static constexpr size_t kMaxHiveBytes = 1 << 20;

    // Reads the hive file; a missing, unreadable or corrupt file reads as an empty hive. A
    // file over kMaxHiveBytes counts as corrupt; a name that holds no regular file reads as
    // empty and is never saved over. Either is said on standard error.
    // Temporaries that earlier saves left beside it when they were cut short are removed.
    explicit RegistryHive(std::filesystem::path file);

    std::optional<RegistryKey> OpenKey(const std::u16string& path) override;
    std::optional<RegistryKey> CreateKey(const std::u16string& path) override;
    std::optional<RegistryValue> QueryValue(RegistryKey key, const std::u16string& name,
                                            uint32_t maxBytes) override;
    bool SetDwordValue(RegistryKey key, const std::u16string& name, uint32_t value) override;
    bool SetStringValue(RegistryKey key, const std::u16string& name,
                        const std::u16string& text) override;
    bool CloseKey(RegistryKey key) override;
    void BeginChanges() override;
    bool CommitChanges() override;

    // True when the file existed but could not be read or parsed. Before the first save
    // overwrites such a file it is moved aside to <file>.corrupt, so nothing is lost silently.
    bool LoadedCorrupt() const { return loadedCorrupt_; }

    // Why the latest save failed; empty when it succeeded or none was tried.
    const std::string& LastSaveFailure() const { return lastSaveFailure_; }

    // Every key in path order (parents before children, siblings by code units).
    std::vector<HiveKeyListing> List() const;

    // Test hook: saves fail as on a full or read-only disk; a change whose save fails is not
    // made, in memory or on disk.
    void FailSaves(bool fail) { failSaves_ = fail; }
    // Test hook: the hive file's writes and flushes, to stop a save at any byte.
    WriteFaults& Faults() { return writer_.Faults(); }

  private:
    struct Key {
        std::u16string path;                         // as created
        std::map<std::u16string, HiveValue> values;  // by folded name
    };
    using Keys = std::map<std::u16string, Key>;  // by folded path

    friend std::vector<HiveKeyListing> ListHive(const std::filesystem::path& file);
    // tidy: remove stale temporaries; a mere listing leaves the folder as it is.
    RegistryHive(std::filesystem::path file, bool tidy);

    bool Save(const Keys& keys);
    bool SaveFailed(const std::string& reason);
    // Applies edit to the keys: at once and saved, or inside the open group.
    bool Change(const std::function<void(Keys&)>& edit);
    const Key* OpenedKey(RegistryKey key) const;
    bool SetValue(RegistryKey key, HiveValue value);

    std::filesystem::path file_;
    AtomicFile writer_;
    Keys keys_;
    int groupDepth_ = 0;
    bool groupChanged_ = false;
    Keys groupStart_;  // the keys as saved when the outermost group began
    std::map<RegistryKey, std::u16string> open_;  // handle -> folded path
    RegistryKey nextHandle_ = 1;
    bool failSaves_ = false;
    bool loadedCorrupt_ = false;
    bool notRegular_ = false;
    std::string lastSaveFailure_;  // the name holds a pipe, a device, a folder or a broken link
};

// The listing of the hive file at path, as the replay tool shows it.
std::vector<HiveKeyListing> ListHive(const std::filesystem::path& file);

}  // namespace qv
