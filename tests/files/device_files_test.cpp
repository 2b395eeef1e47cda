// Device folders on disk and the CSV writer's file calls, including their failure hooks.
#include "platform/files/device_files.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <time.h>

#include <string>

#include "core/text.h"
#include "files/temp_dir.h"
#include "platform/files/system_clock.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

using test::Names;
using test::ReadBytes;
using test::WriteBytes;

class FilesTest : public ::testing::Test {
  protected:
    test::TempDir dir_;
    const fs::path& root_ = dir_.path();
    DeviceFolders folders_ = DeviceFolders::UnderRoot(root_);
};

TEST_F(FilesTest, ResolveMapsTheThreeFoldersWhateverTheirCase) {
    EXPECT_EQ(folders_.Resolve(u"\\My Documents\\Business\\week12.csv"),
              root_ / "My Documents" / "Business" / "week12.csv");
    EXPECT_EQ(folders_.Resolve(u"\\my documents\\PERSONAL\\R\u00e9sum\u00e9.csv"),
              root_ / "My Documents" / "Personal" / "R\xc3\xa9sum\xc3\xa9.csv");
    EXPECT_EQ(folders_.Resolve(u"\\WINDOWS\\enquorvella.htc"),
              root_ / "Windows" / "enquorvella.htc");
    EXPECT_EQ(folders_.Resolve(u"\\Windows"), root_ / "Windows");
}

TEST_F(FilesTest, ResolveRefusesPathsOutsideTheMappedFolders) {
    const std::u16string refused[] = {
        u"",
        u"\\My Documents",
        u"\\My Documents\\Other\\a.csv",
        u"\\Program Files\\a.csv",
        u"\\WindowsX\\a.htm",
        u"My Documents\\Business\\a.csv",  // not absolute
        u"\\My Documents\\Business\\..\\Personal\\a.csv",
        u"\\Windows\\..",
        u"\\Windows\\sub/../../etc",
        u"\\Windows\\\\a",  // empty component
        std::u16string(u"\\Windows\\a") + char16_t{0xD800},
        std::u16string(u"\\Windows\\a") + char16_t{0} + u"b",
    };
    for (const auto& path : refused) {
        EXPECT_FALSE(folders_.Resolve(path)) << ToUtf8(path);
    }
}

TEST_F(FilesTest, ForUserFollowsTheXdgFolders) {
    fs::path home = root_ / "home";
    fs::create_directories(home / "cfg");
    std::ofstream(home / "cfg" / "user-dirs.dirs")
        << "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
           "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n";
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home / "cfg").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
    DeviceFolders user = DeviceFolders::ForUser();
    EXPECT_EQ(user.dataDir, root_ / "data" / "quorvella");
    EXPECT_EQ(user.documentsDir, home / "Dokumente" / "Quorvella");
    EXPECT_EQ(user.HiveFile(), root_ / "data" / "quorvella" / "registry.hive");

    ::unsetenv("XDG_DATA_HOME");
    ::unsetenv("XDG_CONFIG_HOME");
    user = DeviceFolders::ForUser();
    EXPECT_EQ(user.dataDir, home / ".local" / "share" / "quorvella");
    EXPECT_EQ(user.documentsDir, home / "Documents" / "Quorvella");
}

TEST_F(FilesTest, ProvisionMakesTheFoldersOnceAndFailsWhenBlocked) {
    ASSERT_TRUE(folders_.Provision());
    EXPECT_TRUE(fs::is_directory(root_ / "Windows"));
    EXPECT_TRUE(fs::is_directory(root_ / "My Documents" / "Business"));
    EXPECT_TRUE(fs::is_directory(root_ / "My Documents" / "Personal"));
    std::ofstream(root_ / "My Documents" / "Business" / "keep.csv") << "x";
    EXPECT_TRUE(folders_.Provision());
    EXPECT_EQ(ReadBytes(root_ / "My Documents" / "Business" / "keep.csv"), "x");

    DeviceFolders blocked = DeviceFolders::UnderRoot(root_ / "other");
    fs::create_directories(root_ / "other" / "My Documents");
    std::ofstream(root_ / "other" / "My Documents" / "Personal") << "a file in the way";
    EXPECT_FALSE(blocked.Provision());
    EXPECT_TRUE(fs::is_directory(root_ / "other" / "My Documents" / "Business"));
}

