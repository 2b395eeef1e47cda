// Delete by Range when the store refuses a record half way through the range: the refusal is
// said once and the list still shows the whole range.
#include <gtest/gtest.h>

#include "app/program_fixture.h"
#include "dialogs/delete_by_range.h"

namespace qv {
namespace {

using A = HeadlessAction;
using RangeStoreFaultTest = testing::ProgramTest;

TEST_F(RangeStoreFaultTest, ARecordRefusedHalfWayIsSaidAndTheListKeepsTheRange) {
    SeedRecords(5);  // Alpha, 1 to 5 January
    int rows = -1;
    Run({
        Do(A::MakeCommand(kCmdDeleteByRange)),
        Do(A::MakeDate(kDeleteByRangeStart, MakeDate(2005, 1, 2))),
        Do(A::MakeDate(kDeleteByRangeEnd, MakeDate(2005, 1, 4))),
        Do(A::MakeClick(kDeleteByRangeFind)),
        FailingAfter(1, A::MakeAnswer(true)),  // the first deletion goes through, not the second
        [&](HeadlessHost& host) {
            rows = Bar(host).RowCount(kMainList);
            store_->FailChangesAfter(-1);
            return A::MakeCommand(kCmdExit);
        },
    });
    EXPECT_EQ(Said("question \"3 records will be deleted. Continue?\""), 1);
    EXPECT_EQ(Said("message exclamation \"Error during deleting record in database: Brumo "
                   "Quorvella\""),
              1);
    EXPECT_EQ(rows, 5);
}

}  // namespace
}  // namespace qv
