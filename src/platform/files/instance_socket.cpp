#include "platform/files/instance_socket.h"

#include <poll.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace qv {

namespace {

// The per-user runtime folder when the session has one that is ours, else the temporary folder.
std::string SocketFolder() {
    const char* runtime = getenv("XDG_RUNTIME_DIR");
    struct stat st {};
    if (runtime != nullptr && *runtime == '/' && stat(runtime, &st) == 0 && S_ISDIR(st.st_mode) &&
        st.st_uid == getuid()) {
        return runtime;
    }
    const char* tmp = getenv("TMPDIR");
    std::string folder = tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

// 64-bit FNV-1a: a stable name for a path, not a secret.
uint64_t PathHash(const std::string& text) {
    uint64_t h = 14695981039346656037ull;
    for (unsigned char c : text) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

// Closes the descriptor however the asking ends.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// The answer's header "STATUS OUT ERR\n" at the start of `buffer`: false while incomplete.
bool ReadHeader(const std::string& buffer, size_t& end, long long (&numbers)[3], bool& bad) {
    end = buffer.find('\n');
    if (end == std::string::npos) return false;
    bad = std::sscanf(buffer.substr(0, end).c_str(), "%lld %lld %lld", &numbers[0], &numbers[1],
                      &numbers[2]) != 3 ||
          numbers[1] < 0 || numbers[2] < 0;
    ++end;
    return true;
}

}  // namespace

std::string InstanceSocketPath(const std::filesystem::path& dataDir) {
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::weakly_canonical(dataDir, ec);
    if (ec) folder = std::filesystem::absolute(dataDir, ec);
    if (ec) folder = dataDir;
    char name[64];
    std::snprintf(name, sizeof name, "quorvella-%u-%016llx", static_cast<unsigned>(getuid()),
                  static_cast<unsigned long long>(PathHash(folder.native())));
    return SocketFolder() + "/" + name;
}

bool OwnedByStranger(const std::string& socketPath) {
    struct stat st {};
    return lstat(socketPath.c_str(), &st) == 0 && st.st_uid != getuid();
}

std::optional<InstanceAnswer> AskRunningToRun(const std::string& socketPath,
                                              const std::vector<std::string>& args,
                                              int answerSeconds) {
    sockaddr_un address{};
    if (OwnedByStranger(socketPath) || socketPath.size() >= sizeof address.sun_path) {
        return std::nullopt;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    Descriptor socket{::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)};
    if (socket.fd < 0 ||
        ::connect(socket.fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        return std::nullopt;
    }
    std::string payload;
    for (const std::string& arg : args) {
        payload += arg;
        payload += '\0';
    }
    const std::string request =
        std::string(kRunRequest) + std::to_string(payload.size()) + "\n" + payload;
    const InstanceAnswer lost{1, {}, "quorvella: the running Quorvella window gave no answer\n"};
    if (!WriteAll(socket.fd, request.data(), request.size())) return lost;

    std::string answer;
    char block[65536];
    for (;;) {
        size_t end = 0;
        long long numbers[3] = {};
        bool bad = false;
        if (ReadHeader(answer, end, numbers, bad)) {
            if (bad) return lost;
            const auto outSize = static_cast<size_t>(numbers[1]);
            const auto errSize = static_cast<size_t>(numbers[2]);
            if (answer.size() >= end + outSize + errSize) {
                return InstanceAnswer{static_cast<int>(numbers[0]), answer.substr(end, outSize),
                                      answer.substr(end + outSize, errSize)};
            }
        }
        pollfd wait{socket.fd, POLLIN, 0};
        const int ready = ::poll(&wait, 1, answerSeconds * 1000);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return lost;
        const ssize_t n = ::recv(socket.fd, block, sizeof block, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return lost;  // the window went before its answer was whole
        answer.append(block, static_cast<size_t>(n));
    }
}

}  // namespace qv
