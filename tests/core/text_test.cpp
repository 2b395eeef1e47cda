#include "core/text.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(FormatDecimal, WritesSignedNumbersInFull) {
    EXPECT_EQ(FormatDecimal(0), u"0");
    EXPECT_EQ(FormatDecimal(90), u"90");
    EXPECT_EQ(FormatDecimal(-60), u"-60");
    EXPECT_EQ(FormatDecimal(31235959), u"31235959");
    EXPECT_EQ(FormatDecimal(INT64_MIN), u"-9223372036854775808");
}

TEST(ParseLong, ReadsLikeTheStandardWideConversion) {
    EXPECT_EQ(ParseLong(u"90"), 90);
    EXPECT_EQ(ParseLong(u"0090"), 90);
    EXPECT_EQ(ParseLong(u" 45"), 45);
    EXPECT_EQ(ParseLong(u"\t\n 7"), 7);
    EXPECT_EQ(ParseLong(u"-15"), -15);
    EXPECT_EQ(ParseLong(u"+15"), 15);
    EXPECT_EQ(ParseLong(u"12abc"), 12);
    EXPECT_EQ(ParseLong(u"abc"), 0);
    EXPECT_EQ(ParseLong(u""), 0);
    EXPECT_EQ(ParseLong(u"- 5"), 0);  // the sign must touch the digits
}

TEST(ParseLong, SaturatesOnAbsurdlyLongDigitRuns) {
    EXPECT_EQ(ParseLong(u"999999999"), 999999999);  // the longest run read the quick way
    EXPECT_EQ(ParseLong(u"0999999999"), 999999999);
    EXPECT_EQ(ParseLong(u"9999999999"), 2147483647);
    EXPECT_EQ(ParseLong(u"2147483647"), 2147483647);
    EXPECT_EQ(ParseLong(u"2147483648"), 2147483647);
    EXPECT_EQ(ParseLong(u"-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseLong(u"-99999999999999999999999999"), INT32_MIN);
    EXPECT_EQ(ParseLong(std::u16string(5000, u'9')), 2147483647);
}

TEST(TrimBlanks, RemovesOnlyOuterBlanks) {
    EXPECT_EQ(TrimBlanks(u"   "), u"");
    EXPECT_EQ(TrimBlanks(u""), u"");
    EXPECT_EQ(TrimBlanks(u" a b "), u"a b");
    EXPECT_EQ(TrimBlanks(u"\tx "), u"\tx");  // a tab is not a blank
    EXPECT_EQ(TrimBlanks(u"week 12"), u"week 12");
}

TEST(Utf, RoundTripsEveryPlaneAndReplacesBrokenInput) {
    std::u16string text = u"Caf\u00e9 \u20ac \U0001F600 \u6642";
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(ToUtf8(u"\u00e9"), "\xc3\xa9");
    EXPECT_EQ(FromUtf8("\xff"), u"\uFFFD");
    EXPECT_EQ(FromUtf8("\xc3"), u"\uFFFD");            // cut short
    EXPECT_EQ(FromUtf8("\xc0\xaf"), u"\uFFFD\uFFFD");  // overlong
    EXPECT_EQ(ToUtf8(std::u16string(1, char16_t(0xD800))), "\xef\xbf\xbd");
}

}  // namespace
}  // namespace qv
