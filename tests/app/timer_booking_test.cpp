// The desktop's timer booked through Register Time: Cancel keeps it running, OK books it as
// New does and forgets it.
#include <gtest/gtest.h>

#include "desktop/desktop_timer.h"
#include "platform/files/timer_file.h"
#include "program_fixture.h"
#include "store/categories_store.h"

namespace qv {
namespace {

using testing::ProgramTest;
using A = HeadlessAction;

TEST_F(ProgramTest, AStoppedTimerIsBookedOnOkAndRunsOnAfterCancel) {
    SeedRecords(1);  // Alpha: a Travel record of 30 minutes
    {
        auto store = OpenObjectStoreFile(folders_.StoreFile());
        AppState state;
        StoreContext ctx{state, *store, clock_};
        ASSERT_TRUE(OpenStore(ctx));
        for (const char16_t* name : {u"Meeting", u"Travel"}) {
            CategoryItem item;
            item.name = name;
            state.categories.Add(item);
        }
        ASSERT_TRUE(SaveCategories(ctx));
    }
    std::optional<DesktopTimer> timer;
    App* program = nullptr;
    const auto watch = [&](App* app) {
        program = app;
        if (app != nullptr && !timer) timer.emplace(app->host, clock_, folders_.dataDir);
        timer->Attach(app);
    };
    const auto started = clock_.GetSystemTime();
    const auto later = [&](HeadlessHost&) {
        CalendarDate t = started;
        t.hour = 13;
        t.minute = 25;
        clock_.Set(t);
    };
    bool booked = true;
    const auto stop = [&](HeadlessHost&) {
        booked = timer->Stop();
        return A::MakeHelp();
    };
    std::vector<std::u16string> shown;
    const auto look = [&](HeadlessHost& host) {
        Dialog& d = *host.TopDialog();
        for (int id : {kRegisterTimeHours, kRegisterTimeMinutes, kRegisterTimeCategory,
                       kRegisterTimeProject}) {
            shown.push_back(d.Text(id, 80));
        }
        EXPECT_EQ(d.Date(kRegisterTimeDate), MakeDate(2005, 10, 29));
    };
    Run({Then([&](HeadlessHost&) { ASSERT_TRUE(timer->Start()); }, A::MakeHelp()),
         Then(later, A::MakeHelp()), stop, Then(look, A::MakeClick(kRegisterTimeCancel)),
         Then([&](HeadlessHost&) { EXPECT_FALSE(booked); }, A::MakeHelp()), stop,
         Then(look, A::MakeClick(kRegisterTimeOk)),
         Then(
             [&](HeadlessHost& host) {
                 EXPECT_TRUE(booked);
                 EXPECT_EQ(Column(host, 2), u"0:30 1:30 ");
                 EXPECT_EQ(program->state.balanceMinutes, 120);
             },
             A::MakeClose())},
        watch);
    EXPECT_EQ(shown, (std::vector<std::u16string>{u"01", u"30", u"Travel", u"Alpha", u"01", u"30",
                                                  u"Travel", u"Alpha"}));
    EXPECT_EQ(Said("sound IDW_TIME_ADDED"), 1);
    EXPECT_FALSE(std::filesystem::exists(TimerFilePath(folders_.dataDir)));
    EXPECT_FALSE(timer->Current().has_value());
}

// A timer whose project and category went, run past 23:50: the proposal falls back to what New
// shows and says so; Discard after yes forgets it.
TEST_F(ProgramTest, AStaleTimerFallsBackToWhatNewShowsAndSaysSo) {
    SeedRecords(1);
    std::string why;
    const int64_t now = *SecondsSinceEpoch(clock_.GetSystemTime());
    ASSERT_TRUE(StartTimer(folders_.dataDir, {now - 26 * 3600, u"Gone", u"Old", u""}, why));
    std::optional<DesktopTimer> timer;
    const auto watch = [&](App* app) {
        if (app != nullptr) timer.emplace(app->host, clock_, folders_.dataDir);
        timer->Attach(app);
    };
    std::vector<std::u16string> shown;
    Run({Then([&](HeadlessHost&) { timer->Load(); }, A::MakeHelp()),
         [&](HeadlessHost&) {
             timer->Stop();
             return A::MakeHelp();
         },
         Then(
             [&](HeadlessHost& host) {
                 for (int id : {kRegisterTimeHours, kRegisterTimeMinutes, kRegisterTimeCategory,
                                kRegisterTimeProject}) {
                     shown.push_back(host.TopDialog()->Text(id, 80));
                 }
             },
             A::MakeClick(kRegisterTimeCancel)),
         [&](HeadlessHost&) {
             EXPECT_TRUE(timer->Discard());
             return A::MakeHelp();
         },
         Do(A::MakeAnswer(true))},
        watch);
    EXPECT_EQ(shown, (std::vector<std::u16string>{u"23", u"50", u"", u"Alpha"}));
    std::string said;
    for (const std::string& line : events) said += line;
    for (const char* part : {"remaining 2:10", R"(project \"Gone\")", R"(category \"Old\")"}) {
        EXPECT_NE(said.find(part), std::string::npos) << part << " in " << said;
    }
    EXPECT_FALSE(std::filesystem::exists(TimerFilePath(folders_.dataDir)));
}

}  // namespace
}  // namespace qv
