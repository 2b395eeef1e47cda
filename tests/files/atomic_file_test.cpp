// Whole-file replacement: which temporaries left beside the file count as stale.
#include "platform/files/atomic_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <set>

#include "files/temp_dir.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using test::WriteBytes;

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

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

}  // namespace
}  // namespace qv
