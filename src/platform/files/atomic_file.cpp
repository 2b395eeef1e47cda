// Whole-file replacement through a locked temporary and a rename.
#include "platform/files/atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <random>
#include <system_error>
#include <vector>

namespace qv {

namespace {

// "<name>.tmp.", the name cut at a character's start where it would leave no room in a folder
// entry for the suffix and the six characters of UniqueSuffix.
std::string TemporaryPrefix(const std::filesystem::path& file) {
    constexpr size_t kSuffixBytes = 5 + 6;
    std::string name = file.filename().string();
    if (name.size() > NAME_MAX - kSuffixBytes) {
        size_t cut = NAME_MAX - kSuffixBytes;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
        name.resize(cut);
    }
    return name + ".tmp.";
}

// Six letters and digits, as mkstemp puts in place of its XXXXXX.
std::string UniqueSuffix() {
    static constexpr char kCharacters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::string suffix(6, ' ');
    for (char& c : suffix) c = kCharacters[random() % (sizeof kCharacters - 1)];
    return suffix;
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

std::filesystem::path FolderOf(const std::filesystem::path& file) {
    std::filesystem::path folder = file.parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

}  // namespace

size_t AtomicFile::RemoveStaleTemporaries() const {
    const std::string prefix = TemporaryPrefix(file_);
    std::vector<std::filesystem::path> candidates;
    std::error_code ec;
    for (auto it = std::filesystem::directory_iterator(FolderOf(file_), ec);
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
    FileReplacement replacement(file_, faults_);
    const bool replaced = replacement.Begin() &&
                          replacement.Write(content.data(), content.size()) &&
                          replacement.Commit(beforeReplace);
    reason_ = replacement.FailureReason();
    return replaced;
}

FileReplacement::FileReplacement(std::filesystem::path file, WriteFaults& faults, mode_t mode)
    : file_(std::move(file)), faults_(faults), mode_(mode) {}

bool FileReplacement::Fail(int error) {
    Abandon();
    reason_ = ErrorText(error);
    return false;
}

void FileReplacement::Abandon() {
    if (fd_ < 0) return;
    ::unlink(temp_.c_str());
    ::close(fd_);
    fd_ = -1;
    temp_.clear();
}

bool FileReplacement::Begin() {
    Abandon();
    reason_.clear();
    // Renaming a file over a folder fails anyway; saying so first keeps the reason plain.
    struct stat current {};
    if (::lstat(file_.c_str(), &current) == 0 && S_ISDIR(current.st_mode)) return Fail(EISDIR);
    // The rename needs only the folder's permission, so it would replace a file this user may
    // not write, and drop its read-only mode with it: such a file is kept as it is.
    if (::faccessat(AT_FDCWD, file_.c_str(), W_OK, AT_EACCESS) != 0 && errno != ENOENT) {
        return Fail(errno);
    }
    for (int attempt = 0; fd_ < 0; ++attempt) {
        if (attempt == 100) return Fail(EEXIST);
        std::string temp = (FolderOf(file_) / (TemporaryPrefix(file_) + UniqueSuffix())).string();
        // A name of its own, as mkstemp makes one, but with the umask applied to the mode.
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode_);
        if (fd < 0 && errno == EEXIST) continue;
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
            continue;
        }
        fd_ = fd;
        temp_ = std::move(temp);
    }
    return true;
}

bool FileReplacement::Write(const void* data, size_t size) {
    if (fd_ < 0) return false;
    return faults_.WriteAll(fd_, data, size) || Fail(errno);
}

bool FileReplacement::Commit(const AtomicFile::Check& beforeReplace) {
    if (fd_ < 0) return false;
    if (!faults_.Flush(fd_)) return Fail(errno);
    std::string refusal;
    if (beforeReplace && !beforeReplace(refusal)) {
        Abandon();
        reason_ = refusal.empty() ? "refused before the rename" : refusal;
        return false;
    }
    if (!faults_.Rename(temp_.c_str(), file_.c_str())) return Fail(errno);
    // The content was flushed before the rename; closing only lets go of the lock.
    ::close(fd_);
    fd_ = -1;
    temp_.clear();
    // A failed folder sync only weakens durability, not the content.
    SyncFolder(FolderOf(file_));
    return true;
}

}  // namespace qv
