// The registry calls the settings block needs, under HKEY_LOCAL_MACHINE.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv {

constexpr uint32_t REG_SZ = 1;
constexpr uint32_t REG_DWORD = 4;

// An open key; valid only between OpenKey/CreateKey and CloseKey.
using RegistryKey = uint32_t;

// What RegQueryValueExW hands back: the stored type and the stored bytes (data.size() is the
// byte size). A REG_SZ value holds its UTF-16 code units, little-endian, and a terminating zero.
struct RegistryValue {
    uint32_t type = 0;
    std::vector<uint8_t> data;
};

// Key paths are relative to HKEY_LOCAL_MACHINE, components separated by backslashes, e.g.
// u"Software\\Brumo\\Quorvella". Key and value names match without regard to ASCII case and
// keep the case they were created with.
class RegistryAccess {
  public:
    virtual ~RegistryAccess() = default;

    // RegOpenKeyExW: none when the key does not exist.
    virtual std::optional<RegistryKey> OpenKey(const std::u16string& path) = 0;
    // RegCreateKeyExW: opens the key, creating it and any missing parent first.
    virtual std::optional<RegistryKey> CreateKey(const std::u16string& path) = 0;
    // RegQueryValueExW with a buffer of maxBytes: none when the value is missing or its data
    // is larger than the buffer.
    virtual std::optional<RegistryValue> QueryValue(RegistryKey key, const std::u16string& name,
                                                    uint32_t maxBytes) = 0;
    // RegSetValueExW with REG_DWORD (4 bytes).
    virtual bool SetDwordValue(RegistryKey key, const std::u16string& name, uint32_t value) = 0;
    // RegSetValueExW with REG_SZ; the stored size is (characters + 1) * 2 bytes.
    virtual bool SetStringValue(RegistryKey key, const std::u16string& name,
                                const std::u16string& text) = 0;
    // RegCloseKey: false for a key that is not open.
    virtual bool CloseKey(RegistryKey key) = 0;

    // Groups the changes up to the matching CommitChanges, so that they are kept in one write
    // instead of one each. Groups nest; only the outermost commit keeps anything. Inside a
    // group a change succeeds in memory and is read back at once.
    virtual void BeginChanges() {}
    // Keeps the group's changes all at once; false when they could not be kept, and then none
    // of them is made. A registry that keeps every change at once has nothing left to do.
    virtual bool CommitChanges() { return true; }
};

}  // namespace qv
