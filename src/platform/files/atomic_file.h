// Replacing a whole file at once: a crash leaves the old content or the new, never a mixture.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "platform/files/write_faults.h"

namespace qv {

class AtomicFile {
  public:
    explicit AtomicFile(std::filesystem::path file) : file_(std::move(file)) {}

    const std::filesystem::path& Path() const { return file_; }

    // Removes the temporaries (<name>.tmp.*) that saves cut short by a crash left beside the
    // file. One a running save still holds is kept. Gives how many were removed.
    size_t RemoveStaleTemporaries() const;

    // Runs once the new content is on disk, just before it replaces the file; false, with a
    // reason, stops the save.
    using Check = std::function<bool(std::string& reason)>;

    // Writes content under a temporary name beside the file, flushes it and renames it over
    // the file. On failure the file is as it was, no temporary is left, and FailureReason()
    // says why. A file this program's user may not write is never replaced.
    bool Replace(std::string_view content, const Check& beforeReplace = {});

    // Why the last Replace failed, e.g. "No space left on device".
    const std::string& FailureReason() const { return reason_; }

    // Test hook: the writes, flushes and renames of every later Replace.
    WriteFaults& Faults() { return faults_; }

  private:
    std::filesystem::path file_;
    std::string reason_;
    WriteFaults faults_;
};

// AtomicFile::Replace in steps, for a writer that hands over its content in pieces: Begin makes
// the temporary beside the file, Write adds to it, Commit flushes it and renames it over the
// file. A failed step, Abandon or the end of the object removes the temporary, and the file
// stays as it was; after a failed Write, Commit fails.
class FileReplacement {
  public:
    // faults: the test hook the writes, the flush and the rename go through; mode: the new
    // file's permissions, less the process's umask.
    FileReplacement(std::filesystem::path file, WriteFaults& faults, mode_t mode = 0600);
    ~FileReplacement() { Abandon(); }
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Refuses a folder and a file this program's user may not write.
    bool Begin();
    bool Write(const void* data, size_t size);
    bool Commit(const AtomicFile::Check& beforeReplace = {});
    void Abandon();

    // Why the last step failed, e.g. "No space left on device".
    const std::string& FailureReason() const { return reason_; }

  private:
    bool Fail(int error);

    std::filesystem::path file_;
    WriteFaults& faults_;
    mode_t mode_;
    std::string temp_;
    int fd_ = -1;
    std::string reason_;
};

}  // namespace qv
