// The time report: totals per category over a range, the two sorts of the category list, and
// the dialog's layouts, results and sort settings.
#include "dialogs/time_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "headless/scripted_host.h"
#include "support/record_builders.h"

namespace qv {
namespace {

using testing::MakeRecord;

void AddCategory(AppState& s, const Text& name, int32_t total = 0) {
    CategoryItem item;
    item.name = name;
    item.totalMinutes = total;
    s.categories.Add(item);
}

std::vector<std::u16string> Names(AppState& s) {
    std::vector<std::u16string> names;
    for (CategoryItem* c = s.categories.First(); c != nullptr; c = s.categories.Next()) {
        names.push_back(c->name.value_or(u"(none)"));
    }
    return names;
}

int32_t TotalOf(AppState& s, const char16_t* name) {
    CategoryItem* c = s.categories.FindByName(std::u16string(name));
    return c == nullptr ? -1 : c->totalMinutes;
}

TEST(ComputeCategoryTotals, EachCategoryGetsItsExactNameFromStartToEndBothIncluded) {
    AppState s;
    AddCategory(s, u"Travel", 999);  // a total left by an earlier report
    AddCategory(s, u"Meeting");
    AddCategory(s, u"Design", 5);
    s.timeRecords.Append(MakeRecord(1, 2005, 10, 2, 10, u"Travel"));  // the day before
    s.timeRecords.Append(MakeRecord(2, 2005, 10, 3, 30, u"Travel"));  // first day
    s.timeRecords.Append(MakeRecord(3, 2005, 10, 5, 60, u"Travel"));  // last day
    s.timeRecords.Append(MakeRecord(4, 2005, 10, 6, 15, u"Travel"));  // the day after
    s.timeRecords.Append(MakeRecord(5, 2005, 10, 4, 45, u"Meeting"));
    s.timeRecords.Append(MakeRecord(6, 2005, 10, 4, 100, u"meeting"));  // not the same name
    s.timeRecords.Append(MakeRecord(7, 2005, 10, 4, 200, u"Gone"));     // no longer listed
    TimeRecord noMinutes = MakeRecord(8, 2005, 10, 7, 0, u"Design");
    noMinutes.minutesText.reset();
    s.timeRecords.Append(noMinutes);

    EXPECT_TRUE(ComputeCategoryTotals(s, DateKeyOf(2005, 10, 3), DateKeyOf(2005, 10, 5)));
    EXPECT_EQ(TotalOf(s, u"Travel"), 90);
    EXPECT_EQ(TotalOf(s, u"Meeting"), 45);
    EXPECT_EQ(TotalOf(s, u"Design"), 0);

    // A single day; a record without minutes is found and adds nothing.
    EXPECT_TRUE(ComputeCategoryTotals(s, DateKeyOf(2005, 10, 7), DateKeyOf(2005, 10, 7)));
    EXPECT_EQ(TotalOf(s, u"Travel"), 0);
    EXPECT_EQ(TotalOf(s, u"Design"), 0);

    // Only records of unlisted or differently written categories: nothing found, all zero.
    s.timeRecords.Clear();
    s.timeRecords.Append(MakeRecord(1, 2005, 10, 4, 200, u"Gone"));
    s.timeRecords.Append(MakeRecord(2, 2005, 10, 4, 100, u"meeting"));
    EXPECT_FALSE(ComputeCategoryTotals(s, 0, 0xFFFFFFFF));
    EXPECT_EQ(TotalOf(s, u"Travel"), 0);
    EXPECT_EQ(TotalOf(s, u"Meeting"), 0);

    // No records at all: nothing is computed, the totals stay.
    s.categories.First()->totalMinutes = 7;
    s.timeRecords.Clear();
    EXPECT_FALSE(ComputeCategoryTotals(s, 0, 0xFFFFFFFF));
    EXPECT_EQ(TotalOf(s, u"Travel"), 7);
}

TEST(SortCategoriesByTime, EqualTotalsKeepTheirOrderAscendingAndReverseDescending) {
    AppState s;
    AddCategory(s, u"A", 30);
    AddCategory(s, u"B", 0);
    AddCategory(s, u"C", 90);
    AddCategory(s, u"D", 0);
    AddCategory(s, u"E", -60);
    ASSERT_TRUE(SortCategoriesByTime(s, 0));
    EXPECT_EQ(Names(s), (std::vector<std::u16string>{u"E", u"B", u"D", u"A", u"C"}));
    ASSERT_TRUE(SortCategoriesByTime(s, 1));
    EXPECT_EQ(Names(s), (std::vector<std::u16string>{u"C", u"A", u"D", u"B", u"E"}));
    // "No direction chosen" sorts ascending; the totals travel with their names.
    ASSERT_TRUE(SortCategoriesByTime(s, 2));
    EXPECT_EQ(Names(s), (std::vector<std::u16string>{u"E", u"D", u"B", u"A", u"C"}));
    EXPECT_EQ(TotalOf(s, u"C"), 90);
    EXPECT_EQ(s.categories.Last()->position, 4);
}

TEST(SortCategoriesByName, SortsByCodeUnitsAndFailsWithoutChangingTheList) {
    AppState s;
    AddCategory(s, u"travel", 1);
    AddCategory(s, u"Meeting", 2);
    AddCategory(s, u"Zoo", 3);
    AddCategory(s, u"Design", 4);
    ASSERT_TRUE(SortCategoriesByName(s, 0));
    EXPECT_EQ(Names(s), (std::vector<std::u16string>{u"Design", u"Meeting", u"Zoo", u"travel"}));
    ASSERT_TRUE(SortCategoriesByName(s, 1));
    EXPECT_EQ(Names(s), (std::vector<std::u16string>{u"travel", u"Zoo", u"Meeting", u"Design"}));
    EXPECT_EQ(TotalOf(s, u"travel"), 1);
    EXPECT_EQ(TotalOf(s, u"Design"), 4);

    // An item without a name cannot be looked up again: the sort fails and nothing moves.
    AddCategory(s, std::nullopt, 5);
    ASSERT_EQ(s.categories.Size(), 5);
    EXPECT_FALSE(SortCategoriesByName(s, 0));
    EXPECT_EQ(Names(s),
              (std::vector<std::u16string>{u"travel", u"Zoo", u"Meeting", u"Design", u"(none)"}));
}

// The dialog on the headless host, over the current project's records in memory.
class TimeReportTest : public test::ScriptedHost {
  protected:
    void SetUp() override {
        AddCategory(state_, u"Travel");
        AddCategory(state_, u"Meeting");
        state_.timeRecords.Append(MakeRecord(1, 2005, 10, 3, 30, u"Travel"));
        state_.timeRecords.Append(MakeRecord(2, 2005, 10, 4, 90, u"Meeting"));
        state_.rangeStartDate = MakeDate(2005, 10, 1);
        state_.rangeEndDate = MakeDate(2005, 10, 31);
    }
    int Run() {
        return ShowTimeReport(host, state_, [this] { ++exports_; });
    }
    void ExpectList(Rect rect, int nameWidth, int timeWidth) {
        Look([=, this] {
            const ControlState* list = host.TopWindow()->Find(kTimeReportList);
            ASSERT_NE(list, nullptr);
            EXPECT_EQ(list->rect, rect);
            ASSERT_EQ(list->columns.size(), 2u);
            EXPECT_EQ(list->columns[0].width, nameWidth);
            EXPECT_EQ(list->columns[1].width, timeWidth);
            EXPECT_EQ(list->rows.size(), 2u);
        });
    }
    void ExpectPanelLowered(HeadlessAction action) {
        Look([this] { host.SetInputPanel(true); });
        Add(std::move(action));
        Look([this] { EXPECT_FALSE(host.InputPanel()); });
    }

