// The project dialogs when the store refuses a change: the refusal is said, and the projects,
// the book, the project bar and the main list stay as they were.
#include <gtest/gtest.h>

#include "app/program_fixture.h"
#include "dialogs/projects_book.h"

namespace qv {
namespace {

using A = HeadlessAction;
using ProjectStoreFaultTest = testing::ProgramTest;

TEST_F(ProjectStoreFaultTest, ARefusedAddEditOrDeleteChangesNothing) {
    SeedRecords(2);  // Alpha with two records
    // The project bar's entries, then the book's first row and row count when it is open.
    std::vector<std::u16string> seen;
    const auto look = [&](HeadlessAction next) {
        return [&seen, next](HeadlessHost& host) {
            std::u16string s;
            for (const auto& e : host.Main()->Child()->Find(kProjectCombo)->entries) s += e;
            if (Dialog* book = host.TopDialog(); book && book->Find(kProjectsBookList)) {
                s += u" " + book->Cell(kProjectsBookList, 0, 0) + u" " +
                     FormatDecimal(book->RowCount(kProjectsBookList));
            }
            seen.push_back(s);
            return next;
        };
    };
    Run({
        // A new project the store does not take is not listed.
        Do(A::MakeCommand(kCmdNewProject)),
        Do(A::MakeType(kProjectName, u"Beta")),
        FailingAfter(0, A::MakeClick(kProjectOk)),
        look(A::MakeCommand(kCmdProjects)),
        // A rename the store does not take leaves the book row and the bar entry.
        Do(A::MakeTap(kProjectsBookList, 0)),
        Do(A::MakeType(kProjectName, u"Gamma")),
        Do(A::MakeClick(kProjectOk)),
        look(A::MakeTap(kProjectsBookList, 0)),
        // A deletion the store does not take keeps the project and its records.
        Do(A::MakeClick(kProjectDelete)),
        Do(A::MakeAnswer(true)),
        Do(A::MakeClick(kProjectBack)),
        look(A::MakeClick(kProjectsBookBack)),
        FailingAfter(-1, A::MakeCommand(kCmdAbout)),
        [&](HeadlessHost& host) {
            seen.push_back(FormatDecimal(host.Main()->Child()->RowCount(kMainList)));
            return A::MakeClick(IDOK);
        },
    });
    for (const char* what : {"adding record to", "edit operation in", "deleting record in"}) {
        EXPECT_EQ(Said(std::string("message exclamation \"Error during ") + what +
                       " database: Brumo QuorvellaPr\""),
                  1);
    }
    EXPECT_EQ(seen,
              (std::vector<std::u16string>{u"Alpha", u"Alpha Alpha 1", u"Alpha Alpha 1", u"2"}));
}

}  // namespace
}  // namespace qv
