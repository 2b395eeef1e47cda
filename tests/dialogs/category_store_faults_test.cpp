// The category dialogs when the store refuses a record half way through a rename or a
// deletion applied to the records: said once for the records, nothing for the saved list, and
// not a record changed in the main list.
#include <gtest/gtest.h>

#include "app/program_fixture.h"
#include "dialogs/edit_categories.h"

namespace qv {
namespace {

using A = HeadlessAction;
using CategoryStoreFaultTest = testing::ProgramTest;

TEST_F(CategoryStoreFaultTest, ARecordRefusedHalfWayIsSaidAndTheRecordsStayAsTheyWere) {
    SeedRecords(3);  // Alpha with three Travel records
    SetSetting(u"CatRecsApply", 1);
    std::vector<std::vector<std::u16string>> listed, categories;
    // After each refusal: the category list, then the main list's categories.
    const auto look = [&](HeadlessHost& host) {
        listed.push_back(host.TopWindow()->Find(kEditCategoriesList)->entries);
        store_->FailChangesAfter(-1);
        return A::MakeClick(IDOK);
    };
    const auto rows = [&](HeadlessHost& host) {
        categories.emplace_back();
        for (int row = 0; row < Bar(host).RowCount(kMainList); ++row) {
            categories.back().push_back(Bar(host).Cell(kMainList, row, 1));
        }
        return A::MakeCommand(kCmdEditCategories);
    };
    const std::deque<Step> addTravel = {
        Do(A::MakeClick(kEditCategoriesNew)), Do(A::MakeType(kNewCategoryName, u"Travel")),
        Do(A::MakeClick(kNewCategoryOk)), Do(A::MakeChoose(kEditCategoriesList, u"Travel"))};
    std::deque<Step> steps = {Do(A::MakeCommand(kCmdEditCategories))};
    steps.insert(steps.end(), addTravel.begin(), addTravel.end());
    // The list is saved (three changes), the first record rewritten, the second refused.
    for (Step s :
         {Do(A::MakeClick(kEditCategoriesRename)), Do(A::MakeType(kEditCategoryName, u"Office")),
          FailingAfter(4, A::MakeClick(kEditCategoryOk)), Step(look), Step(rows)}) {
        steps.push_back(s);
    }
    steps.insert(steps.end(), addTravel.begin(), addTravel.end());
    // The list is saved (three changes), the first record deleted, the second refused.
    for (Step s : {FailingAfter(4, A::MakeClick(kEditCategoriesDelete)), Do(A::MakeAnswer(true)),
                   Step(look), Step(rows)}) {
        steps.push_back(s);
    }
    steps.back() = [&](HeadlessHost& host) {
        rows(host);
        return A::MakeCommand(kCmdExit);
    };
    Run(std::move(steps));

    for (const char* verb : {"edit operation in", "deleting record in"}) {
        EXPECT_EQ(Said(std::string("message exclamation \"Error during ") + verb +
                       " database: Brumo Quorvella\""),
                  1);
    }
    EXPECT_EQ(events.end(), std::find_if(events.begin(), events.end(), [](const std::string& e) {
                  return e.find("QuorvellaCustom") != std::string::npos;
              }));
    const std::vector<std::u16string> office{u"Office"}, travel(3, u"Travel");
    EXPECT_EQ(listed, (std::vector{office, office}));
    EXPECT_EQ(categories, (std::vector{travel, travel}));
}

}  // namespace
}  // namespace qv