TEST_F(FilesTest, FindFirstFileGivesTheAttributeWord) {
    ASSERT_TRUE(folders_.Provision());
    DeviceFiles files(folders_);
    EXPECT_EQ(files.FindFirstFile(u"\\My Documents\\Business"), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(files.FindFirstFile(u"\\My Documents\\Business\\none.csv"));
    EXPECT_FALSE(files.FindFirstFile(u"\\Elsewhere\\none.csv"));

    fs::path file = root_ / "My Documents" / "Business" / "a.csv";
    std::ofstream(file) << "x";
    EXPECT_EQ(files.FindFirstFile(u"\\My Documents\\Business\\a.csv"), FILE_ATTRIBUTE_ARCHIVE);
    ::chmod(file.c_str(), 0444);
    EXPECT_EQ(files.FindFirstFile(u"\\My Documents\\Business\\a.csv"),
              FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
    // A read-only folder is still exactly a directory.
    ::chmod((root_ / "Windows").c_str(), 0555);
    EXPECT_EQ(files.FindFirstFile(u"\\Windows"), FILE_ATTRIBUTE_DIRECTORY);
    ::chmod((root_ / "Windows").c_str(), 0755);
}

TEST_F(FilesTest, CreateWriteCloseReplacesTheFileOnlyWhenClosed) {
    ASSERT_TRUE(folders_.Provision());
    DeviceFiles files(folders_);
    const std::u16string path = u"\\My Documents\\Personal\\week.csv";
    const fs::path folder = root_ / "My Documents" / "Personal";
    WriteBytes(folder / "week.csv", "an older and longer content");
    // What a crash left beside it goes when the file is written again.
    WriteBytes(folder / "week.csv.tmp.a1b2c3", "half");

    FileHandle h = files.CreateFile(path);
    ASSERT_NE(h, kInvalidFileHandle);
    EXPECT_TRUE(files.WriteFile(h, "\"Date\"\r\n", 8));
    EXPECT_TRUE(files.WriteFile(h, "x", 1));
    EXPECT_EQ(ReadBytes(folder / "week.csv"), "an older and longer content");
    EXPECT_TRUE(files.CloseHandle(h));
    EXPECT_EQ(Names(folder), std::set<std::string>{"week.csv"});
    EXPECT_EQ(ReadBytes(folder / "week.csv"), "\"Date\"\r\nx");
    const mode_t umask = ::umask(0);
    ::umask(umask);
    EXPECT_EQ(fs::status(folder / "week.csv").permissions(), fs::perms(0644 & ~umask));

    // A closed or foreign handle is refused.
    EXPECT_FALSE(files.WriteFile(h, "y", 1));
    EXPECT_FALSE(files.CloseHandle(h));

    // The writer never makes folders and never replaces one or a read-only file.
    fs::remove_all(root_ / "My Documents" / "Business");
    EXPECT_EQ(files.CreateFile(u"\\My Documents\\Business\\a.csv"), kInvalidFileHandle);
    EXPECT_EQ(files.CreateFile(u"\\My Documents\\Personal"), kInvalidFileHandle);
    ::chmod((folder / "week.csv").c_str(), 0444);
    EXPECT_EQ(files.CreateFile(path), kInvalidFileHandle);
    EXPECT_EQ(Names(folder), std::set<std::string>{"week.csv"});
}

TEST_F(FilesTest, ALinkInTheFolderIsReplacedNeverWrittenThrough) {
    ASSERT_TRUE(folders_.Provision());
    const fs::path outside = root_ / "outside.csv";
    const fs::path link = root_ / "My Documents" / "Business" / "x.csv";
    fs::create_symlink(outside, link);
    const std::u16string path = u"\\My Documents\\Business\\x.csv";
    DeviceFiles files(folders_);
    EXPECT_EQ(files.FindFirstFile(path), FILE_ATTRIBUTE_ARCHIVE);  // in the way, so asked about
    FileHandle f = files.CreateFile(path);
    ASSERT_NE(f, kInvalidFileHandle);
    EXPECT_TRUE(files.WriteFile(f, "new", 3));
    EXPECT_TRUE(files.CloseHandle(f));
    EXPECT_FALSE(fs::exists(outside));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(link)));
    EXPECT_EQ(ReadBytes(link), "new");
}

