#include "core/formatting.h"

#include <gtest/gtest.h>

#include "core/project.h"
#include "core/time_record.h"

namespace qv {
namespace {

TEST(SetDate, BuildsTheFourFormsAndTheKeyForRecordsAndProjects) {
    TimeRecord r;
    ProjectRecord p;
    ASSERT_TRUE(SetDate(r, MakeDate(2005, 10, 29)));
    ASSERT_TRUE(SetDate(p, MakeDate(2005, 10, 29)));
    EXPECT_EQ(DateText(r, 0), u"29-10-2005");
    EXPECT_EQ(DateText(r, 1), u"29/10/2005");
    EXPECT_EQ(DateText(r, 2), u"10-29-2005");
    EXPECT_EQ(DateText(r, 3), u"10/29/2005");
    EXPECT_EQ(DateText(p, 0), u"29-10-05");
    EXPECT_EQ(DateText(p, 1), u"29/10/05");
    EXPECT_EQ(DateText(p, 2), u"10-29-05");
    EXPECT_EQ(DateText(p, 3), u"10/29/05");
    EXPECT_EQ(r.dateKey, 20051029u);
    EXPECT_EQ(p.dateKey, 20051029u);

    ASSERT_TRUE(SetDate(r, MakeDate(2004, 3, 5)));
    ASSERT_TRUE(SetDate(p, MakeDate(2004, 3, 5)));
    EXPECT_EQ(DateText(r, 0), u"05-03-2004");
    EXPECT_EQ(DateText(r, 3), u"03/05/2004");
    EXPECT_EQ(DateText(p, 2), u"03-05-04");
    EXPECT_EQ(r.dateKey, 20040305u);
    EXPECT_EQ(DateText(r, 7), u"05-03-2004");  // an unknown form gives form 0
}

TEST(SetDate, ChecksBoundsBeforeTouchingTheTexts) {
    TimeRecord r;
    ASSERT_TRUE(SetDate(r, MakeDate(2005, 12, 31)));
    EXPECT_FALSE(SetDate(r, MakeDate(2005, 10, 32)));
    EXPECT_FALSE(SetDate(r, MakeDate(2005, 13, 1)));
    EXPECT_FALSE(SetDate(r, MakeDate(999, 1, 1)));
    EXPECT_FALSE(SetDate(r, MakeDate(10000, 1, 1)));
    // The value was replaced, the texts and key are the last good ones.
    EXPECT_EQ(r.date, MakeDate(10000, 1, 1));
    EXPECT_EQ(DateText(r, 0), u"31-12-2005");
    EXPECT_EQ(r.dateKey, 20051231u);

    ASSERT_TRUE(SetDate(r, MakeDate(2005, 10, 0)));
    EXPECT_EQ(DateText(r, 0), u"00-10-2005");

    ProjectRecord p;
    ASSERT_TRUE(SetDate(p, MakeDate(1000, 1, 1)));
    EXPECT_EQ(DateText(p, 0), u"01-01-00");
    ASSERT_TRUE(SetDate(p, MakeDate(2000, 1, 1)));
    EXPECT_EQ(DateText(p, 0), u"01-01-00");
    EXPECT_EQ(p.dateKey, 20000101u);
    ASSERT_TRUE(SetDate(r, MakeDate(1000, 1, 1)));
    EXPECT_EQ(DateText(r, 0), u"01-01-1000");
}

TEST(SetMinutes, WritesHoursAndTwoDigitMinutes) {
    struct Case {
        const char16_t* minutes;
        const char16_t* comma;
        const char16_t* colon;
    } cases[] = {
        {u"0", u"0,0", u"0:0"},        {u"5", u"0,05", u"0:05"},   {u"59", u"0,59", u"0:59"},
        {u"60", u"1,00", u"1:00"},     {u"90", u"1,30", u"1:30"},  {u"810", u"13,30", u"13:30"},
        {u"1500", u"25,00", u"25:00"}, {u" 45", u"0,45", u"0:45"}, {u"-60", u"-1,00", u"-1:00"}};
    for (const Case& c : cases) {
        TimeRecord r;
        ASSERT_TRUE(SetMinutes(r, std::u16string(c.minutes))) << ToUtf8(c.minutes);
        EXPECT_EQ(r.minutesText, c.minutes);
        EXPECT_EQ(TimeText(r, Comma), c.comma);
        EXPECT_EQ(TimeText(r, Colon), c.colon);
        EXPECT_EQ(TimeText(r, 5), c.colon);  // any other selector shows the colon
    }
}

TEST(SetMinutes, RefusesAbsentEmptyAndBrokenNegativeTexts) {
    TimeRecord r;
    ASSERT_TRUE(SetMinutes(r, u"90"));
    EXPECT_FALSE(SetMinutes(r, std::nullopt));
    EXPECT_FALSE(SetMinutes(r, u""));
    EXPECT_EQ(r.minutesText, u"90");
    EXPECT_EQ(TimeText(r, Colon), u"1:30");
    EXPECT_FALSE(SetMinutes(r, u"-5"));
    EXPECT_FALSE(r.minutesText.has_value());
    EXPECT_FALSE(TimeText(r, Comma).has_value());
}

TEST(ExportTimeText, FollowsTheExportTimeType) {
    EXPECT_EQ(ExportTimeText(90, Minutes, Colon), u"90");
    EXPECT_EQ(ExportTimeText(90, HoursAndMinutes, Comma), u"1,30");
    EXPECT_EQ(ExportTimeText(90, HoursAndMinutes, Colon), u"1:30");
    EXPECT_EQ(ExportTimeText(65, HoursAndMinutes, Comma), u"1,05");
    EXPECT_EQ(ExportTimeText(90, HoursOnly, Colon), u"1");
    EXPECT_EQ(ExportTimeText(59, HoursOnly, Colon), u"0");
    EXPECT_EQ(ExportTimeText(119, HoursOnly, Colon), u"1");
    EXPECT_EQ(ExportTimeText(0, Minutes, Colon), u"0");
    EXPECT_EQ(ExportTimeText(0, HoursAndMinutes, Comma), u"0,0");
    EXPECT_EQ(ExportTimeText(0, HoursAndMinutes, Colon), u"0:0");
    EXPECT_EQ(ExportTimeText(0, HoursOnly, Colon), u"0");
    EXPECT_EQ(ExportTimeText(-5, HoursAndMinutes, Colon), u"0");
    EXPECT_EQ(ExportTimeText(100000, HoursAndMinutes, Colon), u"1666:40");
}

}  // namespace
}  // namespace qv
