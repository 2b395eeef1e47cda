// The reports' sortable list: the arrow it shows for the working sort values and the sort those
// values choose. Its place in each layout is checked through the time report; header taps are
// walked by the report scenarios.
#include "dialogs/report_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/reports.h"
#include "dialogs/list_images.h"
#include "dialogs/time_report.h"
#include "res/templates.h"

namespace qv {
namespace {

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
    } cases[] = {{kReportByName, 0, kImageUp, kImageNone, u"ABG"},
                 {kReportByName, 1, kImageDown, kImageNone, u"GBA"},
                 {kReportByName, 2, kImageUp, kImageNone, u"ABG"},
                 {kReportByTime, 0, kImageNone, kImageUp, u"BGA"},
                 {kReportByTime, 1, kImageNone, kImageDown, u"AGB"},
                 {kReportByTime, 2, kImageUp, kImageNone, u"ABG"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.column << " " << c.order);
        Dialog d(*FindDialogTemplate(kTimeReportTemplate));
        AppState s;
        for (auto [name, total] : {std::pair{u"Beta", 10}, {u"Alpha", 30}, {u"Gamma", 20}}) {
            CategoryItem item;
            item.name = std::u16string(name);
            item.totalMinutes = total;
            s.categories.Add(item);
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
