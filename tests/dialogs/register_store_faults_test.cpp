// Register Time's Delete and Undo Deleting when the store refuses the change: the refusal is
// said, and the main list and the undo copies stay as they were.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/program_fixture.h"
#include "dialogs/register_time.h"

namespace qv {
namespace {

using A = HeadlessAction;

class RegisterStoreFaultTest : public testing::ProgramTest {
  protected:
    // What the main window shows: its rows' dates, and whether there is anything to undo.
    struct Seen {
        std::vector<std::u16string> dates;
        bool undo = false;
        bool undoButton = false;
    };
    static Seen Look(HeadlessHost& host) {
        Seen seen;
        Dialog& bar = Bar(host);
        for (int row = 0; row < bar.RowCount(kMainList); ++row) {
            seen.dates.push_back(bar.Cell(kMainList, row, 0));
        }
        seen.undo = host.Main()->IsMenuItemEnabled(kCmdUndoDeleting);
        seen.undoButton = host.Main()->IsButtonEnabled(kButtonUndo);
        return seen;
    }

    size_t Count(const std::string& line) const {
        return static_cast<size_t>(std::count(events.begin(), events.end(), line));
    }
};

TEST_F(RegisterStoreFaultTest, ARefusedDeletionOrUndoChangesNeitherListNorUndoNorStore) {
    SeedRecords(3);  // Alpha: 01-01, 02-01 and 03-01
    Seen afterDelete, afterRefusedDelete, afterRefusedUndo, afterUndo;
    Run({
        // One deletion the store takes: one undo copy.
        Do(A::MakeTap(kMainList, 0)),
        Do(A::MakeClick(kRegisterTimeDelete)),
        Do(A::MakeAnswer(true)),
        [&](HeadlessHost& host) {
            afterDelete = Look(host);
            return A::MakeTap(kMainList, 0);
        },
        // The second the store refuses: said once, the dialog closes, nothing else changes.
        Do(A::MakeClick(kRegisterTimeDelete)),
        FailingAfter(0, A::MakeAnswer(true)),
        [&](HeadlessHost& host) {
            afterRefusedDelete = Look(host);
            return A::MakeCommand(kCmdUndoDeleting);
        },
        // An undo the store refuses keeps its copy for another try.
        [&](HeadlessHost& host) {
            afterRefusedUndo = Look(host);
            store_->FailChangesAfter(-1);
            return A::MakeCommand(kCmdUndoDeleting);
        },
        [&](HeadlessHost& host) {
            afterUndo = Look(host);
            return A::MakeCommand(kCmdExit);
        },
    });

    const std::vector<std::u16string> two{u"02-01-2005", u"03-01-2005"};
    EXPECT_EQ(afterDelete.dates, two);
    EXPECT_TRUE(afterDelete.undo && afterDelete.undoButton);

    EXPECT_EQ(Count("message exclamation \"Error during deleting record in database: Brumo "
                    "Quorvella\""),
              1u);
    EXPECT_EQ(Count("end 108 1028"), 2u);
    EXPECT_EQ(afterRefusedDelete.dates, two);
    EXPECT_TRUE(afterRefusedDelete.undo);

    EXPECT_EQ(Count("message exclamation \"Error during adding record to database: Brumo "
                    "Quorvella\""),
              1u);
    EXPECT_EQ(afterRefusedUndo.dates, two);
    EXPECT_TRUE(afterRefusedUndo.undo && afterRefusedUndo.undoButton);

    // The one copy comes back at the end of the list, and then there is nothing to undo.
    const std::vector<std::u16string> three{u"02-01-2005", u"03-01-2005", u"01-01-2005"};
    EXPECT_EQ(afterUndo.dates, three);
    EXPECT_FALSE(afterUndo.undo || afterUndo.undoButton);
}

}  // namespace
}  // namespace qv
