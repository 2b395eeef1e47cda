#include "core/text.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

// The standard wide conversion ("- 5": the sign must touch the digits), saturating on absurdly
// long digit runs; nine digits are the longest run read the quick way. Blanks only around.
TEST(ParseLong, ReadsLikeTheStandardWideConversion) {
    const std::pair<const char16_t*, int32_t> cases[] = {
        {u"0090", 90},
        {u"\t\n 7", 7},
        {u"12abc", 12},
        {u"- 5", 0},
        {u"999999999", 999999999},
        {u"0999999999", 999999999},
        {u"2147483648", 2147483647},
        {u"-2147483648", INT32_MIN},
    };
    for (auto [text, value] : cases) EXPECT_EQ(ParseLong(text), value) << ToUtf8(text);
    EXPECT_EQ(ParseLong(u"-99999999999999999999999999"), INT32_MIN);
    EXPECT_EQ(ParseLong(std::u16string(5000, u'9')), 2147483647);
    EXPECT_EQ(TrimBlanks(u" a b "), u"a b");
    EXPECT_EQ(TrimBlanks(u"\tx "), u"\tx");  // a tab is not a blank
}

TEST(Utf, RoundTripsEveryPlaneAndReplacesBrokenInput) {
    std::u16string text = u"Caf\u00e9 \u20ac \U0001F600 \u6642";
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(FromUtf8("\xff"), u"\uFFFD");
    EXPECT_EQ(FromUtf8("\xc3"), u"\uFFFD");            // cut short
    EXPECT_EQ(FromUtf8("\xc0\xaf"), u"\uFFFD\uFFFD");  // overlong
    EXPECT_EQ(ToUtf8(std::u16string(1, char16_t(0xD800))), "\xef\xbf\xbd");
}

}  // namespace
}  // namespace qv
