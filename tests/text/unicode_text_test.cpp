// Character classes, case mapping, case-insensitive comparison and the ANSI code page.
#include "platform/text/unicode_text.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

// a, é, ß, Cyrillic Zhe, Z, 7, Arabic-Indic three and mathematical bold A (a pair, either half);
// then blank, hyphen, underscore, full stop, an emoji (either half) and a lone half.
TEST(IsLetterOrDigitAt, LettersOfAnyScriptAndDigitsButNoPunctuation) {
    const std::u16string yes = u"a\u00e9\u00df\u0416Z7\u0663\U0001D400";
    const std::u16string no = u" -_.\U0001F600" + std::u16string{0xD835};
    for (size_t i = 0; i < yes.size(); ++i) EXPECT_TRUE(IsLetterOrDigitAt(yes, i)) << i;
    for (size_t i = 0; i < no.size(); ++i) EXPECT_FALSE(IsLetterOrDigitAt(no, i)) << i;
    EXPECT_FALSE(IsLetterOrDigitAt(yes, yes.size()));  // past the end
    EXPECT_FALSE(IsLetterOrDigitAt(u"", 0));
}

TEST(CaseMapping, NamesAreLoweredThenTheFirstCharacterRaised) {
    EXPECT_EQ(ToLowerText(u"\u00c9T\u00c9 \u0416"), u"\u00e9t\u00e9 \u0436");
    EXPECT_EQ(UpperFirstCharacter(u""), u"");
    // One character in, one character out: ß has no single upper-case letter.
    EXPECT_EQ(UpperFirstCharacter(u"\u00dfe"), u"\u00dfe");
    // A pair is raised as a whole (Deseret small long I -> capital).
    EXPECT_EQ(UpperFirstCharacter(u"\U00010428x"), u"\U00010400x");
    EXPECT_EQ(ToLowerText(u"\U00010400"), u"\U00010428");
    // Lone surrogates pass through untouched.
    std::u16string lone{0xDC00, u'A'};
    EXPECT_EQ(ToLowerText(lone), (std::u16string{0xDC00, u'a'}));
    EXPECT_EQ(UpperFirstCharacter(lone), lone);
}

TEST(CaseInsensitive, ComparisonsFoldCaseAndOrderTotally) {
    EXPECT_TRUE(EqualsNoCase(u"\u00c9t\u00e9", u"\u00e9T\u00c9"));
    EXPECT_TRUE(EqualsNoCase(u"Stra\u00dfe", u"STRASSE"));  // full folding
    EXPECT_FALSE(EqualsNoCase(u"Meeting", u"Meetings"));
    EXPECT_TRUE(StartsWithNoCase(u"Travel abroad", u"TRAV"));
    EXPECT_FALSE(StartsWithNoCase(u"Tr", u"Travel"));

    // Equal but for case: still ordered, by code units, so sorting is stable and total.
    EXPECT_LT(CompareNoCase(u"ABC", u"abc"), 0);
    EXPECT_LT(CompareNoCase(u"ab", u"ABC"), 0);
}

TEST(ToAnsiCodePage, OneBytePerCodeUnitWithQuestionMarksForTheRest) {
    EXPECT_EQ(ToAnsiCodePage(u"caf\u00e9 \u00ff"), "caf\xe9 \xff");
    EXPECT_EQ(ToAnsiCodePage(u"\u20ac\u201c\u201d\u2122\u0178"), "\x80\x93\x94\x99\x9f");
    EXPECT_EQ(ToAnsiCodePage(u"\U0001F600"), "??");  // a pair is two code units
    // C1 controls: only the five bytes Windows-1252 leaves free carry them.
    EXPECT_EQ(ToAnsiCodePage(u"\u0081\u008d\u008f\u0090\u009d"), "\x81\x8d\x8f\x90\x9d");
    EXPECT_EQ(ToAnsiCodePage(u"\u0080\u0099"), "??");
    EXPECT_EQ(ToAnsiCodePage(std::u16string{u'a', 0, u'b'}), std::string("a\0b", 3));
}

}  // namespace
}  // namespace qv
