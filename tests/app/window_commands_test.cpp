// Commands handed to the running window work on its own list and balance.
#include "app/window_commands.h"

#include "program_fixture.h"
#include "store/categories_store.h"

namespace qv {
namespace {

using A = HeadlessAction;
using testing::ProgramTest;

TEST_F(ProgramTest, ABookingHandedToTheWindowIsListedAndRefusedUnderADialog) {
    SeedRecords(2);  // 30 minutes each
    {
        auto store = OpenObjectStoreFile(folders_.StoreFile());
        AppState state;
        StoreContext ctx{state, *store, clock_};
        ASSERT_TRUE(OpenStore(ctx));
        CategoryItem travel;
        SetName(travel, u"Travel");
        state.categories.Add(travel);
        ASSERT_TRUE(SaveCategories(ctx));
    }
    const std::vector<std::string> add = {"add",   "--time",     "1:00",  "--project",
                                          "Alpha", "--category", "Travel"};
    cli::Answer refused, booked;
    int rowsBefore = 0, rowsAfter = 0;
    int64_t balance = 0;
    Run({Then(
        [&](HeadlessHost& host) {
            rowsBefore = Bar(host).RowCount(kMainList);
            refused = RunInWindow(app_, true, add);
            booked = RunInWindow(app_, false, add);
            rowsAfter = Bar(host).RowCount(kMainList);
            balance = app_->state.balanceMinutes;
        },
        A::MakeClose())});
    EXPECT_EQ(refused.status, cli::kRefused);
    EXPECT_EQ(booked.status, cli::kDone) << booked.err;
    EXPECT_EQ(rowsBefore, 2);
    EXPECT_EQ(rowsAfter, 3);
    EXPECT_EQ(balance, 120);
}

}  // namespace
}  // namespace qv
