// Replacing a whole file at once: a crash leaves the old content or the new, never a mixture.
#pragma once

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

    // Test hook: the writes and flushes of every later Replace.
    WriteFaults& Faults() { return faults_; }

  private:
    std::filesystem::path Folder() const;
    bool Fail(int error);

    std::filesystem::path file_;
    std::string reason_;
    WriteFaults faults_;
};

}  // namespace qv
