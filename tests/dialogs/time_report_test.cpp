// The time report on the headless host: the list's place in each layout, the input panel, the
// sort settings that OK writes back and the list that cannot be sorted. What the two reports
// share is walked here once; the report scenarios walk the rest.
#include "dialogs/time_report.h"

#include <gtest/gtest.h>

#include <string>

#include "headless/scripted_host.h"
#include "support/record_builders.h"

namespace qv {
namespace {

using testing::MakeRecord;

class TimeReportTest : public test::ScriptedHost {
  protected:
    void SetUp() override {
        for (const Text& name : {Text(u"Travel"), Text(u"Meeting")}) {
            CategoryItem item;
            item.name = name;
            state_.categories.Add(item);
        }
        state_.timeRecords.Append(MakeRecord(1, 2005, 10, 3, 30, u"Travel"));
        state_.timeRecords.Append(MakeRecord(2, 2005, 10, 4, 90, u"Meeting"));
        state_.rangeStartDate = MakeDate(2005, 10, 1);
        state_.rangeEndDate = MakeDate(2005, 10, 31);
    }
    int Run() {
        return ShowTimeReport(host, state_, [this] { ++exports_; });
    }
    // The list at its place with its column widths and rows, and its first row's name.
    void ExpectList(Rect rect, int nameWidth, int timeWidth, const char16_t* first) {
        Look([=, this] {
            const ControlState* list = host.TopWindow()->Find(kTimeReportList);
            ASSERT_NE(list, nullptr);
            EXPECT_EQ(list->rect, rect);
            ASSERT_EQ(list->columns.size(), 2u);
            EXPECT_EQ(list->columns[0].width, nameWidth);
            EXPECT_EQ(list->columns[1].width, timeWidth);
            EXPECT_EQ(list->rows.size(), 2u);
            EXPECT_EQ(host.TopWindow()->Cell(kTimeReportList, 0, 0), first);
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
    ExpectList({7, 160, 223, 92}, 125, 85, u"Meeting");  // by time, descending, as the settings say
    Add(A::MakeScreen(320, 240));
    ExpectList({164, 13, 153, 110}, 80, 70, u"Meeting");
    ExpectPanelLowered(A::MakeHeader(kTimeReportList, 0));
    Add(A::MakeScreen(240, 320));
    ExpectList({7, 160, 223, 92}, 125, 85, u"Travel");  // by name, in the direction already chosen
    Add(A::MakeClick(kTimeReportExport));
    Look([this] {
        EXPECT_EQ(exports_, 1);
        EXPECT_EQ(host.TopWindow()->DefaultButton(), kTimeReportReset);
    });
    Add(A::MakeClick(IDOK));
    EXPECT_EQ(Run(), kTimeReportOk);
    EXPECT_EQ(state_.settings.SortRapport, kReportByName);
    EXPECT_EQ(state_.settings.SortOrderRapport, 1u);
    // OK without a report writes back the sort as it was; choosing a category drops the panel.
    state_.settings.SortRapport = kReportByTime;
    ExpectPanelLowered(A::MakeChoose(kTimeReportCategory, u"Travel"));
    Add(A::MakeClick(IDOK));
    EXPECT_EQ(Run(), kTimeReportOk);
    EXPECT_EQ(state_.settings.SortRapport, kReportByTime);
    EXPECT_EQ(state_.settings.SortOrderRapport, 1u);
    EXPECT_TRUE(errors.empty());
}

TEST_F(TimeReportTest, AListThatCannotBeSortedEndsTheDialogWithoutAWord) {
    state_.categories.Add(CategoryItem());
    Add(A::MakeCheck(kTimeReportAll));
    Add(A::MakeClick(kTimeReportView));
    EXPECT_EQ(Run(), kTimeReportFailed);
    EXPECT_FALSE(state_.categories.Last()->name.has_value());  // nothing moved
    for (const std::string& e : events) EXPECT_EQ(e.rfind("message", 0), std::string::npos) << e;
}

}  // namespace
}  // namespace qv
