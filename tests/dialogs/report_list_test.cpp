// The report dialogs' sortable list: the text of its time column, its place and columns in
// each layout, the arrow it shows for the working sort values, the sort those values choose,
// and header taps.
#include "dialogs/report_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/list_images.h"
#include "dialogs/time_report.h"
#include "res/templates.h"

namespace qv {
namespace {

constexpr ReportListShape kShape{
    kTimeReportList,      {1, 2, 3, 4},
    {5, 6, 7, 8},         {{kStrReportCategoryHeader, 11, 21}, {kStrReportTimeHeader, 12, 22}},
    SortCategoriesByName, SortCategoriesByTime};

// By name Alpha, Beta, Gamma; by time Beta, Gamma, Alpha.
void AddThreeCategories(AppState& s) {
    for (auto [name, total] : {std::pair{u"Beta", 10}, {u"Alpha", 30}, {u"Gamma", 20}}) {
        CategoryItem item;
        item.name = std::u16string(name);
        item.totalMinutes = total;
        s.categories.Add(item);
    }
}

std::u16string Order(AppState& s) {
    std::u16string order;
    for (CategoryItem* c = s.categories.First(); c != nullptr; c = s.categories.Next()) {
        order += c->name->front();
    }
    return order;
}

std::vector<int> Arrows(const Dialog& d) {
    return {d.HeaderImage(kShape.id, 0), d.HeaderImage(kShape.id, 1)};
}

TEST(BalanceDurationText, ShowsFullHoursAndTwoDigitMinutesInEitherForm) {
    EXPECT_EQ(BalanceDurationText(0, Comma), u"0,0");
    EXPECT_EQ(BalanceDurationText(0, Colon), u"0:0");
    EXPECT_EQ(BalanceDurationText(65, Comma), u"1,05");
    EXPECT_EQ(BalanceDurationText(90, Colon), u"1:30");
    EXPECT_EQ(BalanceDurationText(125, Colon), u"2:05");
    EXPECT_EQ(BalanceDurationText(6000, Comma), u"100,00");
    EXPECT_EQ(BalanceDurationText(59999, Comma), u"999,59");
    // Long totals are not shown as no time at all.
    EXPECT_EQ(BalanceDurationText(60000, Comma), u"1000,00");
    EXPECT_EQ(BalanceDurationText(60000, Colon), u"1000:00");
}

TEST(ReportList, StandsAtTheLayoutsPlaceWithBothColumnsAndFailsWhereItCannotBeMade) {
    for (bool landscape : {false, true}) {
        Dialog d(*FindDialogTemplate(kTimeReportTemplate));
        ReportList list(kShape);
        ASSERT_TRUE(list.Create(d, landscape));
        const ControlState* shown = d.Find(kShape.id);
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->rect, landscape ? kShape.landscape : kShape.portrait);
        ASSERT_EQ(shown->columns.size(), 2u);
        EXPECT_EQ(shown->columns[0].header, u"Category");
        EXPECT_EQ(shown->columns[1].header, u"Time");
        EXPECT_EQ(shown->columns[0].width, landscape ? 21 : 11);
        EXPECT_EQ(shown->columns[1].width, landscape ? 22 : 12);
        // A second list under the same identifier cannot be made.
        EXPECT_FALSE(list.Create(d, landscape));
    }
}

TEST(ReportList, ShowsTheArrowOfTheWorkingSortAndSortsAsItShows) {
    struct Case {
        uint32_t column, order;
        std::vector<int> arrows;
        std::u16string sorted;
    };
    const Case cases[] = {
        {kReportByName, 0, {kImageUp, kImageNone}, u"ABG"},
        {kReportByName, 1, {kImageDown, kImageNone}, u"GBA"},
        {kReportByName, 2, {kImageUp, kImageNone}, u"ABG"},
        {kReportByTime, 0, {kImageNone, kImageUp}, u"BGA"},
        {kReportByTime, 1, {kImageNone, kImageDown}, u"AGB"},
        // By time without a chosen direction: shown and sorted by name, ascending.
        {kReportByTime, 2, {kImageUp, kImageNone}, u"ABG"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.column << " " << c.order);
        Dialog d(*FindDialogTemplate(kTimeReportTemplate));
        AppState s;
        AddThreeCategories(s);
        ReportList list(kShape);
        list.sortColumn = c.column;
        list.sortOrder = c.order;
        ASSERT_TRUE(list.Create(d, false));
        EXPECT_EQ(Arrows(d), c.arrows);
        ASSERT_TRUE(list.Sort(s));
        EXPECT_EQ(Order(s), c.sorted);
        // The working values stay as they were: OK writes them back unchanged.
        EXPECT_EQ(list.sortColumn, c.column);
        EXPECT_EQ(list.sortOrder, c.order);
    }
}

TEST(ReportList, AHeaderTapTurnsTheArrowOrTakesTheSortInTheDirectionAlreadyChosen) {
    Dialog d(*FindDialogTemplate(kTimeReportTemplate));
    AppState s;
    AddThreeCategories(s);
    ReportList list(kShape);
    list.sortColumn = kReportByTime;
    list.sortOrder = 2;
    ASSERT_TRUE(list.Create(d, false));

    // The time column's header shows no arrow: it becomes the sort column, ascending.
    ASSERT_TRUE(list.HeaderTap(d, 1));
    EXPECT_EQ(Arrows(d), (std::vector<int>{kImageNone, kImageUp}));
    EXPECT_EQ(list.sortColumn, kReportByTime);
    EXPECT_EQ(list.sortOrder, 0u);
    ASSERT_TRUE(list.SortBy(s, 1));
    EXPECT_EQ(Order(s), u"BGA");

    ASSERT_TRUE(list.HeaderTap(d, 1));
    EXPECT_EQ(Arrows(d), (std::vector<int>{kImageNone, kImageDown}));
    EXPECT_EQ(list.sortOrder, 1u);
    ASSERT_TRUE(list.SortBy(s, 1));
    EXPECT_EQ(Order(s), u"AGB");

    // The name column takes over descending, as chosen for the time column.
    ASSERT_TRUE(list.HeaderTap(d, 0));
    EXPECT_EQ(Arrows(d), (std::vector<int>{kImageDown, kImageNone}));
    EXPECT_EQ(list.sortColumn, kReportByName);
    EXPECT_EQ(list.sortOrder, 1u);
    ASSERT_TRUE(list.SortBy(s, 0));
    EXPECT_EQ(Order(s), u"GBA");

    ASSERT_TRUE(list.HeaderTap(d, 0));
    EXPECT_EQ(Arrows(d), (std::vector<int>{kImageUp, kImageNone}));
    EXPECT_EQ(list.sortOrder, 0u);

    // No such column: nothing changes.
    EXPECT_FALSE(list.HeaderTap(d, 2));
    EXPECT_FALSE(list.HeaderTap(d, -1));
    EXPECT_EQ(Arrows(d), (std::vector<int>{kImageUp, kImageNone}));
    EXPECT_EQ(list.sortColumn, kReportByName);
    EXPECT_EQ(list.sortOrder, 0u);
}

}  // namespace
}  // namespace qv
