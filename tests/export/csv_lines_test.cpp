// The lines of the CSV files, built without any file.
#include "export/csv_lines.h"

#include <gtest/gtest.h>

#include "export/export_fixture.h"

namespace qv {
namespace {

using test::AddProject;
using test::AddRecord;

// A file's text cut after each line end.
std::vector<std::u16string> Lines(const std::u16string& text) {
    std::vector<std::u16string> lines;
    for (size_t at = 0; at < text.size();) {
        const size_t end = text.find(u"\r\n", at);
        const size_t next = end == std::u16string::npos ? text.size() : end + 2;
        lines.push_back(text.substr(at, next - at));
        at = next;
    }
    return lines;
}

TEST(TimeRecordsCsv, DateFollowsDateTypeViewAndMemoRules) {
    TimeRecordList records;
    AddRecord(records, 2005, 10, 29, u"A", u"5", u"");
    AddRecord(records, 2005, 10, 29, u"B", u"5", u" ");
    AddRecord(records, 2005, 10, 29, u"C", u"5", u"----x");
    auto lines = Lines(TimeRecordsCsv(records, Minutes, MonthDayYearSlash, Comma));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(records.Current(), records.Last());  // the walk leaves the cursor on the last
    EXPECT_EQ(lines[1], u"\"10/29/2005\",\"A\",\"5\",\"----\"\r\n");  // empty memo
    EXPECT_EQ(lines[2], u"\"10/29/2005\",\"B\",\"5\",\" \"\r\n");     // one blank stays
    EXPECT_EQ(lines[3], u"\"10/29/2005\",\"C\",\"5\",\"----x\"\r\n");
    // A selector outside 0 to 3 gives the first form.
    EXPECT_EQ(Lines(TimeRecordsCsv(records, Minutes, 7, Comma))[1].substr(0, 12),
              u"\"29-10-2005\"");
}

TEST(TimeRecordsCsv, EveryTimeTypeAndSeparator) {
    TimeRecordList records;
    for (const char16_t* m : {u"0", u"59", u"65", u"90", u"1500"}) {
        AddRecord(records, 2004, 5, 3, u"X", m);
    }
    auto cells = [&](uint32_t timeType, uint32_t timeView) {
        std::vector<std::u16string> out;
        auto lines = Lines(TimeRecordsCsv(records, timeType, 0, timeView));
        for (size_t i = 1; i < lines.size(); ++i) {
            // date, category, time, memo: the third quoted field
            size_t start = lines[i].find(u"\",\"X\",\"") + 7;
            out.push_back(lines[i].substr(start, lines[i].find(u'"', start) - start));
        }
        return std::pair(lines[0], out);
    };
    using V = std::vector<std::u16string>;
    auto [h0, minutes] = cells(Minutes, Colon);
    EXPECT_EQ(h0, u"\"Date\",\"Category\",\"Time (minutes)\",\"Memo\"\r\n");
    EXPECT_EQ(minutes, (V{u"0", u"59", u"65", u"90", u"1500"}));
    auto [h1, comma] = cells(HoursAndMinutes, Comma);
    EXPECT_EQ(h1, u"\"Date\",\"Category\",\"Time (hours and minutes)\",\"Memo\"\r\n");
    EXPECT_EQ(comma, (V{u"0,0", u"0,59", u"1,05", u"1,30", u"25,00"}));
    EXPECT_EQ(cells(HoursAndMinutes, Colon).second,
              (V{u"0:0", u"0:59", u"1:05", u"1:30", u"25:00"}));
    auto [h2, hours] = cells(HoursOnly, Comma);
    EXPECT_EQ(h2, u"\"Date\",\"Category\",\"Time (hours only)\",\"Memo\"\r\n");
    EXPECT_EQ(hours, (V{u"0", u"0", u"1", u"1", u"25"}));
}

TEST(ReportCsv, ProjectsInListOrderWithTotalsAndEmptyListsGiveTheHeader) {
    ProjectList projects;
    AddProject(projects, u"Zeta \"Z\"", 119);
    AddProject(projects, u"Alpha", 60);
    auto p = Lines(ProjectsBalanceCsv(projects, HoursOnly, Colon));
    EXPECT_EQ(
        p, (std::vector<std::u16string>{u"\"Project\",\"Time (hours only)\"\r\n",
                                        u"\"Zeta \"\"Z\"\"\",\"1\"\r\n", u"\"Alpha\",\"1\"\r\n"}));
    EXPECT_EQ(projects.Current(), projects.Last());

    // Header only for empty lists; the writers refuse those themselves.
    CategoryList none;
    EXPECT_EQ(Lines(CategoryReportCsv(none, Minutes, Comma)),
              std::vector<std::u16string>{u"\"Category\",\"Time (minutes)\"\r\n"});
}

}  // namespace
}  // namespace qv
