// The reports' sums over a range of days and the category sorts.
#include "core/reports.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "core/date_range.h"
#include "support/record_builders.h"

namespace qv {
namespace {

using testing::MakeCategory;
using testing::MakeProject;
using testing::MakeRecord;

template <typename List>
std::vector<int32_t> Totals(List& list) {
    std::vector<int32_t> totals;
    for (auto* item = list.First(); item != nullptr; item = list.Next()) {
        totals.push_back(item->totalMinutes);
    }
    return totals;
}

std::u16string Names(AppState& s) {
    std::u16string names;
    for (CategoryItem* c = s.categories.First(); c != nullptr; c = s.categories.Next()) {
        names += c->name.value_or(u"?") + u" ";
    }
    return names;
}

// Categories Travel, Meeting and Design, projects 1 to 3; records around the ranges, one of a
// category written differently, one of a deleted category, records of a deleted project (9),
// one without minutes. Totals left by an earlier report are replaced.
TEST(ReportTotals, EachCategoryAndProjectGetsItsRecordsFromTheFirstToTheLastDay) {
    AppState s;
    for (const char16_t* name : {u"Travel", u"Meeting", u"Design"})
        s.categories.Add(MakeCategory(name, 999));
    for (uint32_t id : {1, 2, 3}) s.projects.Append(MakeProject(u"", 999))->projectId = id;
    // day, minutes (-1: none), category, project
    const std::tuple<uint16_t, int, const char16_t*, uint32_t> bookings[] = {
        {2, 10, u"Travel", 1}, {3, 30, u"Travel", 1},  {5, 60, u"Travel", 1},
        {6, 15, u"Travel", 1}, {4, 45, u"Meeting", 2}, {4, 100, u"meeting", 9},
        {4, 200, u"Gone", 9},  {8, 20, u"Travel", 9},  {7, -1, u"Design", 2}};
    for (auto [day, minutes, category, project] : bookings) {
        TimeRecord* r =
            s.timeRecords.Append(MakeRecord(0, 2005, 10, day, minutes, category, u"", project));
        if (minutes < 0) r->minutesText.reset();
    }
    struct Case {
        uint16_t first, last;
        bool categoryFound;
        std::vector<int32_t> categories;
        bool projectFound;
        std::vector<int32_t> projects;
        int32_t grand;
    };
    const Case cases[] = {
        {3, 5, true, {90, 45, 0}, true, {90, 45, 0}, 135},  // both ends count
        {6, 6, true, {15, 0, 0}, true, {15, 0, 0}, 15},     // a single day
        {7, 7, true, {0, 0, 0}, true, {0, 0, 0}, 0},        // found, without minutes
        {8, 8, true, {20, 0, 0}, false, {0, 0, 0}, 0},      // only a deleted project's record
        {9, 31, false, {0, 0, 0}, false, {0, 0, 0}, 0},
        {1, 31, true, {135, 45, 0}, true, {115, 45, 0}, 160},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.first << "-" << c.last);
        const uint32_t first = DateKeyOf(2005, 10, c.first);
        const uint32_t last = DateKeyOf(2005, 10, c.last);
        EXPECT_EQ(ComputeCategoryTotals(s.categories, s.timeRecords, first, last), c.categoryFound);
        EXPECT_EQ(Totals(s.categories), c.categories);
        EXPECT_EQ(CategoryMinutes(s.timeRecords, u"Travel", first, last), c.categories[0]);
        EXPECT_EQ(CategoryMinutes(s.timeRecords, u"Meeting", first, last), c.categories[1]);
        int32_t grand = -1;
        EXPECT_EQ(ComputeProjectTotals(s.projects, s.timeRecords, first, last, grand),
                  c.projectFound);
        EXPECT_EQ(Totals(s.projects), c.projects);
        EXPECT_EQ(grand, c.grand);
    }
    // No records at all: nothing is computed, the category totals stay.
    s.timeRecords.Clear();
    int32_t grand = -1;
    EXPECT_FALSE(ComputeCategoryTotals(s.categories, s.timeRecords, 0, 0xFFFFFFFF));
    EXPECT_FALSE(ComputeProjectTotals(s.projects, s.timeRecords, 0, 0xFFFFFFFF, grand));
    EXPECT_EQ(Totals(s.categories), (std::vector<int32_t>{135, 45, 0}));
    EXPECT_EQ(grand, 0);
    // A single day is a range; a first day after the last is not.
    EXPECT_TRUE(IsOrderedRange(20051003, 20051003));
    EXPECT_FALSE(IsOrderedRange(20051004, 20051003));
}

// Names sort by code units; equal totals keep their order ascending and come out reversed
// descending; no direction chosen sorts ascending. A name sort that fails moves nothing.
TEST(SortCategories, ByNameAndByTimeInBothDirections) {
    AppState s;
    const std::pair<const char16_t*, int32_t> categories[] = {
        {u"travel", 30}, {u"Meeting", 0}, {u"Zoo", 90}, {u"Design", 0}, {u"Alpha", -60}};
    for (auto [name, total] : categories) s.categories.Add(MakeCategory(name, total));
    ASSERT_TRUE(SortCategoriesByName(s, 0));
    EXPECT_EQ(Names(s), u"Alpha Design Meeting Zoo travel ");
    ASSERT_TRUE(SortCategoriesByName(s, 1));
    EXPECT_EQ(Names(s), u"travel Zoo Meeting Design Alpha ");
    ASSERT_TRUE(SortCategoriesByTime(s, 0));
    EXPECT_EQ(Names(s), u"Alpha Meeting Design travel Zoo ");
    ASSERT_TRUE(SortCategoriesByTime(s, 1));
    EXPECT_EQ(Names(s), u"Zoo travel Design Meeting Alpha ");
    EXPECT_EQ(Totals(s.categories), (std::vector<int32_t>{90, 30, 0, 0, -60}));
    ASSERT_TRUE(SortCategoriesByTime(s, 2));
    EXPECT_EQ(Names(s), u"Alpha Design Meeting travel Zoo ");
    EXPECT_EQ(s.categories.Last()->position, 4);
    s.categories.Add(MakeCategory(std::nullopt));  // cannot be looked up again
    EXPECT_FALSE(SortCategoriesByName(s, 0));
    EXPECT_EQ(Names(s), u"Alpha Design Meeting travel Zoo ? ");
}

}  // namespace
}  // namespace qv