// Every failure keeps the file as it was and leaves no temporary beside it.
TEST_F(FilesTest, HooksFailWritesCreatesFlushesAndRenames) {
    ASSERT_TRUE(folders_.Provision());
    const fs::path folder = root_ / "My Documents" / "Business";
    const std::u16string path = u"\\My Documents\\Business\\a.csv";
    WriteBytes(folder / "a.csv", "old");
    auto kept = [&] {
        return Names(folder) == std::set<std::string>{"a.csv"} &&
               ReadBytes(folder / "a.csv") == "old";
    };
    {
        DeviceFiles files(folders_);
        files.FailWritesAfter(1);
        FileHandle h = files.CreateFile(path);
        ASSERT_NE(h, kInvalidFileHandle);
        EXPECT_TRUE(files.WriteFile(h, "one", 3));
        EXPECT_FALSE(files.WriteFile(h, "two", 3));
        EXPECT_FALSE(files.CloseHandle(h));
        EXPECT_TRUE(kept());
        files.FailWritesAfter(-1);

        files.FailCreates(true);
        EXPECT_EQ(files.CreateFile(path), kInvalidFileHandle);
        EXPECT_TRUE(kept());
        files.FailCreates(false);

        for (bool flush : {true, false}) {
            files.Faults().FailFlushes(flush);
            files.Faults().FailRenames(!flush);
            h = files.CreateFile(path);
            ASSERT_NE(h, kInvalidFileHandle);
            EXPECT_TRUE(files.WriteFile(h, "new", 3));
            EXPECT_FALSE(files.CloseHandle(h)) << flush;
            EXPECT_TRUE(kept()) << flush;
        }
        files.Faults().FailRenames(false);
        // A handle left open goes with its owner, and its file with it.
        h = files.CreateFile(path);
        EXPECT_TRUE(files.WriteFile(h, "new", 3));
        EXPECT_EQ(Names(folder).size(), 2u);
    }
    EXPECT_TRUE(kept());
}

TEST(SystemClock, GivesTheCurrentUniversalTimeWithItsWeekday) {
    const time_t before = ::time(nullptr);
    const CalendarDate now = SystemClock().GetSystemTime();
    tm utc{};
    utc.tm_year = now.year - 1900;
    utc.tm_mon = now.month - 1;
    utc.tm_mday = now.day;
    utc.tm_hour = now.hour;
    utc.tm_min = now.minute;
    utc.tm_sec = now.second;
    const time_t seen = ::timegm(&utc);
    EXPECT_GE(seen, before);
    EXPECT_LE(seen, ::time(nullptr));
    EXPECT_EQ(now.dayOfWeek, utc.tm_wday);
    EXPECT_LE(now.millisecond, 999);
}

// The user's time zone for as long as it lives, then the one before.
class ZoneForNow {
  public:
    explicit ZoneForNow(const char* zone) {
        const char* old = ::getenv("TZ");
        had_ = old != nullptr;
        if (had_) old_ = old;
        ::setenv("TZ", zone, 1);
    }
    ~ZoneForNow() {
        if (had_) {
            ::setenv("TZ", old_.c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
    }

  private:
    bool had_ = false;
    std::string old_;
};

CalendarDate Moment(uint16_t y, uint16_t mo, uint16_t d, uint16_t h, uint16_t mi, uint16_t dow) {
    CalendarDate t = MakeDate(y, mo, d);
    t.hour = h;
    t.minute = mi;
    t.second = 15;
    t.millisecond = 250;
    t.dayOfWeek = dow;
    return t;
}

// The system clock's local time is its universal time read in the zone set now.
void ExpectSystemClockInZone() {
    const auto local = SecondsSinceEpoch(SystemClock().GetLocalTime());
    const auto converted = SecondsSinceEpoch(LocalTimeOf(SystemClock().GetSystemTime()));
    ASSERT_TRUE(local && converted);
    EXPECT_LE(*converted - *local, 1);
    EXPECT_GE(*converted - *local, 0);
}

TEST(SystemClock, LocalTimeIsTheUsersDayOnEitherSideOfUniversalTime) {
    {
        ZoneForNow zone("America/Los_Angeles");
        // an evening in winter and in summer, a New Year's Eve: the day before universal time's
        EXPECT_EQ(LocalTimeOf(Moment(2026, 12, 7, 3, 0, 1)), Moment(2026, 12, 6, 19, 0, 0));
        EXPECT_EQ(LocalTimeOf(Moment(2026, 7, 1, 3, 0, 3)), Moment(2026, 6, 30, 20, 0, 2));
        EXPECT_EQ(LocalTimeOf(Moment(2027, 1, 1, 2, 30, 5)), Moment(2026, 12, 31, 18, 30, 4));
        ExpectSystemClockInZone();
    }
    {
        ZoneForNow zone("Asia/Tokyo");
        // a morning: the day after universal time's, into the next year
        EXPECT_EQ(LocalTimeOf(Moment(2026, 12, 31, 20, 30, 4)), Moment(2027, 1, 1, 5, 30, 5));
        ExpectSystemClockInZone();
    }
    // no moment of the calendar: given back as it is
    const CalendarDate feb30 = Moment(2026, 2, 30, 12, 0, 0);
    EXPECT_EQ(LocalTimeOf(feb30), feb30);
}

}  // namespace
}  // namespace qv
