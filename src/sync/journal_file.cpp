// Journal files on POSIX: appends with O_APPEND and fsync, reads with pread.
#include "sync/journal_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "sync/journal_line.h"

namespace qv::sync {
namespace {

constexpr std::string_view kPrefix = "quorvella-";
constexpr std::string_view kSuffix = ".journal";
constexpr uint64_t kTailChunk = 64 * 1024;

class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    bool ok() const { return fd_ >= 0; }
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

bool ReadAt(int fd, uint64_t offset, size_t size, std::string& bytes) {
    bytes.resize(size);
    size_t done = 0;
    while (done < size) {
        const ssize_t n =
            ::pread(fd, bytes.data() + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0) return false;
        if (n == 0) break;
        done += static_cast<size_t>(n);
    }
    bytes.resize(done);
    return true;
}

// Makes a new directory entry durable.
void SyncFolder(const std::filesystem::path& folder) {
    Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.ok()) ::fsync(dir.get());
}

}  // namespace

std::filesystem::path JournalPath(const std::filesystem::path& folder, std::string_view computer) {
    return folder / (std::string(kPrefix) + std::string(computer) + std::string(kSuffix));
}

std::string JournalComputer(const std::filesystem::path& file) {
    const std::string name = file.filename().string();
    if (name.size() != kPrefix.size() + 32 + kSuffix.size() || !name.starts_with(kPrefix) ||
        !name.ends_with(kSuffix))
        return {};
    std::string id = name.substr(kPrefix.size(), 32);
    return IsComputerId(id) ? id : std::string();
}

std::vector<std::string> JournalsIn(const std::filesystem::path& folder) {
    std::vector<std::string> ids;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        std::string id = JournalComputer(it->path());
        if (!id.empty()) ids.push_back(std::move(id));
    }
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

std::optional<uint64_t> FileSize(const std::filesystem::path& file) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    return static_cast<uint64_t>(st.st_size);
}

bool ReadFrom(const std::filesystem::path& file, uint64_t offset, std::string& bytes,
              uint64_t most) {
    bytes.clear();
    Fd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.ok()) return false;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) return false;
    const auto size = static_cast<uint64_t>(st.st_size);
    if (size <= offset) return true;
    return ReadAt(fd.get(), offset, static_cast<size_t>(std::min(size - offset, most)), bytes);
}

bool OpenOwnJournal(const std::filesystem::path& file, std::string_view computer,
                    uint64_t& lastSerial) {
    lastSerial = 0;
    const bool existed = FileSize(file).has_value();
    Fd fd(::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
    if (!fd.ok()) return false;
    if (!existed) SyncFolder(file.parent_path());
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) return false;
    uint64_t size = static_cast<uint64_t>(st.st_size);
    const uint64_t original = size;
    // Walks back from the end until a whole line of this computer is found; everything after
    // it (a line cut short by a crash, or one that fails its checksum) goes.
    std::string window;
    Change change;
    uint64_t chunk = kTailChunk;
    while (size > 0) {
        const uint64_t from = size > chunk ? size - chunk : 0;
        if (!ReadAt(fd.get(), from, static_cast<size_t>(size - from), window)) return false;
        const size_t feed = window.rfind('\n');
        const size_t before = feed == std::string::npos || feed == 0 ? std::string::npos
                                                                     : window.rfind('\n', feed - 1);
        if (from > 0 && (feed == std::string::npos || before == std::string::npos)) {
            chunk *= 2;  // the line starts further back
            continue;
        }
        if (feed == std::string::npos) {
            size = 0;
            break;
        }
        const size_t start = before == std::string::npos ? 0 : before + 1;
        if (DecodeLine(std::string_view(window).substr(start, feed - start), change) ==
                LineStatus::Complete &&
            change.computer == computer) {
            lastSerial = change.serial;
            size = from + feed + 1;
            break;
        }
        size = from + start;
    }
    if (size != original && ::ftruncate(fd.get(), static_cast<off_t>(size)) != 0) return false;
    if (size != original && ::fsync(fd.get()) != 0) return false;
    return fd.Close();
}

bool AppendDurably(const std::filesystem::path& file, std::string_view bytes) {
    Fd fd(::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644));
    if (!fd.ok()) return false;
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return ::fsync(fd.get()) == 0 && fd.Close();
}

}  // namespace qv::sync
