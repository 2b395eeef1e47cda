// The overview's sums follow the store's changes while the program runs.
#include "desktop/overview_model.h"

#include <gtest/gtest.h>

#include "app/commands.h"
#include "core/date_range.h"
#include "dialogs/delete_by_range.h"
#include "dialogs/register_time.h"
#include "dialogs/view_options.h"
#include "program_fixture.h"
#include "store/categories_store.h"

namespace qv {
namespace {

using testing::ProgramTest;
using A = HeadlessAction;

// January 2005 holds 28 of the seeded 30-minute records; a booking, an edit, a deletion, its
// undo and a range deletion each tell the store's watcher, and the sums after it (the new
// records taken in, or every record read again) are the program's own records'.
TEST_F(ProgramTest, OverviewSumsFollowBookingEditUndoAndRangeDeletion) {
    SeedRecords(40);
    {
        auto store = OpenObjectStoreFile(folders_.StoreFile());
        AppState state;
        StoreContext ctx{state, *store, clock_};
        ASSERT_TRUE(OpenStore(ctx));
        state.categories.Add(testing::MakeCategory(u"Travel"));
        ASSERT_TRUE(SaveCategories(ctx));
    }
    OverviewModel model;
    const Period january = PeriodHolding(MakeDate(2005, 1, 1), PeriodKind::Month, 1);
    int seen = 0;
    int64_t afterRange = -1;
    const auto follows = [&](const char* what) {
        return [&, what](HeadlessHost&) {
            EXPECT_GT(storeChanges, seen) << what;
            seen = storeChanges;
            int64_t minutes = 0;
            for (TimeRecord* r = app_->state.timeRecords.Last(); r != nullptr; r = r->prev) {
                if (DayInRange(r->dateKey, january.FirstKey(), january.LastKey())) {
                    minutes += MinutesOf(*r);
                }
            }
            // New records are taken in as they are told; anything else reads every record.
            for (const auto& props : addedRecords) ASSERT_TRUE(model.Added(props)) << what;
            ASSERT_TRUE(addedRecords.empty() ? model.Refresh() : model.Resum()) << what;
            addedRecords.clear();
            EXPECT_EQ(model.Sums().total, minutes) << what;
            afterRange = minutes;
        };
    };
    const auto start = [&](HeadlessHost&) {
        model.Attach(app_, 1);
        model.Show(january);
        ASSERT_TRUE(model.Refresh());
        EXPECT_EQ(model.Sums().total, 28 * 30);
        seen = storeChanges;
    };
    const auto booked = [&](HeadlessHost& host) {
        EXPECT_EQ(addedRecords.size(), 1u);  // told as a new record, not read again
        follows("booking")(host);
        ASSERT_EQ(model.Sums().projects.size(), 1u);
        EXPECT_EQ(model.Sums().projects[0].perDay[2], 150);
        EXPECT_EQ(model.Day(2).size(), 2u);
    };
    Run({Then(start, A::MakeCommand(kCmdNew)),
         Do(A::MakeDate(kRegisterTimeDate, MakeDate(2005, 1, 3))),
         Do(A::MakeChoose(kRegisterTimeHours, u"02")),
         Do(A::MakeChoose(kRegisterTimeMinutes, u"00")),
         Do(A::MakeChoose(kRegisterTimeCategory, u"Travel")), Do(A::MakeClick(kRegisterTimeOk)),
         Then(booked, A::MakeTap(kMainList, 0)), Do(A::MakeChoose(kRegisterTimeHours, u"03")),
         Do(A::MakeClick(kRegisterTimeOk)), Then(follows("edit"), A::MakeTap(kMainList, 0)),
         Do(A::MakeClick(kRegisterTimeDelete)), Do(A::MakeAnswer(true)),
         Then(follows("deletion"), A::MakeCommand(kCmdUndoDeleting)),
         Then(follows("undo"), A::MakeCommand(kCmdDeleteByRange)),
         Do(A::MakeDate(kDeleteByRangeStart, MakeDate(2005, 1, 1))),
         Do(A::MakeDate(kDeleteByRangeEnd, MakeDate(2005, 1, 10))),
         Do(A::MakeClick(kDeleteByRangeFind)), Do(A::MakeAnswer(true)),
         Then(follows("range deletion"), A::MakeClose())},
        [&](App* app) {
            if (app == nullptr) model.Attach(nullptr, 1);
        });
    EXPECT_EQ(afterRange, 18 * 30);  // the 1st to the 10th went
}

// A record the overview lists for a day may be of another project than the main window's: a
// double-click on it chooses that project in the drop-down and opens the record in Register Time.
TEST_F(ProgramTest, AnOverviewRecordOfAnotherProjectOpensInRegisterTime) {
    SeedRecords(3);
    {
        auto store = OpenObjectStoreFile(folders_.StoreFile());
        AppState state;
        StoreContext ctx{state, *store, clock_};
        ASSERT_TRUE(OpenStore(ctx));
        uint32_t beta = 0, id = 0;
        ProjectRecord p = testing::MakeProject(u"Beta", 0);
        SetDate(p, MakeDate(2005, 10, 2));
        ASSERT_TRUE(AddProjectRecord(ctx, p, beta));
        ASSERT_TRUE(AddTimeRecord(
            ctx, testing::MakeRecord(0, 2005, 1, 2, 90, u"Travel", u"beta's", beta), id));
    }
    OverviewModel model;
    const auto open = [&](HeadlessHost&) {
        EXPECT_EQ(*app_->state.currentProject.name, u"Alpha");
        model.Attach(app_, 1);
        model.Show(PeriodHolding(MakeDate(2005, 1, 1), PeriodKind::Week, 1));
        ASSERT_TRUE(model.Refresh());
        const auto day = model.Day(6);  // Sunday the 2nd: Alpha's and Beta's records
        ASSERT_EQ(day.size(), 2u);
        const auto& beta = day[0].project == u"Beta" ? day[0] : day[1];
        ASSERT_TRUE(app_->mainWindow->OpenRecord(beta.projectId, beta.recordId));
        EXPECT_FALSE(app_->mainWindow->OpenRecord(beta.projectId + 99, beta.recordId));
    };
    const auto opened = [&](HeadlessHost& host) {
        EXPECT_EQ(*app_->state.currentProject.name, u"Beta");
        ASSERT_NE(host.TopDialog(), nullptr);
        EXPECT_EQ(host.TopDialog()->Text(kRegisterTimeHours, 8), u"01");
        EXPECT_EQ(host.TopDialog()->Text(kRegisterTimeMemo, 40), u"beta's");
        model.Attach(nullptr, 1);
    };
    Run({Then(open, A::MakeClose()), Then(opened, A::MakeClick(kRegisterTimeCancel))});
}

// View Options tells whatever shows durations and dates of the records (the open overview)
// once the new views are in the settings.
TEST_F(ProgramTest, ViewOptionsTellsTheOverviewOfNewViews) {
    SeedRecords(1);
    std::vector<uint32_t> told;
    const auto otherTimeView = [](HeadlessHost& host) {
        const Dialog& d = *host.TopDialog();
        const int other = 1 - d.GetCurSel(kViewOptionsTimeType);
        return A::MakeChoose(kViewOptionsTimeType, *d.GetLBText(kViewOptionsTimeType, other));
    };
    Run({Do(A::MakeCommand(kCmdViewOptions)), otherTimeView, Do(A::MakeClick(kViewOptionsOk))},
        [&](App* app) {
            if (app == nullptr) return;
            app->onViewsChanged = [&told, app] {
                told.push_back(app->state.settings.TimeTypeView);
            };
            told.push_back(app->state.settings.TimeTypeView);
        });
    ASSERT_EQ(told.size(), 2u);
    EXPECT_NE(told[1], told[0]);
}

}  // namespace
}  // namespace qv
