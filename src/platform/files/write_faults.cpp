// Writing bytes to disk through the shared test hook.
#include "platform/files/write_faults.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace qv {

bool WriteFaults::WriteAll(int fd, const void* data, size_t size) {
    const char* bytes = static_cast<const char*>(data);
    size_t allowed = size;
    if (budget_ && *budget_ < size) allowed = static_cast<size_t>(*budget_);
    size_t done = 0;
    while (done < allowed) {
        ssize_t n = ::write(fd, bytes + done, allowed - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            break;
        }
        done += static_cast<size_t>(n);
    }
    written_ += done;
    if (budget_) *budget_ -= done;
    if (done < allowed) return false;  // errno from the failed write
    if (done < size) {
        errno = ENOSPC;
        return false;
    }
    return true;
}

bool WriteFaults::Flush(int fd) {
    if (failFlushes_) {
        errno = EIO;
        return false;
    }
    return ::fsync(fd) == 0;
}

bool WriteFaults::Rename(const char* from, const char* to) {
    if (failRenames_) {
        errno = EIO;
        return false;
    }
    return std::rename(from, to) == 0;
}

}  // namespace qv
