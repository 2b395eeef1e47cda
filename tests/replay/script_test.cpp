#include "tools/replay/script.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "tools/replay/replay.h"

namespace qv::replay {
namespace {

TEST(Tokenize, SplitsOnBlanksAndReadsQuotedTextsWithEscapes) {
    auto t = Tokenize("type 1025  \"week \\\"12\\\" a\\\\b\"");
    ASSERT_TRUE(t);
    ASSERT_EQ(t->size(), 3u);
    EXPECT_EQ((*t)[0].text, "type");
    EXPECT_FALSE((*t)[1].quoted);
    EXPECT_EQ((*t)[2].text, "week \"12\" a\\b");
    EXPECT_TRUE((*t)[2].quoted);
    EXPECT_EQ(Tokenize("project \"\"")->at(1).text, "");
    EXPECT_FALSE(Tokenize("project \"Alpha"));
}

TEST(ParseDate, TakesOnlyDaysThatExist) {
    auto d = ParseDate("2004-02-29");
    ASSERT_TRUE(d);
    EXPECT_EQ(*d, MakeDate(2004, 2, 29));
    EXPECT_FALSE(ParseDate("2005-02-29"));
    EXPECT_FALSE(ParseDate("2005-04-31"));
    EXPECT_FALSE(ParseDate("2005-13-01"));
    EXPECT_FALSE(ParseDate("2005-1-01"));
    EXPECT_FALSE(ParseDate("2005-01-+1"));
}

TEST(ParseTime, TakesTwoDigitFieldsWithinTheDay) {
    CalendarDate d;
    EXPECT_TRUE(ParseTime("23:59:59", d));
    EXPECT_EQ(d.hour, 23);
    EXPECT_EQ(d.second, 59);
    EXPECT_FALSE(ParseTime("24:00:00", d));
    EXPECT_FALSE(ParseTime("-1:00:00", d));
    EXPECT_FALSE(ParseTime("12:00", d));
}

TEST(ParseNumber, TakesPlainDecimalsOnly) {
    EXPECT_EQ(ParseNumber("40010"), 40010);
    EXPECT_EQ(ParseNumber("040010"), 40010);
    EXPECT_FALSE(ParseNumber("+1"));
    EXPECT_FALSE(ParseNumber("-1"));
    EXPECT_FALSE(ParseNumber("0x10"));
    EXPECT_FALSE(ParseNumber(""));
    EXPECT_FALSE(ParseNumber("99999999999"));
}

std::optional<UserAction> Action(const std::string& line) {
    return ParseWindowAction(*Tokenize(line));
}

TEST(ParseWindowAction, ReadsEachWindowActionWithItsNumbersTextsAndDates) {
    auto type = Action("type 01025 \"caf\xc3\xa9\"");
    ASSERT_TRUE(type);
    EXPECT_EQ(type->kind, UserAction::Kind::Type);
    EXPECT_EQ(type->id, 1025);
    EXPECT_EQ(type->text, u"caf\u00e9");
    auto date = Action("date 1016 2005-10-29");
    ASSERT_TRUE(date && date->date);
    EXPECT_EQ(date->date->dayOfWeek, 6);  // a Saturday
    EXPECT_FALSE(Action("date 1016 none")->date);
    EXPECT_EQ(Action("header 500 2")->index, 2);
    EXPECT_EQ(Action("project \"Alpha\"")->id, 1000);
    EXPECT_TRUE(Action("answer no") && !Action("answer no")->yes);
    EXPECT_FALSE(Action("tap 500 -1"));
    EXPECT_FALSE(Action("click"));
    EXPECT_FALSE(Action("type 1025 x"));
    EXPECT_FALSE(Action("project Alpha"));
    EXPECT_FALSE(Action("screen 240 320"));  // not an action on a window
}

// A keyword, number or "none" written in quotes is a text, and a text is no keyword.
TEST(ParseWindowAction, TakesNoQuotedTextForAKeywordOrNumber) {
    EXPECT_FALSE(Action("\"click\" 1027"));
    EXPECT_FALSE(Action("click \"1027\""));
    EXPECT_FALSE(Action("answer \"yes\""));
    EXPECT_FALSE(Action("date 1016 \"none\""));
    EXPECT_FALSE(Action("date 1016 \"2005-10-29\""));
    EXPECT_FALSE(Action("tap 500 \"3\""));
    EXPECT_FALSE(Action("\"help\""));
}

// The same holds for the lines outside the windows: nothing starts, nothing is made.
TEST(ReplayRun, TakesNoQuotedKeywordOutsideTheWindows) {
    const auto root =
        std::filesystem::temp_directory_path() / ("qv-quoted-" + std::to_string(getpid()));
    const std::pair<std::string, std::string> cases[] = {
        {"\"start\"", "not an action"},      {"screen \"320\" 240", "not a screen size"},
        {"\"show\" store", "not an action"}, {"show \"registry\"", "not an action"},
        {"\"kill\"", "not an action"},
    };
    for (const auto& [line, why] : cases) {
        std::ostringstream out;
        EXPECT_EQ(Replay(root, {line}, out).Run(), 1) << line;
        EXPECT_EQ(out.str(), "> " + line + "\n! " + line + ": " + why + "\n");
    }
    EXPECT_FALSE(std::filesystem::exists(root));
}

}  // namespace
}  // namespace qv::replay
