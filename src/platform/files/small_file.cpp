// Whole reads of small regular files.
#include "platform/files/small_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace qv {

namespace {

SmallFileRead Failed(SmallFileRead::Outcome outcome, std::string reason) {
    SmallFileRead result;
    result.outcome = outcome;
    result.reason = std::move(reason);
    return result;
}

}  // namespace

std::string DescribeFileKind(unsigned mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a named pipe";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    if (S_ISLNK(mode)) return "a symbolic link";
    return "not a regular file";
}

SmallFileRead ReadSmallRegularFile(const std::filesystem::path& file, size_t maxBytes) {
    using Outcome = SmallFileRead::Outcome;
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        struct stat st {};
        if (error == ENOENT && ::lstat(file.c_str(), &st) == 0) {
            return Failed(Outcome::NotRegular, "a link to a missing file");
        }
        if (error == ENOENT) return Failed(Outcome::Missing, {});
        return Failed(Outcome::Failed, std::generic_category().message(error));
    }
    SmallFileRead result;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        result = Failed(Outcome::Failed, std::generic_category().message(errno));
    } else if (!S_ISREG(st.st_mode)) {
        result = Failed(Outcome::NotRegular, DescribeFileKind(st.st_mode));
    } else if (static_cast<uintmax_t>(st.st_size) > maxBytes) {
        result = Failed(Outcome::TooLarge, "larger than " + std::to_string(maxBytes) + " bytes");
    } else {
        result.outcome = Outcome::Read;
        // Read to the end, never past the limit: the file may grow while it is read.
        char buffer[16384];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                result = Failed(Outcome::Failed, std::generic_category().message(errno));
                break;
            }
            if (n == 0) break;
            result.content.append(buffer, static_cast<size_t>(n));
            if (result.content.size() > maxBytes) {
                result =
                    Failed(Outcome::TooLarge, "larger than " + std::to_string(maxBytes) + " bytes");
                break;
            }
        }
    }
    ::close(fd);
    return result;
}

}  // namespace qv
