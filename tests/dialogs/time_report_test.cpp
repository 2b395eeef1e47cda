// The time report's list that cannot be sorted, and the reports' sortable list. The report
// scenarios walk the rest (layouts, header taps, the sort that OK writes back).
#include "dialogs/time_report.h"

#include <gtest/gtest.h>

#include <string>

#include "core/reports.h"
#include "dialogs/list_images.h"
#include "dialogs/report_list.h"
#include "headless/scripted_host.h"
#include "res/templates.h"
#include "support/record_builders.h"

namespace qv {
namespace {

using testing::MakeCategory;
using testing::MakeRecord;

// A category without a name cannot be looked up again, so the list cannot be sorted.
using TimeReportTest = test::ScriptedHost;

TEST_F(TimeReportTest, AListThatCannotBeSortedEndsTheDialogWithoutAWord) {
    AppState s;
    s.categories.Add(MakeCategory(u"Travel"));
    s.categories.Add(CategoryItem());
    s.timeRecords.Append(MakeRecord(1, 2005, 10, 3, 30, u"Travel"));
    s.rangeStartDate = MakeDate(2005, 10, 1);
    s.rangeEndDate = MakeDate(2005, 10, 31);
    Add(A::MakeCheck(kTimeReportAll));
    Add(A::MakeClick(kTimeReportView));
    EXPECT_EQ(ShowTimeReport(host, s, [] {}), kTimeReportFailed);
    EXPECT_FALSE(s.categories.Last()->name.has_value());  // nothing moved
    for (const std::string& e : events) EXPECT_EQ(e.rfind("message", 0), std::string::npos);
}

constexpr ReportListShape kShape{
    kTimeReportList,      {1, 2, 3, 4},
    {5, 6, 7, 8},         {{kStrReportCategoryHeader, 11, 21}, {kStrReportTimeHeader, 12, 22}},
    SortCategoriesByName, SortCategoriesByTime};

// Beta, Alpha and Gamma: by name A B G, by time B G A. A list by time without a chosen
// direction is shown and sorted by name, ascending; the working values stay as they were, for
// OK to write back.
TEST(ReportList, ShowsTheArrowOfTheWorkingSortAndSortsAsItShows) {
    struct Case {
        uint32_t column, order;
        int nameArrow, timeArrow;
        std::u16string sorted;
    } cases[] = {{kReportByName, 1, kImageDown, kImageNone, u"GBA"},
                 {kReportByTime, 0, kImageNone, kImageUp, u"BGA"},
                 {kReportByTime, 1, kImageNone, kImageDown, u"AGB"},
                 {kReportByTime, 2, kImageUp, kImageNone, u"ABG"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.column << " " << c.order);
        Dialog d(*FindDialogTemplate(kTimeReportTemplate));
        AppState s;
        for (auto [name, total] : {std::pair{u"Beta", 10}, {u"Alpha", 30}, {u"Gamma", 20}}) {
            s.categories.Add(MakeCategory(name, total));
        }
        ReportList list(kShape);
        list.sortColumn = c.column;
        list.sortOrder = c.order;
        ASSERT_TRUE(list.Create(d, false));
        EXPECT_EQ(d.HeaderImage(kShape.id, 0), c.nameArrow);
        EXPECT_EQ(d.HeaderImage(kShape.id, 1), c.timeArrow);
        ASSERT_TRUE(list.Sort(s));
        std::u16string order;
        for (CategoryItem* i = s.categories.First(); i != nullptr; i = s.categories.Next()) {
            order += i->name->front();
        }
        EXPECT_EQ(order, c.sorted);
        EXPECT_EQ(list.sortColumn, c.column);
        EXPECT_EQ(list.sortOrder, c.order);
    }
}

}  // namespace
}  // namespace qv
