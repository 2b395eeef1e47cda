// The device's folders and the few file calls the CSV writer makes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/files/atomic_file.h"
#include "platform/files/write_faults.h"

namespace qv {

constexpr uint32_t FILE_ATTRIBUTE_READONLY = 0x01;
constexpr uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr uint32_t FILE_ATTRIBUTE_ARCHIVE = 0x20;

// The longest name of a file in a folder, in bytes of UTF-8.
constexpr size_t kMaxFileNameBytes = 255;

// Where the device's folders live on this machine.
//   object store, registry hive, \Windows  ->  dataDir
//   \My Documents\Business, \Personal      ->  documentsDir/Business, documentsDir/Personal
struct DeviceFolders {
    std::filesystem::path dataDir;
    std::filesystem::path documentsDir;

    // Everything under one folder, as tests and the replay tool use it:
    // ROOT/objectstore.sqlite, ROOT/registry.hive, ROOT/Windows, ROOT/My
    // Documents/{Business,Personal}
    static DeviceFolders UnderRoot(const std::filesystem::path& root);
    // The user's own: $XDG_DATA_HOME/quorvella and the XDG documents folder + /Quorvella.
    static DeviceFolders ForUser();

    std::filesystem::path StoreFile() const { return dataDir / "objectstore.sqlite"; }
    std::filesystem::path HiveFile() const { return dataDir / "registry.hive"; }
    std::filesystem::path WindowsDir() const { return dataDir / "Windows"; }

    // A device path such as \My Documents\Business\week12.csv or \Windows\enquorvella.htc on
    // this machine; none for a path outside the mapped folders or one that climbs out ("..").
    std::optional<std::filesystem::path> Resolve(const std::u16string& devicePath) const;

    // First start: makes the data folder, \Windows and both document folders, as a new
    // handheld comes with them. Existing folders are left alone. False when one cannot be made.
    bool Provision() const;
};

// Opaque handle of a file opened for writing; -1 is the invalid handle.
using FileHandle = int;
constexpr FileHandle kInvalidFileHandle = -1;

class DeviceFiles {
  public:
    explicit DeviceFiles(DeviceFolders folders) : folders_(std::move(folders)) {}
    DeviceFiles(const DeviceFiles&) = delete;
    DeviceFiles& operator=(const DeviceFiles&) = delete;

    const DeviceFolders& Folders() const { return folders_; }

    // The attribute word of the file or folder at a device path (0x10 for a directory),
    // or none when nothing is there.
    std::optional<uint32_t> FindFirstFile(const std::u16string& devicePath);
    // A new file for the device path, written under a temporary name beside it: what is at the
    // path stays as it is until CloseHandle puts the new file in its place. Refused in a
    // missing folder, and over a folder or a read-only file, which are left alone.
    FileHandle CreateFile(const std::u16string& devicePath);
    // Once a write failed, the file is never put in place.
    bool WriteFile(FileHandle file, const void* data, size_t size);
    // Flushes the file to disk (fsync) and renames it over the path in one step. False when a
    // write, the flush or the rename failed: what was at the path is then unchanged, and the
    // temporary is gone. A handle not closed goes the same way with its owner.
    bool CloseHandle(FileHandle file);

    // Test hooks: make the next calls fail as a broken card would.
    void FailWritesAfter(int writes) { failWritesAfter_ = writes; }  // -1: never
    void FailCreates(bool fail) { failCreates_ = fail; }
    // Byte-granular: a write that runs out stops part-way, as on a full card; and the flushes
    // and renames of CloseHandle.
    WriteFaults& Faults() { return faults_; }

  private:
    DeviceFolders folders_;
    int failWritesAfter_ = -1;
    bool failCreates_ = false;
    WriteFaults faults_;
    std::map<FileHandle, std::unique_ptr<FileReplacement>> open_;
    FileHandle nextHandle_ = 1;
};

}  // namespace qv
