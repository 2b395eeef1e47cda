// Writing bytes to disk, with the test hook every writer of this program shares.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace qv {

// Test hook: writes fail part-way, as on a card that fills up, and flushes and renames fail as
// on a broken one. Every writer counts its bytes against one of these, so a test can stop a save
// at any byte.
class WriteFaults {
  public:
    // From now on, the write that would pass `bytes` bytes writes up to that point and fails
    // with ENOSPC, and so does every later one; none: never.
    void FailAfterBytes(std::optional<uint64_t> bytes) { budget_ = bytes; }
    // Flushes to disk fail with EIO.
    void FailFlushes(bool fail) { failFlushes_ = fail; }
    // Renames fail with EIO.
    void FailRenames(bool fail) { failRenames_ = fail; }

    // Writes all size bytes to fd, retrying interrupted writes. False with errno set when it
    // stops short; the bytes before that point may be on disk.
    bool WriteAll(int fd, const void* data, size_t size);
    // fsync; false with errno set.
    bool Flush(int fd);
    // rename; false with errno set.
    bool Rename(const char* from, const char* to);

    // Every byte that reached a file through WriteAll, for tests that count a writer's work.
    uint64_t BytesWritten() const { return written_; }

  private:
    uint64_t written_ = 0;
    std::optional<uint64_t> budget_;
    bool failFlushes_ = false;
    bool failRenames_ = false;
};

}  // namespace qv
