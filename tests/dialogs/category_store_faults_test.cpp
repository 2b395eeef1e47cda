// The category dialogs when the store refuses a record half way through a rename or a
// deletion applied to the records: the store and the lists stay as they were.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/program_fixture.h"
#include "dialogs/edit_categories.h"

namespace qv {
namespace {

using Step = std::function<HeadlessAction(HeadlessHost&)>;
using A = HeadlessAction;

class CategoryStoreFaultTest : public testing::ProgramTest {
  protected:
    int RunWithStore(std::deque<Step> steps) {
        RegistryHive hive(folders_.HiveFile());
        DeviceFiles files(folders_);
        auto store = OpenObjectStoreFile(folders_.StoreFile());
        store_ = store.get();
        testing::NoOtherInstance instances;
        std::unique_ptr<HeadlessHost> host;
        host = std::make_unique<HeadlessHost>(
            clock_,
            [&]() -> std::optional<HeadlessAction> {
                if (steps.empty()) return HeadlessAction::MakeClose();
                auto step = std::move(steps.front());
                steps.pop_front();
                return step(*host);
            },
            [&](const HostEvent& e) { events.push_back(replay::EventLine(e)); },
            [&](const std::string& error) { ADD_FAILURE() << error; });
        ProgramServices services{*host, hive, *store, files, instances};
        return QuorvellaMain(services);
    }

    // The step that lets `changes` more store changes through before it does `action`.
    Step FailingAfter(int changes, HeadlessAction action) {
        return [this, changes, action](HeadlessHost&) {
            store_->FailChangesAfter(changes);
            return action;
        };
    }
    static Step Do(HeadlessAction action) {
        return [action](HeadlessHost&) { return action; };
    }

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

    int Said(const std::string& line) const {
        return static_cast<int>(std::count(events.begin(), events.end(), line));
    }

    ObjectStore* store_ = nullptr;
};

TEST_F(CategoryStoreFaultTest, ARecordRefusedHalfWayLeavesEveryRecordAsItWas) {
    SeedRecords(3);  // Alpha with three Travel records
    SetSetting(u"CatRecsApply", 1);
    const std::vector<std::u16string> travel(3, u"Travel");
    std::vector<std::u16string> afterRename, afterDelete, listedAfterRename, listedAfterDelete;
    RunWithStore({
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
    RunWithStore({[&](HeadlessHost& host) {
        atRestart = Categories(host);
        return A::MakeCommand(kCmdExit);
    }});
    EXPECT_EQ(atRestart, travel);
}

}  // namespace
}  // namespace qv
