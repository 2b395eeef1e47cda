// The timer's rules and its file: the duration proposed, the day it started, and files that
// are no timer moved aside.
#include "platform/files/timer_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include "temp_dir.h"

namespace qv {
namespace {

int64_t At(uint16_t y, uint16_t mo, uint16_t d, uint16_t h, uint16_t mi, uint16_t s) {
    CalendarDate t = MakeDate(y, mo, d);
    t.hour = h;
    t.minute = mi;
    t.second = s;
    return *SecondsSinceEpoch(t);
}

TEST(Timer, ProposesTheNearestTenMinutesUpTo2350) {
    struct Case {
        int64_t elapsed;
        int32_t minutes, unbooked;
    };
    for (Case c : {Case{-40, 10, 0},
                   {30, 10, 0},
                   {1 * 3600 + 24 * 60 + 59, 80, 0},
                   {1 * 3600 + 25 * 60, 90, 0},
                   {23 * 3600 + 54 * 60, 1430, 0},
                   {23 * 3600 + 55 * 60, 1430, 10},
                   {26 * 3600, 1430, 130}}) {
        const TimerDuration d = ProposeDuration(c.elapsed);
        EXPECT_EQ(d.minutes, c.minutes) << c.elapsed;
        EXPECT_EQ(d.unbookedMinutes, c.unbooked) << c.elapsed;
    }
    EXPECT_EQ(HoursMinutes(130), u"2:10");
    EXPECT_EQ(HoursMinutes(27 * 60 + 5), u"27:05");
}

// The record's day is the day the timer started where the user is, not in universal time.
TEST(Timer, BooksTheLocalDayItStarted) {
    const char* old = getenv("TZ");
    const std::string kept = old != nullptr ? old : "";
    setenv("TZ", "CET-1", 1);
    const TimerStop beforeMidnight =
        ProposeStop({At(2026, 12, 7, 22, 59, 30), u"A", u"", u""}, At(2026, 12, 8, 0, 0, 0));
    const TimerStop afterMidnight =
        ProposeStop({At(2026, 12, 7, 23, 0, 30), u"A", u"", u""}, At(2026, 12, 8, 0, 0, 0));
    old != nullptr ? setenv("TZ", kept.c_str(), 1) : unsetenv("TZ");
    tzset();
    EXPECT_EQ(beforeMidnight.date, MakeDate(2026, 12, 7));
    EXPECT_EQ(beforeMidnight.duration.minutes, 60);
    EXPECT_EQ(afterMidnight.date, MakeDate(2026, 12, 8));
}

TEST(TimerFile, KeepsATimerAndOnlyOne) {
    test::TempDir dir;
    const int64_t now = At(2026, 12, 7, 13, 25, 0);
    const RunningTimer timer{now - 3600, u"Alpha \u00E9", u"Meeting", u"the memo"};
    std::string why;
    ASSERT_TRUE(StartTimer(dir.path(), timer, why)) << why;
    EXPECT_FALSE(StartTimer(dir.path(), {now, u"Beta", u"", u""}, why));
    EXPECT_FALSE(StartTimer(test::TempDir().path(), {now, u"", u"", u""}, why));  // no project
    const TimerReading read = ReadTimer(dir.path(), now);
    EXPECT_EQ(read.state, TimerReading::State::Running);
    EXPECT_EQ(read.timer, timer);
    EXPECT_EQ(test::ReadBytes(TimerFilePath(dir.path())),
              "Quorvella timer 1\nstart 2026-12-07 12:25:00\nproject Alpha \xC3\xA9\n"
              "category Meeting\nmemo the memo\nend\n");
    ASSERT_TRUE(RemoveTimer(dir.path(), why));
    EXPECT_EQ(ReadTimer(dir.path(), now).state, TimerReading::State::None);
    EXPECT_TRUE(RemoveTimer(dir.path(), why));
}

// Each kind of damage is said, and the file is moved aside whole, never read again.
TEST(TimerFile, MovesADamagedFileAside) {
    const int64_t now = At(2026, 12, 7, 13, 25, 0);
    const std::string whole = TimerFileText({now - 60, u"Alpha", u"Meeting", u""});
    const std::string damaged[] = {
        "",
        whole.substr(0, whole.size() - 1),
        whole.substr(0, whole.size() - 4),
        whole.substr(0, 40),
        whole + "more\n",
        "Another program 1\n" + whole.substr(18),
        TimerFileText({now + kTimerFutureSlack + 1, u"Alpha", u"", u""}),
        std::string(whole).replace(whole.find("12-07"), 5, "02-30"),
        std::string(whole).replace(whole.find("start "), 6, "stard "),
        std::string(whole).replace(whole.find("Alpha"), 5, "Al\x01ha"),
        std::string(whole).replace(whole.find("Alpha"), 5, "Al\xFFha"),
        std::string(whole).replace(whole.find("Alpha"), 5, ""),
        std::string(whole).replace(whole.find("memo "), 5, "memo " + std::string(30, 'm')),
        std::string(5000, 'x'),
    };
    for (const std::string& text : damaged) {
        test::TempDir dir;
        test::WriteBytes(TimerFilePath(dir.path()), text);
        const TimerReading read = ReadTimer(dir.path(), now);
        EXPECT_EQ(read.state, TimerReading::State::Damaged) << text;
        EXPECT_FALSE(read.problem.empty());
        EXPECT_EQ(test::Names(dir.path()), std::set<std::string>{"timer.damaged-20261207-132500"});
        EXPECT_EQ(test::ReadBytes(read.movedTo), text);
        test::WriteBytes(TimerFilePath(dir.path()), text);  // a second one finds a name of its own
        EXPECT_EQ(ReadTimer(dir.path(), now).movedTo.filename(), "timer.damaged-20261207-132500.1");
    }
    test::TempDir dir;  // something that is no file at all
    std::filesystem::create_directory(TimerFilePath(dir.path()));
    const TimerReading read = ReadTimer(dir.path(), now);
    EXPECT_EQ(read.state, TimerReading::State::Damaged);
    EXPECT_TRUE(std::filesystem::is_directory(read.movedTo)) << read.moveFailure;
    EXPECT_EQ(ReadTimer(dir.path(), now).state, TimerReading::State::None);
}

}  // namespace
}  // namespace qv
