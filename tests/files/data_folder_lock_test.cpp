// The data folder's lock and the small settings files' reads.
#include "platform/files/data_folder_lock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/temp_dir.h"
#include "platform/files/small_file.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using State = DataFolderLock::State;

TEST(DataFolderLock, OneHolderAtATimeAndTheFileGoesWithTheLast) {
    test::TempDir dir;
    const fs::path file = dir / DataFolderLock::kFileName;
    // A lock file a killed program left behind is simply taken.
    test::WriteBytes(file, "");
    {
        DataFolderLock first(dir.path());
        ASSERT_EQ(first.GetState(), State::Held);
        DataFolderLock second(dir.path());  // flock: a second open of the file conflicts
        EXPECT_EQ(second.GetState(), State::HeldElsewhere);
        EXPECT_TRUE(fs::exists(file));  // the refused one removed nothing
        first.Release();
        EXPECT_FALSE(fs::exists(file));
        DataFolderLock third(dir.path());
        EXPECT_EQ(third.GetState(), State::Held);
        EXPECT_EQ(DataFolderLock(dir.path()).GetState(), State::HeldElsewhere);
    }
    EXPECT_FALSE(fs::exists(file));
}

TEST(DataFolderLock, ANameThatHoldsNoPlainFileOrNoFolderIsNoLock) {
    test::TempDir dir;
    DataFolderLock missing(dir / "absent");
    EXPECT_EQ(missing.GetState(), State::Unavailable);
    EXPECT_EQ(missing.Reason(), "No such file or directory");

    ASSERT_EQ(::mkfifo((dir / DataFolderLock::kFileName).c_str(), 0600), 0);
    DataFolderLock pipe(dir.path());  // never waits on the pipe
    EXPECT_EQ(pipe.GetState(), State::Unavailable);
    EXPECT_EQ(pipe.Reason(), "not a regular file");
    fs::remove(dir / DataFolderLock::kFileName);

    fs::create_symlink(dir / "elsewhere", dir / DataFolderLock::kFileName);
    EXPECT_EQ(DataFolderLock(dir.path()).GetState(), State::Unavailable);
    EXPECT_FALSE(fs::exists(dir / "elsewhere"));  // nothing made through the link
}

TEST(SmallFile, ReadsOnlyASmallRegularFileAndNeverWaitsOnAPipe) {
    using Outcome = SmallFileRead::Outcome;
    test::TempDir dir;
    test::WriteBytes(dir / "small", "abc");
    SmallFileRead read = ReadSmallRegularFile(dir / "small", 3);
    EXPECT_EQ(read.outcome, Outcome::Read);
    EXPECT_EQ(read.content, "abc");
    EXPECT_EQ(ReadSmallRegularFile(dir / "small", 2).outcome, Outcome::TooLarge);
    EXPECT_EQ(ReadSmallRegularFile(dir / "absent", 9).outcome, Outcome::Missing);

    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    read = ReadSmallRegularFile(dir / "pipe", 9);
    EXPECT_EQ(read.outcome, Outcome::NotRegular);
    EXPECT_EQ(read.reason, "a named pipe");
    EXPECT_EQ(ReadSmallRegularFile(dir.path(), 9).reason, "a folder");
    EXPECT_EQ(ReadSmallRegularFile("/dev/zero", 9).reason, "a device");
    fs::create_symlink(dir / "absent", dir / "dangling");
    read = ReadSmallRegularFile(dir / "dangling", 9);
    EXPECT_EQ(read.outcome, Outcome::NotRegular);
    EXPECT_EQ(read.reason, "a link to a missing file");
}

}  // namespace
}  // namespace qv
