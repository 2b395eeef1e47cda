#include "core/formatting.h"

#include <gtest/gtest.h>

#include "core/project.h"
#include "core/time_record.h"

namespace qv {
namespace {

// The four forms joined by "|", a record's and a project's (two-digit years).
template <typename Record>
std::u16string Forms(const Record& r) {
    return (DateText(r, 0).value_or(u"") + u"|" + DateText(r, 1).value_or(u"") + u"|") +
           (DateText(r, 2).value_or(u"") + u"|" + DateText(r, 3).value_or(u""));
}

TEST(SetDate, BuildsTheFourFormsAndTheKeyForRecordsAndProjects) {
    struct Case {
        CalendarDate date;
        uint32_t key;
        const char16_t *record, *project;
    } cases[] = {{MakeDate(2004, 3, 5), 20040305, u"05-03-2004|05/03/2004|03-05-2004|03/05/2004",
                  u"05-03-04|05/03/04|03-05-04|03/05/04"},
                 {MakeDate(2005, 10, 0), 20051000, u"00-10-2005|00/10/2005|10-00-2005|10/00/2005",
                  u"00-10-05|00/10/05|10-00-05|10/00/05"}};
    for (const Case& c : cases) {
        TimeRecord r;
        ProjectRecord p;
        ASSERT_TRUE(SetDate(r, c.date));
        ASSERT_TRUE(SetDate(p, c.date));
        EXPECT_EQ(r.dateKey, c.key);
        EXPECT_EQ(p.dateKey, c.key);
        EXPECT_EQ(Forms(r), c.record);
        EXPECT_EQ(Forms(p), c.project);
        EXPECT_EQ(DateText(r, 7), DateText(r, 0));  // an unknown form gives form 0
    }
}

// Bounds are checked before the texts are touched: the value is replaced, the texts and key
// are the last good ones.
TEST(SetDate, ChecksBoundsBeforeTouchingTheTexts) {
    TimeRecord r;
    ASSERT_TRUE(SetDate(r, MakeDate(2005, 12, 31)));
    for (CalendarDate no : {MakeDate(2005, 13, 1), MakeDate(999, 1, 1), MakeDate(10000, 1, 1)}) {
        EXPECT_FALSE(SetDate(r, no));
        EXPECT_EQ(r.date, no);
        EXPECT_EQ(DateText(r, 0), u"31-12-2005");
        EXPECT_EQ(r.dateKey, 20051231u);
    }
}

TEST(SetMinutes, WritesHoursAndTwoDigitMinutes) {
    struct Case {
        const char16_t* minutes;
        const char16_t* comma;
        const char16_t* colon;
    } cases[] = {{u"0", u"0,0", u"0:0"},       {u"9", u"0,09", u"0:09"},
                 {u"60", u"1,00", u"1:00"},    {u" 45", u"0,45", u"0:45"},
                 {u"-60", u"-1,00", u"-1:00"}, {u"60000", u"1000,00", u"1000:00"}};
    for (const Case& c : cases) {
        TimeRecord r;
        ASSERT_TRUE(SetMinutes(r, std::u16string(c.minutes))) << ToUtf8(c.minutes);
        EXPECT_EQ(r.minutesText, c.minutes);
        EXPECT_EQ(TimeText(r, Comma), c.comma);
        EXPECT_EQ(TimeText(r, Colon), c.colon);
        EXPECT_EQ(TimeText(r, 5), c.colon);  // any other selector shows the colon
    }
    // Absent and empty texts change nothing; a broken negative one leaves no minutes.
    TimeRecord r;
    ASSERT_TRUE(SetMinutes(r, u"90"));
    EXPECT_FALSE(SetMinutes(r, std::nullopt));
    EXPECT_FALSE(SetMinutes(r, u""));
    EXPECT_EQ(TimeText(r, Colon), u"1:30");
    EXPECT_FALSE(SetMinutes(r, u"-5"));
    EXPECT_FALSE(r.minutesText.has_value());
    EXPECT_FALSE(TimeText(r, Comma).has_value());
}

TEST(ExportTimeText, FollowsTheExportTimeType) {
    struct Case {
        int32_t minutes;
        uint32_t type, view;
        const char16_t* text;
    } cases[] = {
        {90, Minutes, Colon, u"90"},           {90, HoursAndMinutes, Comma, u"1,30"},
        {65, HoursAndMinutes, Colon, u"1:05"}, {120, HoursAndMinutes, Colon, u"2:00"},
        {119, HoursOnly, Colon, u"1"},         {0, HoursAndMinutes, Comma, u"0,0"},
        {-5, HoursAndMinutes, Colon, u"0"},    {100000, HoursAndMinutes, Colon, u"1666:40"}};
    for (const Case& c : cases) {
        EXPECT_EQ(ExportTimeText(c.minutes, c.type, c.view), c.text) << c.minutes << " " << c.type;
    }
}

}  // namespace
}  // namespace qv
