// The time report on the headless host: the list's place in each layout, the input panel, the
// sort settings that OK writes back and the list that cannot be sorted; the reports' sortable
// list. What the two reports share is walked here once; the report scenarios walk the rest
// (header taps among them).
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

using testing::MakeRecord;

CategoryItem Category(const Text& name, int32_t total = 0) {
    CategoryItem item;
    item.name = name;
    item.totalMinutes = total;
    return item;
}

class TimeReportTest : public test::ScriptedHost {
  protected:
    void SetUp() override {
        state_.categories.Add(Category(u"Travel"));
        state_.categories.Add(Category(u"Meeting"));
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
            s.categories.Add(Category(name, total));
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
