#include "tools/replay/script.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace qv::replay
