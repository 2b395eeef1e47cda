// Device folders on disk, the CSV writer's file calls with their failure hooks, whole-file
// replacement, the data folder's lock, small settings files and the system clock.
#include "platform/files/device_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <string>
#include <tuple>

#include "core/text.h"
#include "files/temp_dir.h"
#include "platform/files/atomic_file.h"
#include "platform/files/data_folder_lock.h"
#include "platform/files/small_file.h"
#include "platform/files/system_clock.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using test::Names;
using test::ReadBytes;
using test::WriteBytes;
using Names_ = std::set<std::string>;

class FilesTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(folders_.Provision()); }
    test::TempDir dir_;
    const fs::path& root_ = dir_.path();
    const fs::path business_ = root_ / "My Documents" / "Business";
    DeviceFolders folders_ = DeviceFolders::UnderRoot(root_);
};

TEST_F(FilesTest, ResolveMapsTheThreeFoldersWhateverTheirCaseAndNothingElse) {
    EXPECT_EQ(folders_.Resolve(u"\\My Documents\\Business\\week12.csv"), business_ / "week12.csv");
    EXPECT_EQ(folders_.Resolve(u"\\my documents\\PERSONAL\\R\u00e9sum\u00e9.csv"),
              root_ / "My Documents" / "Personal" / "R\xc3\xa9sum\xc3\xa9.csv");
    EXPECT_EQ(folders_.Resolve(u"\\WINDOWS\\enquorvella.htc"),
              root_ / "Windows" / "enquorvella.htc");
    EXPECT_EQ(folders_.Resolve(u"\\Windows"), root_ / "Windows");
    const std::u16string refused[] = {
        u"",
        u"\\My Documents",
        u"\\My Documents\\Other\\a.csv",
        u"\\WindowsX\\a.htm",
        u"My Documents\\Business\\a.csv",  // not absolute
        u"\\My Documents\\Business\\..\\Personal\\a.csv",
        u"\\Windows\\sub/../../etc",
        u"\\Windows\\\\a",  // empty component
        std::u16string(u"\\Windows\\a") + char16_t{0xD800},
        std::u16string(u"\\Windows\\a") + char16_t{0} + u"b",
    };
    for (const auto& path : refused) EXPECT_FALSE(folders_.Resolve(path)) << ToUtf8(path);
}

