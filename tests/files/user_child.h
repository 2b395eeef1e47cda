// Runs a body in a child process as an ordinary user, so that file permissions apply as they do
// for a user even when the tests run as root.
#pragma once

#include <fcntl.h>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

namespace qv::test {

inline constexpr uid_t kNobody = 65534;

// The body's exit status, with standard error going to `errors`; -1 when the child did not
// end normally. As root the child first becomes the user nobody.
inline int InChild(const std::function<int()>& body,
                   const std::filesystem::path& errors = "/dev/null") {
    const pid_t child = fork();
    if (child == 0) {
        const int fd = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (fd < 0 || dup2(fd, STDERR_FILENO) < 0) _exit(90);
        if (geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0))
            _exit(91);
        _exit(body());
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

}  // namespace qv::test
