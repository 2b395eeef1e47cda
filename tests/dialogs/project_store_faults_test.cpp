// The project dialogs when the store refuses a change: the refusal is said, and the projects,
// the book, the project bar and the stored records stay as they were.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/program_fixture.h"
#include "dialogs/projects_book.h"

namespace qv {
namespace {

using Step = std::function<HeadlessAction(HeadlessHost&)>;

class ProjectStoreFaultTest : public testing::ProgramTest {
  protected:
    // As Run, with the store at hand for the steps that break it.
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

    // The step that makes every change of the store fail before it does `action`.
    Step Breaking(HeadlessAction action) {
        return [this, action](HeadlessHost&) {
            store_->FailChangesAfter(0);
            return action;
        };
    }
    Step Mending(HeadlessAction action) {
        return [this, action](HeadlessHost&) {
            store_->FailChangesAfter(-1);
            return action;
        };
    }
    static Step Do(HeadlessAction action) {
        return [action](HeadlessHost&) { return action; };
    }

    bool Said(const std::string& line) const {
        return std::find(events.begin(), events.end(), line) != events.end();
    }

    static std::vector<std::u16string> Entries(HeadlessHost& host) {
        return Bar(host).Find(kProjectCombo)->entries;
    }

    ObjectStore* store_ = nullptr;
};

TEST_F(ProjectStoreFaultTest, ARefusedAddEditOrDeleteChangesNothing) {
    SeedRecords(2);  // Alpha with two records
    using A = HeadlessAction;
    const std::vector<std::u16string> alphaOnly{u"Alpha"};
    std::vector<std::u16string> afterAdd, afterEdit, afterDelete;
    std::u16string bookRowAfterEdit;
    int bookRowsAfterDelete = -1, listRowsAtEnd = -1;
    RunWithStore({
        // A new project the store does not take is not listed.
        Do(A::MakeCommand(kCmdNewProject)),
        Do(A::MakeType(kProjectName, u"Beta")),
        Breaking(A::MakeClick(kProjectOk)),
        [&](HeadlessHost& host) {
            afterAdd = Entries(host);
            return A::MakeCommand(kCmdProjects);
        },
        // A rename the store does not take leaves the book row and the bar entry.
        Do(A::MakeTap(kProjectsBookList, 0)),
        Do(A::MakeType(kProjectName, u"Gamma")),
        Do(A::MakeClick(kProjectOk)),
        [&](HeadlessHost& host) {
            afterEdit = Entries(host);
            bookRowAfterEdit = host.TopWindow()->Cell(kProjectsBookList, 0, 0);
            return A::MakeTap(kProjectsBookList, 0);
        },
        // A deletion the store does not take keeps the project and its records.
        Do(A::MakeClick(kProjectDelete)),
        Do(A::MakeAnswer(true)),
        Do(A::MakeClick(kProjectBack)),
        [&](HeadlessHost& host) {
            afterDelete = Entries(host);
            bookRowsAfterDelete = host.TopWindow()->RowCount(kProjectsBookList);
            return A::MakeClick(kProjectsBookBack);
        },
        Mending(A::MakeCommand(kCmdAbout)),
        [&](HeadlessHost& host) {
            listRowsAtEnd = Bar(host).RowCount(kMainList);
            return A::MakeClick(IDOK);
        },
    });

    EXPECT_TRUE(
        Said("message exclamation \"Error during adding record to database: Brumo "
             "QuorvellaPr\""));
    EXPECT_EQ(afterAdd, alphaOnly);
    EXPECT_TRUE(
        Said("message exclamation \"Error during edit operation in database: Brumo "
             "QuorvellaPr\""));
    EXPECT_EQ(afterEdit, alphaOnly);
    EXPECT_EQ(bookRowAfterEdit, u"Alpha");
    EXPECT_TRUE(
        Said("message exclamation \"Error during deleting record in database: Brumo "
             "QuorvellaPr\""));
    EXPECT_EQ(afterDelete, alphaOnly);
    EXPECT_EQ(bookRowsAfterDelete, 1);
    EXPECT_EQ(listRowsAtEnd, 2);

    // The next start finds Alpha and its records as they were.
    int projects = -1, rows = -1;
    RunWithStore({[&](HeadlessHost& host) {
        projects = static_cast<int>(Entries(host).size());
        rows = Bar(host).RowCount(kMainList);
        return A::MakeCommand(kCmdExit);
    }});
    EXPECT_EQ(projects, 1);
    EXPECT_EQ(rows, 2);
}

}  // namespace
}  // namespace qv
