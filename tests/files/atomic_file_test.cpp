// Whole-file replacement: stopped at any byte, refused, aimed at a folder, and stale temporaries.
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
using test::ReadBytes;
using test::WriteBytes;

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

TEST(AtomicFile, AFailureAtAnyPointLeavesTheOldContentAndNoTemporary) {
    test::TempDir dir;
    const fs::path file = dir / "registry.hive";
    WriteBytes(file, "old content\n");
    const std::string next = "the new content, a little longer than the old\n";
    AtomicFile writer(file);

    for (uint64_t stop = 0; stop < next.size(); ++stop) {
        writer.Faults().FailAfterBytes(stop);
        EXPECT_FALSE(writer.Replace(next)) << stop;
        EXPECT_EQ(writer.FailureReason(), "No space left on device");
        EXPECT_EQ(ReadBytes(file), "old content\n") << stop;
        EXPECT_EQ(Names(dir.path()), std::set<std::string>{"registry.hive"}) << stop;
    }
    writer.Faults().FailAfterBytes(std::nullopt);
    writer.Faults().FailFlushes(true);
    EXPECT_FALSE(writer.Replace(next));
    EXPECT_EQ(writer.FailureReason(), "Input/output error");
    writer.Faults().FailFlushes(false);

    // A check that refuses stops the save with its own reason.
    EXPECT_FALSE(writer.Replace(next, [](std::string& reason) {
        reason = "not today";
        return false;
    }));
    EXPECT_EQ(writer.FailureReason(), "not today");
    EXPECT_EQ(ReadBytes(file), "old content\n");
    EXPECT_EQ(Names(dir.path()), std::set<std::string>{"registry.hive"});

    EXPECT_TRUE(writer.Replace(next));
    EXPECT_EQ(ReadBytes(file), next);
}

TEST(AtomicFile, AFolderInTheWayOrAMissingFolderIsReportedPlainly) {
    test::TempDir dir;
    fs::create_directory(dir / "registry.hive");
    AtomicFile inTheWay(dir / "registry.hive");
    EXPECT_FALSE(inTheWay.Replace("x"));
    EXPECT_EQ(inTheWay.FailureReason(), "Is a directory");
    EXPECT_TRUE(fs::is_directory(dir / "registry.hive"));
    EXPECT_EQ(Names(dir.path()), std::set<std::string>{"registry.hive"});

    AtomicFile nowhere(dir / "gone" / "registry.hive");
    EXPECT_FALSE(nowhere.Replace("x"));
    EXPECT_EQ(nowhere.FailureReason(), "No such file or directory");
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