    AppState state_;
    int exports_ = 0;
};

TEST_F(TimeReportTest, TheListIsBuiltAgainAtTheRectangleOfEachLayoutAndOkKeepsTheSort) {
    state_.settings.SortRapport = kReportByTime;
    state_.settings.SortOrderRapport = 1;
    ExpectPanelLowered(A::MakeDate(kTimeReportStart, MakeDate(2005, 10, 1)));
    Add(A::MakeCheck(kTimeReportAll));
    Add(A::MakeClick(kTimeReportView));
    ExpectList({7, 160, 223, 92}, 125, 85);
    Add(A::MakeScreen(320, 240));
    ExpectList({164, 13, 153, 110}, 80, 70);
    Look([this] {
        // Rebuilt by time, descending, as the settings said when the report was made.
        EXPECT_EQ(host.TopWindow()->Cell(kTimeReportList, 0, 0), u"Meeting");
        EXPECT_EQ(host.TopWindow()->HeaderImage(kTimeReportList, 1), 1);
        EXPECT_EQ(host.TopWindow()->Find(kTimeReportTotalFrame)->rect, (Rect{194, 5, 118, 80}));
    });
    ExpectPanelLowered(A::MakeHeader(kTimeReportList, 0));
    Add(A::MakeScreen(240, 320));
    ExpectList({7, 160, 223, 92}, 125, 85);
    Add(A::MakeClick(kTimeReportExport));
    Look([this] {
        EXPECT_EQ(exports_, 1);
        EXPECT_EQ(host.TopWindow()->DefaultButton(), kTimeReportReset);
    });
    Add(A::MakeClick(IDOK));
    EXPECT_EQ(Run(), kTimeReportOk);
    EXPECT_EQ(Names(state_), (std::vector<std::u16string>{u"Travel", u"Meeting"}));
    EXPECT_EQ(state_.settings.SortRapport, kReportByName);
    EXPECT_EQ(state_.settings.SortOrderRapport, 1u);
    EXPECT_TRUE(errors.empty());
}

TEST_F(TimeReportTest, OkWithoutAReportKeepsTheSettingsSortAndPanelRulesHold) {
    state_.settings.SortRapport = kReportByTime;
    state_.settings.SortOrderRapport = 2;
    ExpectPanelLowered(A::MakeChoose(kTimeReportCategory, u"Travel"));
    Add(A::MakeClick(IDOK));
    EXPECT_EQ(Run(), kTimeReportOk);
    EXPECT_EQ(state_.settings.SortRapport, kReportByTime);
    EXPECT_EQ(state_.settings.SortOrderRapport, 2u);
    EXPECT_TRUE(errors.empty());
}

TEST_F(TimeReportTest, AListThatCannotBeSortedEndsTheDialogWithoutAWord) {
    AddCategory(state_, std::nullopt);
    Add(A::MakeCheck(kTimeReportAll));
    Add(A::MakeClick(kTimeReportView));
    EXPECT_EQ(Run(), kTimeReportFailed);
    EXPECT_EQ(Names(state_), (std::vector<std::u16string>{u"Travel", u"Meeting", u"(none)"}));
    for (const std::string& e : events) EXPECT_EQ(e.rfind("message", 0), std::string::npos) << e;
    EXPECT_TRUE(errors.empty());
}

}  // namespace
}  // namespace qv