TEST_F(FilesTest, ForUserFollowsTheXdgFolders) {
    fs::path home = root_ / "home";
    fs::create_directories(home / "cfg");
    WriteBytes(home / "cfg" / "user-dirs.dirs",
               "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
               "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home / "cfg").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
    DeviceFolders user = DeviceFolders::ForUser();
    EXPECT_EQ(user.dataDir, root_ / "data" / "quorvella");
    EXPECT_EQ(user.documentsDir, home / "Dokumente" / "Quorvella");
    ::unsetenv("XDG_DATA_HOME");
    ::unsetenv("XDG_CONFIG_HOME");
    user = DeviceFolders::ForUser();
    EXPECT_EQ(user.dataDir, home / ".local" / "share" / "quorvella");
    EXPECT_EQ(user.documentsDir, home / "Documents" / "Quorvella");
}

TEST_F(FilesTest, ProvisionMakesTheFoldersOnceAndFindFirstFileGivesTheAttributeWord) {
    WriteBytes(business_ / "a.csv", "x");
    EXPECT_TRUE(folders_.Provision());
    EXPECT_EQ(ReadBytes(business_ / "a.csv"), "x");
    DeviceFolders blocked = DeviceFolders::UnderRoot(root_ / "other");
    fs::create_directories(root_ / "other" / "My Documents");
    WriteBytes(root_ / "other" / "My Documents" / "Personal", "a file in the way");
    EXPECT_FALSE(blocked.Provision());
    EXPECT_TRUE(fs::is_directory(root_ / "other" / "My Documents" / "Business"));

    // (A folder, a missing one and a file found are walked by the export tests.)
    DeviceFiles files(folders_);
    EXPECT_FALSE(files.FindFirstFile(u"\\Elsewhere\\none.csv"));
    EXPECT_EQ(files.FindFirstFile(u"\\My Documents\\Business\\a.csv"), FILE_ATTRIBUTE_ARCHIVE);
    ::chmod((business_ / "a.csv").c_str(), 0444);
    EXPECT_EQ(files.FindFirstFile(u"\\My Documents\\Business\\a.csv"),
              FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
}

TEST_F(FilesTest, CreateWriteCloseReplacesTheFileOnlyWhenClosed) {
    DeviceFiles files(folders_);
    const std::u16string path = u"\\My Documents\\Business\\week.csv";
    WriteBytes(business_ / "week.csv", "an older and longer content");
    // What a crash left beside it goes when the file is written again.
    WriteBytes(business_ / "week.csv.tmp.a1b2c3", "half");
    FileHandle h = files.CreateFile(path);
    ASSERT_NE(h, kInvalidFileHandle);
    EXPECT_TRUE(files.WriteFile(h, "\"Date\"\r\n", 8));
    EXPECT_TRUE(files.WriteFile(h, "x", 1));
    EXPECT_EQ(ReadBytes(business_ / "week.csv"), "an older and longer content");
    EXPECT_TRUE(files.CloseHandle(h));
    EXPECT_EQ(Names(business_), Names_{"week.csv"});
    EXPECT_EQ(ReadBytes(business_ / "week.csv"), "\"Date\"\r\nx");
    const mode_t umask = ::umask(0);
    ::umask(umask);
    EXPECT_EQ(fs::status(business_ / "week.csv").permissions(), fs::perms(0644 & ~umask));
    // A closed or foreign handle is refused.
    EXPECT_FALSE(files.WriteFile(h, "y", 1));
    EXPECT_FALSE(files.CloseHandle(h));

    // A link in the folder is replaced, never written through.
    fs::create_symlink(root_ / "outside.csv", business_ / "x.csv");
    EXPECT_EQ(files.FindFirstFile(u"\\My Documents\\Business\\x.csv"), FILE_ATTRIBUTE_ARCHIVE);
    h = files.CreateFile(u"\\My Documents\\Business\\x.csv");
    EXPECT_TRUE(files.WriteFile(h, "new", 3) && files.CloseHandle(h));
    EXPECT_FALSE(fs::exists(root_ / "outside.csv"));
    EXPECT_EQ(fs::symlink_status(business_ / "x.csv").type(), fs::file_type::regular);
    EXPECT_EQ(files.CreateFile(u"\\My Documents\\Business"), kInvalidFileHandle);  // a folder
}

TEST_F(FilesTest, OnlyOrphanedTemporariesAreRemoved) {
    for (const char* name : {"registry.hive", "registry.hive.tmp.a1b2c3", "registry.hive.tmp.held",
                             "registry.hive.tmp", "registry.hivetmp.x", "other.tmp.a1b2c3"})
        WriteBytes(business_ / name, "x");
    fs::create_directory(business_ / "registry.hive.tmp.folder");
    fs::create_symlink(business_ / "other.tmp.a1b2c3", business_ / "registry.hive.tmp.link");
    // A save running in another program holds its temporary locked.
    int held = ::open((business_ / "registry.hive.tmp.held").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    EXPECT_EQ(AtomicFile(business_ / "registry.hive").RemoveStaleTemporaries(), 1u);
    EXPECT_EQ(Names(business_),
              (Names_{"registry.hive", "registry.hive.tmp.held", "registry.hive.tmp",
                      "registry.hivetmp.x", "other.tmp.a1b2c3", "registry.hive.tmp.folder",
                      "registry.hive.tmp.link"}));
    ::close(held);
    EXPECT_EQ(AtomicFile(business_ / "registry.hive").RemoveStaleTemporaries(), 1u);
    EXPECT_EQ(AtomicFile(root_ / "missing" / "registry.hive").RemoveStaleTemporaries(), 0u);
}

TEST_F(FilesTest, TheDataFolderLockHasOneHolderAtATimeAndIsNoLockOnAnOddName) {
    using State = DataFolderLock::State;
    const fs::path file = root_ / DataFolderLock::kFileName;
    WriteBytes(file, "");  // a lock file a killed program left behind is simply taken
    {
        DataFolderLock first(root_);
        ASSERT_EQ(first.GetState(), State::Held);
        EXPECT_EQ(DataFolderLock(root_).GetState(), State::HeldElsewhere);  // a second open
        EXPECT_TRUE(fs::exists(file));  // the refused one removed nothing
    }
    DataFolderLock missing(root_ / "absent");
    EXPECT_EQ(missing.GetState(), State::Unavailable);
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    DataFolderLock pipe(root_);  // never waits on the pipe
    EXPECT_EQ(pipe.GetState(), State::Unavailable);
    EXPECT_EQ(pipe.Reason(), "not a regular file");
    fs::remove(file);
    fs::create_symlink(root_ / "elsewhere", file);
    EXPECT_EQ(DataFolderLock(root_).GetState(), State::Unavailable);
    EXPECT_FALSE(fs::exists(root_ / "elsewhere"));  // nothing made through the link
}

TEST_F(FilesTest, ReadsOnlyASmallRegularFileAndNeverWaitsOnAPipe) {
    using Outcome = SmallFileRead::Outcome;
    WriteBytes(root_ / "small", "abc");
    ASSERT_EQ(::mkfifo((root_ / "pipe").c_str(), 0600), 0);
    fs::create_symlink(root_ / "absent", root_ / "dangling");
    const std::tuple<fs::path, size_t, Outcome, std::string> cases[] = {
        {root_ / "small", 3, Outcome::Read, ""},
        {root_ / "small", 2, Outcome::TooLarge, ""},
        {root_ / "absent", 9, Outcome::Missing, ""},
        {root_ / "pipe", 9, Outcome::NotRegular, "a named pipe"},
        {root_ / "dangling", 9, Outcome::NotRegular, "a link to a missing file"},
    };
    for (const auto& [file, limit, outcome, reason] : cases) {
        const SmallFileRead read = ReadSmallRegularFile(file, limit);
        EXPECT_EQ(read.outcome, outcome) << file;
        EXPECT_EQ(outcome == Outcome::Read ? read.content : read.reason.substr(0, reason.size()),
                  outcome == Outcome::Read ? "abc" : reason);
    }
}

// The system clock reads universal time, with its weekday.
TEST(SystemClock, GivesTheCurrentUniversalTimeWithItsWeekday) {
    const time_t before = ::time(nullptr);
    const CalendarDate now = SystemClock().GetSystemTime();
    const auto seen = SecondsSinceEpoch(now);
    ASSERT_TRUE(seen);
    EXPECT_GE(*seen, before);
    EXPECT_LE(*seen, ::time(nullptr) + 1);  // time() may read a coarse clock a tick behind
    EXPECT_EQ(now.dayOfWeek, (*seen / 86400 + 4) % 7);  // 1 January 1970 was a Thursday
    EXPECT_LE(now.millisecond, 999);
}

CalendarDate Moment(uint16_t y, uint16_t mo, uint16_t d, uint16_t h, uint16_t mi, uint16_t dow) {
    CalendarDate t = MakeDate(y, mo, d);
    std::tie(t.hour, t.minute, t.second, t.millisecond, t.dayOfWeek) =
        std::tuple(h, mi, 15, 250, dow);
    return t;
}

// Local time is the user's day on either side of universal time, and the system clock's local
// time is its universal time read in the zone set now.
TEST(SystemClock, LocalTimeIsTheUsersDayOnEitherSideOfUniversalTime) {
    const char* old = ::getenv("TZ");
    const std::optional<std::string> saved = old ? std::optional<std::string>(old) : std::nullopt;
    const std::tuple<const char*, CalendarDate, CalendarDate> cases[] = {
        // a New Year's Eve: the day before universal time's
        {"America/Los_Angeles", Moment(2027, 1, 1, 2, 30, 5), Moment(2026, 12, 31, 18, 30, 4)},
        // a morning: the day after universal time's, into the next year
        {"Asia/Tokyo", Moment(2026, 12, 31, 20, 30, 4), Moment(2027, 1, 1, 5, 30, 5)},
        // no moment of the calendar: given back as it is
        {"Asia/Tokyo", Moment(2026, 2, 30, 12, 0, 0), Moment(2026, 2, 30, 12, 0, 0)},
    };
    for (const auto& [zone, utc, local] : cases) {
        ::setenv("TZ", zone, 1);
        EXPECT_EQ(LocalTimeOf(utc), local) << zone;
        const auto mine = SecondsSinceEpoch(SystemClock().GetLocalTime());
        const auto converted = SecondsSinceEpoch(LocalTimeOf(SystemClock().GetSystemTime()));
        ASSERT_TRUE(mine && converted);
        EXPECT_GE(*converted - *mine, 0);
        EXPECT_LE(*converted - *mine, 1);
    }
    saved ? ::setenv("TZ", saved->c_str(), 1) : ::unsetenv("TZ");
    ::tzset();
}

}  // namespace
}  // namespace qv
