// Whole-file replacement through a locked temporary and a rename.
#include "platform/files/atomic_file.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <vector>

namespace qv {

namespace {

std::string TemporaryPrefix(const std::filesystem::path& file) {
    return file.filename().string() + ".tmp.";
}

std::string ErrorText(int error) {
    return std::generic_category().message(error);
}

void SyncFolder(const std::filesystem::path& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

std::filesystem::path AtomicFile::Folder() const {
    std::filesystem::path folder = file_.parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

bool AtomicFile::Fail(int error) {
    reason_ = ErrorText(error);
    return false;
}

size_t AtomicFile::RemoveStaleTemporaries() const {
    const std::string prefix = TemporaryPrefix(file_);
    std::vector<std::filesystem::path> candidates;
    std::error_code ec;
    for (auto it = std::filesystem::directory_iterator(Folder(), ec);
         !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0) {
            candidates.push_back(it->path());
        }
    }
    size_t removed = 0;
    for (const auto& path : candidates) {
        int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        // A save in progress holds its temporary locked until the rename; only orphans go.
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::unlink(path.c_str()) == 0) {
            ++removed;
        }
        ::close(fd);
    }
    return removed;
}

bool AtomicFile::Replace(std::string_view content, const Check& beforeReplace) {
    reason_.clear();
    // Renaming a file over a folder fails anyway; saying so first keeps the reason plain.
    struct stat current {};
    if (::lstat(file_.c_str(), &current) == 0 && S_ISDIR(current.st_mode)) return Fail(EISDIR);
    // The rename needs only the folder's permission, so it would replace a file this user may
    // not write, and drop its read-only mode with it: such a file is kept as it is.
    if (::faccessat(AT_FDCWD, file_.c_str(), W_OK, AT_EACCESS) != 0 && errno != ENOENT) {
        return Fail(errno);
    }

    std::string temp;
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
        if (attempt == 4) return Fail(EAGAIN);
        temp = (Folder() / (TemporaryPrefix(file_) + "XXXXXX")).string();
        fd = ::mkostemp(temp.data(), O_CLOEXEC);
        if (fd < 0) return Fail(errno);
        // Locked until it is renamed, so a program starting meanwhile does not remove it as an
        // orphan; one removed before the lock was taken is made again under a new name.
        struct stat made {};
        if (::flock(fd, LOCK_EX) != 0 || ::fstat(fd, &made) != 0) {
            const int error = errno;
            ::unlink(temp.c_str());
            ::close(fd);
            return Fail(error);
        }
        if (made.st_nlink == 0) {
            ::close(fd);
            fd = -1;
        }
    }

    bool ok = faults_.WriteAll(fd, content.data(), content.size()) && faults_.Flush(fd);
    int error = ok ? 0 : errno;
    std::string refusal;
    if (ok && beforeReplace && !beforeReplace(refusal)) {
        ok = false;
        if (refusal.empty()) refusal = "refused before the rename";
    }
    if (ok && ::rename(temp.c_str(), file_.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        ::close(fd);
        reason_ = refusal.empty() ? ErrorText(error) : refusal;
        return false;
    }
    // The content was flushed before the rename; closing only lets go of the lock.
    ::close(fd);
    // A failed folder sync only weakens durability, not the content.
    SyncFolder(Folder());
    return true;
}

}  // namespace qv
