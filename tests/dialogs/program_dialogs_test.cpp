// The dialogs inside the whole program. A store change refused half way is said once, and the
// lists, the project bar and the undo copies stay as they were; Register Time's input panel and
// the largest duration it books.
#include <gtest/gtest.h>

#include "app/program_fixture.h"
#include "dialogs/delete_by_range.h"
#include "dialogs/edit_categories.h"
#include "dialogs/frame.h"
#include "dialogs/projects_book.h"
#include "dialogs/register_time.h"

namespace qv {
namespace {

using A = HeadlessAction;
using DialogsInProgram = testing::ProgramTest;

std::string Error(const char* what, const char* database = "Quorvella") {
    return std::string("message exclamation \"Error during ") + what + " database: Brumo " +
           database + "\"";
}

// A rename, then a deletion applied to the records: the saved list takes its three changes and
// the first record, the second record is refused.
TEST_F(DialogsInProgram, ACategoryRecordRefusedHalfWayIsSaidAndTheRecordsStayAsTheyWere) {
    SeedRecords(3);  // Alpha with three Travel records
    SetSetting(u"CatRecsApply", 1);
    // After each refusal the category list; before each dialog the main list's categories.
    std::vector<std::vector<std::u16string>> listed;
    std::vector<std::u16string> categories;
    const auto look = [&](HeadlessHost& host) {
        listed.push_back(host.TopWindow()->Find(kEditCategoriesList)->entries);
        store_->FailChangesAfter(-1);
    };
    const auto rows = [&](HeadlessHost& host) { categories.push_back(Column(host, 1)); };
    std::deque<Step> steps;
    for (bool rename : {true, false}) {
        steps.insert(
            steps.end(),
            {Then(rows, A::MakeCommand(kCmdEditCategories)), Do(A::MakeClick(kEditCategoriesNew)),
             Do(A::MakeType(kNewCategoryName, u"Travel")), Do(A::MakeClick(kNewCategoryOk)),
             Do(A::MakeChoose(kEditCategoriesList, u"Travel"))});
        if (rename) {
            steps.insert(steps.end(), {Do(A::MakeClick(kEditCategoriesRename)),
                                       Do(A::MakeType(kEditCategoryName, u"Office")),
                                       FailingAfter(4, A::MakeClick(kEditCategoryOk))});
        } else {
            steps.insert(steps.end(), {FailingAfter(4, A::MakeClick(kEditCategoriesDelete)),
                                       Do(A::MakeAnswer(true))});
        }
        steps.push_back(Then(look, A::MakeClick(IDOK)));
    }
    steps.push_back(Then(rows, A::MakeClose()));
    Run(std::move(steps));

    EXPECT_EQ(Said(Error("edit operation in")), 1);
    EXPECT_EQ(Said(Error("deleting record in")), 1);
    EXPECT_EQ(events.end(), std::find_if(events.begin(), events.end(), [](const std::string& e) {
                  return e.find("QuorvellaCustom") != std::string::npos;
              }));
    const std::vector<std::u16string> office{u"Office"}, travel(3, u"Travel Travel Travel ");
    EXPECT_EQ(listed, (std::vector{office, office}));
    EXPECT_EQ(categories, travel);
}

TEST_F(DialogsInProgram, ARefusedProjectAddEditOrDeleteChangesNothing) {
    SeedRecords(2);  // Alpha with two records
    // The project bar's entries, then the book's first row and row count when it is open.
    std::vector<std::u16string> seen;
    const auto look = [&](HeadlessHost& host) {
        std::u16string s;
        for (const auto& e : Bar(host).Find(kProjectCombo)->entries) s += e;
        if (Dialog* book = host.TopDialog(); book && book->Find(kProjectsBookList)) {
            s += u" " + book->Cell(kProjectsBookList, 0, 0) + u" " +
                 FormatDecimal(book->RowCount(kProjectsBookList));
        }
        seen.push_back(s);
    };
    Run({
        // A new project the store does not take is not listed.
        Do(A::MakeCommand(kCmdNewProject)),
        Do(A::MakeType(kProjectName, u"Beta")),
        FailingAfter(0, A::MakeClick(kProjectOk)),
        Then(look, A::MakeCommand(kCmdProjects)),
        // A rename the store does not take leaves the book row and the bar entry.
        Do(A::MakeTap(kProjectsBookList, 0)),
        Do(A::MakeType(kProjectName, u"Gamma")),
        Do(A::MakeClick(kProjectOk)),
        Then(look, A::MakeTap(kProjectsBookList, 0)),
        // A deletion the store does not take keeps the project and its records.
        Do(A::MakeClick(kProjectDelete)),
        Do(A::MakeAnswer(true)),
        Do(A::MakeClick(kProjectBack)),
        Then(look, A::MakeClick(kProjectsBookBack)),
        Then(
            [&](HeadlessHost& host) {
                store_->FailChangesAfter(-1);
                seen.push_back(FormatDecimal(Bar(host).RowCount(kMainList)));
            },
            A::MakeClose()),
    });
    for (const char* what : {"adding record to", "edit operation in", "deleting record in"}) {
        EXPECT_EQ(Said(Error(what, "QuorvellaPr")), 1) << what;
    }
    EXPECT_EQ(seen,
              (std::vector<std::u16string>{u"Alpha", u"Alpha Alpha 1", u"Alpha Alpha 1", u"2"}));
}

TEST_F(DialogsInProgram, ARangeRecordRefusedHalfWayIsSaidAndTheListKeepsTheRange) {
    SeedRecords(5);  // Alpha, 1 to 5 January
    int rows = -1;
    Run({
        Do(A::MakeCommand(kCmdDeleteByRange)),
        Do(A::MakeDate(kDeleteByRangeStart, MakeDate(2005, 1, 2))),
        Do(A::MakeDate(kDeleteByRangeEnd, MakeDate(2005, 1, 4))),
        Do(A::MakeClick(kDeleteByRangeFind)),
        FailingAfter(1, A::MakeAnswer(true)),  // the first deletion goes through, not the second
        Then(
            [&](HeadlessHost& host) {
                rows = Bar(host).RowCount(kMainList);
                store_->FailChangesAfter(-1);
            },
            A::MakeClose()),
    });
    EXPECT_EQ(Said("question \"3 records will be deleted. Continue?\""), 1);
    EXPECT_EQ(Said(Error("deleting record in")), 1);
    EXPECT_EQ(rows, 5);
}

// Register Time's Delete and Undo Deleting refused by the store.
TEST_F(DialogsInProgram, ARefusedRecordDeletionOrUndoChangesNeitherListNorUndo) {
    SeedRecords(3);  // Alpha: 01-01, 02-01 and 03-01
    // The rows' dates, then whether Undo Deleting (menu, button) is on.
    std::vector<std::u16string> seen;
    const auto look = [&](HeadlessHost& host) {
        std::u16string s = Column(host, 0);
        s += host.Main()->IsMenuItemEnabled(kCmdUndoDeleting) ? u"undo" : u"-";
        seen.push_back(s + (host.Main()->IsButtonEnabled(kButtonUndo) ? u" button" : u" -"));
    };
    Run({
        // One deletion the store takes: one undo copy.
        Do(A::MakeTap(kMainList, 0)),
        Do(A::MakeClick(kRegisterTimeDelete)),
        Do(A::MakeAnswer(true)),
        Then(look, A::MakeTap(kMainList, 0)),
        // The second the store refuses: said once, the dialog closes, nothing else changes.
        Do(A::MakeClick(kRegisterTimeDelete)),
        FailingAfter(0, A::MakeAnswer(true)),
        Then(look, A::MakeCommand(kCmdUndoDeleting)),
        // An undo the store refuses keeps its copy for another try.
        Then(
            [&](HeadlessHost& host) {
                store_->FailChangesAfter(-1);
                look(host);
            },
            A::MakeCommand(kCmdUndoDeleting)),
        Then(look, A::MakeClose()),
    });
    EXPECT_EQ(Said(Error("deleting record in")), 1);
    EXPECT_EQ(Said("end 108 1028"), 2);
    EXPECT_EQ(Said(Error("adding record to")), 1);
    // The one copy comes back at the end of the list, and then there is nothing to undo.
    const std::u16string two = u"02-01-2005 03-01-2005 undo button";
    EXPECT_EQ(seen, (std::vector<std::u16string>{two, two, two,
                                                 u"02-01-2005 03-01-2005 01-01-2005 - -"}));
}

// The panel is up for the memo and down for the date and every drop-down list.
TEST_F(DialogsInProgram, RegisterTimePanelComesWithTheMemoAndGoesWithTheListsAndTheDate) {
    SeedRecords(1);
    std::vector<bool> panel;
    std::vector<int> focus;
    const auto look = [&](HeadlessHost& host) {
        panel.push_back(host.InputPanel());
        focus.push_back(host.TopWindow()->Focus());
    };
    Run({Do(A::MakeCommand(kCmdNew)), Then(look, A::MakeType(kRegisterTimeMemo, u"call")),
         Then(look, A::MakeChoose(kRegisterTimeHours, u"01")),
         Then(look, A::MakeType(kRegisterTimeMemo, u"call back")),
         Then(look, A::MakeChoose(kRegisterTimeProject, u"Alpha")),
         Then(look, A::MakeType(kRegisterTimeMemo, u"call")),
         Then(look, A::MakeDate(kRegisterTimeDate, MakeDate(2005, 10, 3))),
         Then(look, A::MakeClick(kRegisterTimeCancel))});
    // Opened with the focus in the minutes box and the panel down.
    EXPECT_EQ(panel, (std::vector<bool>{false, true, false, true, false, true, false}));
    EXPECT_EQ(focus, (std::vector<int>{kRegisterTimeMinutes, kRegisterTimeMemo, kRegisterTimeHours,
                                       kRegisterTimeMemo, kRegisterTimeProject, kRegisterTimeMemo,
                                       kRegisterTimeDate}));
}

// The lists offer at most 23:50; a duration put in the boxes directly is held against the
// largest a record takes, 24:59. The record edited here is the seeded 30 minutes.
TEST_F(DialogsInProgram, RegisterTimeBooksTheLargestDurationAndRefusesOneMinuteMore) {
    SeedRecords(1);
    const auto put = [](const char16_t* minutes) {
        return [minutes](HeadlessHost& host) {
            Dialog* d = host.TopDialog();
            if (d == nullptr) return A::MakeClose();
            for (auto [id, text] : {std::pair{kRegisterTimeHours, u"24"},
                                    {kRegisterTimeMinutes, minutes},
                                    {kRegisterTimeCategory, u"Travel"}}) {  // no categories stored
                d->SetCurSel(id, d->AddString(id, text));
            }
            return A::MakeClick(kRegisterTimeOk);
        };
    };
    std::u16string times;
    Run({Do(A::MakeTap(kMainList, 0)), put(u"60"), put(u"59"),
         Then([&](HeadlessHost& host) { times = Column(host, 2); }, A::MakeClose())});
    EXPECT_EQ(times, u"24:59 ");
}

// Names take letters, digits and blanks; a category must begin with a letter or digit.
TEST(Names, LettersDigitsAndBlanksWithAFirstCharacterThatIsOne) {
    EXPECT_TRUE(IsValidName(u"Site visit 2"));
    EXPECT_FALSE(IsValidName(u"tab\there"));
    EXPECT_FALSE(IsValidName(u""));
    EXPECT_TRUE(HasValidFirstChar(u"2 travel"));
    EXPECT_FALSE(HasValidFirstChar(u" travel"));
    EXPECT_FALSE(HasValidFirstChar(u""));
}

}  // namespace
}  // namespace qv
