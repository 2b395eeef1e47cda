// The text of the CSV files, built without any file. The time texts of each export time type
// are checked with ExportTimeText, the headers of each type with the written files.
#include "export/csv_lines.h"

#include <gtest/gtest.h>

#include "support/record_builders.h"

namespace qv {
namespace {

using testing::MakeProject;
using testing::MakeRecord;

TEST(TimeRecordsCsv, DateFollowsDateTypeViewAndMemoRules) {
    TimeRecordList records;
    records.Append(MakeRecord(0, 2005, 10, 29, 5, u"A", u""));
    records.Append(MakeRecord(0, 2005, 10, 29, 5, u"B", u" "));
    records.Append(MakeRecord(0, 2005, 10, 29, 5, u"C", u"----x"));
    records.Append(MakeRecord(0, 2005, 10, 29, 5, u"D", u"\"say \"hi\" \u2022\u0122\"\"seven\""));
    EXPECT_EQ(
        TimeRecordsCsv(records, Minutes, MonthDayYearSlash, Comma),
        u"\"Date\",\"Category\",\"Time (minutes)\",\"Memo\"\r\n"
        u"\"10/29/2005\",\"A\",\"5\",\"----\"\r\n"  // empty memo
        u"\"10/29/2005\",\"B\",\"5\",\" \"\r\n"     // one blank stays
        u"\"10/29/2005\",\"C\",\"5\",\"----x\"\r\n"
        u"\"10/29/2005\",\"D\",\"5\",\"\"\"say \"\"hi\"\" \u2022\u0122\"\"\"\"seven\"\"\"\r\n");
    EXPECT_EQ(records.Current(), records.Last());  // the walk leaves the cursor on the last
}

TEST(ReportCsv, ProjectsInListOrderWithTotalsAndEmptyListsGiveTheHeader) {
    ProjectList projects;
    projects.Append(MakeProject(u"Zeta \"Z\"", 119));
    projects.Append(MakeProject(u"Alpha", 60));
    EXPECT_EQ(ProjectsBalanceCsv(projects, HoursOnly, Colon),
              u"\"Project\",\"Time (hours only)\"\r\n"
              u"\"Zeta \"\"Z\"\"\",\"1\"\r\n\"Alpha\",\"1\"\r\n");
    EXPECT_EQ(projects.Current(), projects.Last());

    // Header only for empty lists; the writers refuse those themselves.
    CategoryList none;
    EXPECT_EQ(CategoryReportCsv(none, Minutes, Comma), u"\"Category\",\"Time (minutes)\"\r\n");
}

}  // namespace
}  // namespace qv
