// Delete by Range when the store refuses a record half way through the range: the store and
// the list stay as they were, and the same range goes through once the store takes it.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/program_fixture.h"
#include "dialogs/delete_by_range.h"

namespace qv {
namespace {

using A = HeadlessAction;

class RangeStoreFaultTest : public testing::ProgramTest {
  protected:
    // Opens the dialog and finds 2 to 4 January: three of the five seeded records.
    static std::deque<Step> FindMiddleThree() {
        return {Do(A::MakeCommand(kCmdDeleteByRange)),
                Do(A::MakeDate(kDeleteByRangeStart, MakeDate(2005, 1, 2))),
                Do(A::MakeDate(kDeleteByRangeEnd, MakeDate(2005, 1, 4))),
                Do(A::MakeClick(kDeleteByRangeFind))};
    }
    static int Rows(HeadlessHost& host) { return Bar(host).RowCount(kMainList); }
};

TEST_F(RangeStoreFaultTest, ARecordRefusedHalfWayLeavesTheRangeStoredAndListed) {
    SeedRecords(5);  // Alpha, 1 to 5 January
    int rowsAfterFailure = -1;
    std::deque<Step> steps = FindMiddleThree();
    // The first deletion goes through, the second is refused.
    steps.push_back([this](HeadlessHost&) {
        store_->FailChangesAfter(1);
        return A::MakeAnswer(true);
    });
    steps.push_back([&](HeadlessHost& host) {
        store_->FailChangesAfter(-1);
        rowsAfterFailure = Rows(host);
        return A::MakeCommand(kCmdExit);
    });
    Run(std::move(steps));

    EXPECT_EQ(Said("message exclamation \"Error during deleting record in database: Brumo "
                   "Quorvella\""),
              1);
    EXPECT_EQ(Said("question \"3 records will be deleted. Continue?\""), 1);
    EXPECT_EQ(rowsAfterFailure, 5);

    // The next start finds all five; the same range then goes in one piece.
    int rowsAtRestart = -1;
    int rowsAfterDeletion = -1;
    steps = {[&](HeadlessHost& host) {
        rowsAtRestart = Rows(host);
        return A::MakeCommand(kCmdDeleteByRange);
    }};
    std::deque<Step> find = FindMiddleThree();
    steps.insert(steps.end(), std::next(find.begin()), find.end());
    steps.push_back(Do(A::MakeAnswer(true)));
    steps.push_back([&](HeadlessHost& host) {
        rowsAfterDeletion = Rows(host);
        return A::MakeCommand(kCmdExit);
    });
    Run(std::move(steps));
    EXPECT_EQ(rowsAtRestart, 5);
    EXPECT_EQ(rowsAfterDeletion, 2);

    int rowsAtLastStart = -1;
    Run({[&](HeadlessHost& host) {
        rowsAtLastStart = Rows(host);
        return A::MakeCommand(kCmdExit);
    }});
    EXPECT_EQ(rowsAtLastStart, 2);
}

}  // namespace
}  // namespace qv
