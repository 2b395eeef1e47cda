// Register Time's Delete and Undo Deleting when the store refuses the change: the refusal is
// said, and the main list and the undo copies stay as they were.
#include <gtest/gtest.h>

#include "app/program_fixture.h"
#include "dialogs/register_time.h"

namespace qv {
namespace {

using A = HeadlessAction;
using RegisterStoreFaultTest = testing::ProgramTest;

// What the main window shows: its rows' dates, then whether Undo Deleting (menu, button) is on.
std::u16string Look(HeadlessHost& host) {
    std::u16string seen;
    for (int row = 0; row < host.Main()->Child()->RowCount(kMainList); ++row) {
        seen += host.Main()->Child()->Cell(kMainList, row, 0) + u" ";
    }
    seen += host.Main()->IsMenuItemEnabled(kCmdUndoDeleting) ? u"undo" : u"-";
    return seen + (host.Main()->IsButtonEnabled(kButtonUndo) ? u" button" : u" -");
}

TEST_F(RegisterStoreFaultTest, ARefusedDeletionOrUndoChangesNeitherListNorUndo) {
    SeedRecords(3);  // Alpha: 01-01, 02-01 and 03-01
    std::vector<std::u16string> seen;
    const auto look = [&](HeadlessAction next) {
        return [&seen, next](HeadlessHost& host) {
            seen.push_back(Look(host));
            return next;
        };
    };
    Run({
        // One deletion the store takes: one undo copy.
        Do(A::MakeTap(kMainList, 0)),
        Do(A::MakeClick(kRegisterTimeDelete)),
        Do(A::MakeAnswer(true)),
        look(A::MakeTap(kMainList, 0)),
        // The second the store refuses: said once, the dialog closes, nothing else changes.
        Do(A::MakeClick(kRegisterTimeDelete)),
        FailingAfter(0, A::MakeAnswer(true)),
        look(A::MakeCommand(kCmdUndoDeleting)),
        // An undo the store refuses keeps its copy for another try.
        [&](HeadlessHost& host) {
            store_->FailChangesAfter(-1);
            return look(A::MakeCommand(kCmdUndoDeleting))(host);
        },
        look(A::MakeCommand(kCmdExit)),
    });
    EXPECT_EQ(Said("message exclamation \"Error during deleting record in database: Brumo "
                   "Quorvella\""),
              1);
    EXPECT_EQ(Said("end 108 1028"), 2);
    EXPECT_EQ(Said("message exclamation \"Error during adding record to database: Brumo "
                   "Quorvella\""),
              1);
    // The one copy comes back at the end of the list, and then there is nothing to undo.
    const std::u16string two = u"02-01-2005 03-01-2005 undo button";
    EXPECT_EQ(seen, (std::vector<std::u16string>{two, two, two,
                                                 u"02-01-2005 03-01-2005 01-01-2005 - -"}));
}

}  // namespace
}  // namespace qv
