// Whole-file replacement: which temporaries left beside the file count as stale, and which
// files it may replace.
#include "platform/files/atomic_file.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>

#include "files/temp_dir.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using test::Names;
using test::ReadBytes;
using test::WriteBytes;

TEST(AtomicFile, OnlyOrphanedTemporariesAreRemoved) {
    test::TempDir dir;
    for (const char* name : {"registry.hive", "registry.hive.tmp.a1b2c3", "registry.hive.tmp.XYZ",
                             "registry.hive.tmp.held", "registry.hive.tmp", "registry.hivetmp.x",
                             "other.tmp.a1b2c3"}) {
        WriteBytes(dir / name, "x");
    }
    fs::create_directory(dir / "registry.hive.tmp.folder");
    fs::create_symlink(dir / "other.tmp.a1b2c3", dir / "registry.hive.tmp.link");
    // A save running in another program holds its temporary locked.
    int held = ::open((dir / "registry.hive.tmp.held").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    EXPECT_EQ(AtomicFile(dir / "registry.hive").RemoveStaleTemporaries(), 2u);
    EXPECT_EQ(Names(dir.path()),
              (std::set<std::string>{"registry.hive", "registry.hive.tmp.held", "registry.hive.tmp",
                                     "registry.hivetmp.x", "other.tmp.a1b2c3",
                                     "registry.hive.tmp.folder", "registry.hive.tmp.link"}));
    ::close(held);
    EXPECT_EQ(AtomicFile(dir / "registry.hive").RemoveStaleTemporaries(), 1u);
    EXPECT_EQ(AtomicFile(dir / "missing" / "registry.hive").RemoveStaleTemporaries(), 0u);
}

// Replaces the file in a child process that, as root, first becomes the ordinary user nobody
// and owns the folder, so that file permissions apply as they do for a user. 0 when the
// replacement succeeded, 1 when it failed, anything else when the child could not run.
int ReplaceInChild(const fs::path& file) {
    constexpr uid_t kNobody = 65534;
    if (geteuid() == 0 && ::chown(file.parent_path().c_str(), kNobody, kNobody) != 0) return -1;
    const pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) {
        if (geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0))
            _exit(91);
        _exit(AtomicFile(file).Replace("new") ? 0 : 1);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

TEST(AtomicFile, AFileTheUserMayNotWriteIsKeptAsItIs) {
    test::TempDir dir;
    const fs::path file = dir / "registry.hive";
    WriteBytes(file, "old");
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
    EXPECT_EQ(ReplaceInChild(file), 1);
    EXPECT_EQ(ReadBytes(file), "old");
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u);
    EXPECT_EQ(Names(dir.path()), std::set<std::string>{"registry.hive"});  // no temporary

    // Writable again, or not there yet: replaced or made.
    ASSERT_EQ(::chmod(file.c_str(), 0666), 0);
    EXPECT_EQ(ReplaceInChild(file), 0);
    EXPECT_EQ(ReadBytes(file), "new");
    ASSERT_EQ(::unlink(file.c_str()), 0);
    EXPECT_EQ(ReplaceInChild(file), 0);
    EXPECT_EQ(ReadBytes(file), "new");
}

}  // namespace
}  // namespace qv
