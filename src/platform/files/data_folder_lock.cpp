// The data folder's lock file.
#include "platform/files/data_folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace qv {

namespace {

// A lock file is taken again after another program let go of it and removed it in between;
// a few rounds cover any real race.
constexpr int kAttempts = 8;

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

DataFolderLock::DataFolderLock(const std::filesystem::path& dataDir) : file_(dataDir / kFileName) {
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        // Never through a link, never waiting on a pipe. A lock file we may not write still
        // locks: flock asks only for an open file.
        int fd =
            ::open(file_.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
        if (fd < 0 && (errno == EACCES || errno == EROFS)) {
            fd = ::open(file_.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        }
        if (fd < 0) {
            reason_ = std::generic_category().message(errno);
            return;
        }
        struct stat held {};
        if (::fstat(fd, &held) != 0 || !S_ISREG(held.st_mode)) {
            reason_ = "not a regular file";
            ::close(fd);
            return;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            if (error == EWOULDBLOCK) {
                state_ = State::HeldElsewhere;
            } else {
                reason_ = std::generic_category().message(error);
            }
            return;
        }
        // The holder before us may have removed the file between our open and our lock: a lock
        // on a file no longer under the name guards nothing, so the name is tried again.
        struct stat named {};
        if (::lstat(file_.c_str(), &named) == 0 && SameFile(held, named)) {
            fd_ = fd;
            state_ = State::Held;
            return;
        }
        ::close(fd);
    }
    reason_ = "the lock file keeps being replaced";
}

DataFolderLock::~DataFolderLock() {
    Release();
}

void DataFolderLock::Release() {
    if (fd_ < 0) return;
    // Removed while still locked, so a program starting now makes a new file and its lock is
    // on the name.
    ::unlink(file_.c_str());
    ::close(fd_);
    fd_ = -1;
    state_ = State::Unavailable;
}

}  // namespace qv
