// One program at a time on a data folder: an exclusive lock on a file inside it.
#pragma once

#include <filesystem>
#include <string>

namespace qv {

// Taken before the store is opened and held for the program's life. The lock is the
// kernel's (flock), so it goes with the process however that ends; the file is removed when
// the lock is let go in order, and a file a crash left behind is simply taken again.
class DataFolderLock {
  public:
    enum class State {
        Held,           // this program owns the folder
        HeldElsewhere,  // another program holds it
        Unavailable,    // no lock could be made (a folder we may not write, not a file...)
    };

    static constexpr const char* kFileName = "quorvella.lock";

    // Tries once, without waiting.
    explicit DataFolderLock(const std::filesystem::path& dataDir);
    ~DataFolderLock();
    DataFolderLock(const DataFolderLock&) = delete;
    DataFolderLock& operator=(const DataFolderLock&) = delete;

    State GetState() const { return state_; }
    // Why the lock is unavailable, e.g. "Permission denied".
    const std::string& Reason() const { return reason_; }
    const std::filesystem::path& Path() const { return file_; }

    // Removes the file and lets go of the lock; nothing when it is not held.
    void Release();

  private:
    std::filesystem::path file_;
    State state_ = State::Unavailable;
    std::string reason_;
    int fd_ = -1;
};

}  // namespace qv
