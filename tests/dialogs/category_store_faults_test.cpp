// The category dialogs when the store refuses a record half way through a rename or a
// deletion applied to the records: the store and the lists stay as they were.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/program_fixture.h"
#include "dialogs/edit_categories.h"

namespace qv {
namespace {

using A = HeadlessAction;

class CategoryStoreFaultTest : public testing::ProgramTest {
  protected:
    // The category column of the main list, row by row.
    static std::vector<std::u16string> Categories(HeadlessHost& host) {
        std::vector<std::u16string> names;
        for (int row = 0; row < Bar(host).RowCount(kMainList); ++row) {
            names.push_back(Bar(host).Cell(kMainList, row, 1));
        }
        return names;
    }
    static std::vector<std::u16string> Listed(HeadlessHost& host) {
        return host.TopWindow()->Find(kEditCategoriesList)->entries;
    }
};

TEST_F(CategoryStoreFaultTest, ARecordRefusedHalfWayLeavesEveryRecordAsItWas) {
    SeedRecords(3);  // Alpha with three Travel records
    SetSetting(u"CatRecsApply", 1);
    const std::vector<std::u16string> travel(3, u"Travel");
    std::vector<std::u16string> afterRename, afterDelete, listedAfterRename, listedAfterDelete;
    Run({
        Do(A::MakeCommand(kCmdEditCategories)),
        Do(A::MakeClick(kEditCategoriesNew)),
        Do(A::MakeType(kNewCategoryName, u"Travel")),
        Do(A::MakeClick(kNewCategoryOk)),
        // The list is saved (three changes), the first record is rewritten, the second refused.
        Do(A::MakeChoose(kEditCategoriesList, u"Travel")),
        Do(A::MakeClick(kEditCategoriesRename)),
        Do(A::MakeType(kEditCategoryName, u"Office")),
        FailingAfter(4, A::MakeClick(kEditCategoryOk)),
        [&](HeadlessHost& host) {
            listedAfterRename = Listed(host);
            store_->FailChangesAfter(-1);
            return A::MakeClick(IDOK);
        },
        [&](HeadlessHost& host) {
            afterRename = Categories(host);
            return A::MakeCommand(kCmdEditCategories);
        },
        Do(A::MakeClick(kEditCategoriesNew)),
        Do(A::MakeType(kNewCategoryName, u"Travel")),
        Do(A::MakeClick(kNewCategoryOk)),
        // The list is saved (three changes), the first record deleted, the second refused.
        Do(A::MakeChoose(kEditCategoriesList, u"Travel")),
        FailingAfter(4, A::MakeClick(kEditCategoriesDelete)),
        Do(A::MakeAnswer(true)),
        [&](HeadlessHost& host) {
            listedAfterDelete = Listed(host);
            store_->FailChangesAfter(-1);
            return A::MakeClick(IDOK);
        },
        [&](HeadlessHost& host) {
            afterDelete = Categories(host);
            return A::MakeCommand(kCmdExit);
        },
    });

    // One message each time, for the time records, none for the category list.
    EXPECT_EQ(Said("message exclamation \"Error during edit operation in database: Brumo "
                   "Quorvella\""),
              1);
    EXPECT_EQ(Said("message exclamation \"Error during deleting record in database: Brumo "
                   "Quorvella\""),
              1);
    // The category list itself was saved; not a single record followed it.
    EXPECT_EQ(listedAfterRename, (std::vector<std::u16string>{u"Office"}));
    EXPECT_EQ(afterRename, travel);
    EXPECT_EQ(listedAfterDelete, (std::vector<std::u16string>{u"Office"}));
    EXPECT_EQ(afterDelete, travel);

    // The next start finds all three records as they were.
    std::vector<std::u16string> atRestart;
    Run({[&](HeadlessHost& host) {
        atRestart = Categories(host);
        return A::MakeCommand(kCmdExit);
    }});
    EXPECT_EQ(atRestart, travel);
}

}  // namespace
}  // namespace qv
