// The project dialogs when the store refuses a change: the refusal is said, and the projects,
// the book, the project bar and the main list stay as they were.
#include <gtest/gtest.h>

#include "app/program_fixture.h"
#include "dialogs/projects_book.h"

namespace qv {
namespace {

class ProjectStoreFaultTest : public testing::ProgramTest {
  protected:
    static std::vector<std::u16string> Entries(HeadlessHost& host) {
        return Bar(host).Find(kProjectCombo)->entries;
    }
};

TEST_F(ProjectStoreFaultTest, ARefusedAddEditOrDeleteChangesNothing) {
    SeedRecords(2);  // Alpha with two records
    using A = HeadlessAction;
    const std::vector<std::u16string> alphaOnly{u"Alpha"};
    std::vector<std::u16string> afterAdd, afterEdit, afterDelete;
    std::u16string bookRowAfterEdit;
    int bookRowsAfterDelete = -1, listRowsAtEnd = -1;
    Run({
        // A new project the store does not take is not listed.
        Do(A::MakeCommand(kCmdNewProject)),
        Do(A::MakeType(kProjectName, u"Beta")),
        FailingAfter(0, A::MakeClick(kProjectOk)),
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
        FailingAfter(-1, A::MakeCommand(kCmdAbout)),
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
}

}  // namespace
}  // namespace qv
