// The main window's command table: a row for every command, and what follows a dialog.
#include "app/command_table.h"

#include <gtest/gtest.h>

#include <set>

#include "app/main_window.h"
#include "dialogs/delete_by_range.h"
#include "dialogs/view_options.h"
#include "program_fixture.h"
#include "res/menus.h"
#include "store/record_store.h"

namespace qv {
namespace {

using testing::ProgramTest;

TEST(CommandTable, EveryMenuCommandAndButtonHasExactlyOneRowAndNoRowIsStale) {
    const MenuBarTemplate& bar = MainMenuBar();
    std::set<int> offered;
    for (const MenuBarButton& b : bar.buttons) {
        if (b.kind == MenuBarButton::Kind::Command || b.kind == MenuBarButton::Kind::Image) {
            offered.insert(b.command);
        }
    }
    for (const MenuTemplate& menu : bar.menus) {
        for (const MenuItemTemplate& item : menu.items) {
            if (item.command != 0) offered.insert(item.command);
        }
    }
    for (int command : offered) {
        int rows = 0;
        for (const CommandRow& row : MainCommandTable()) {
            rows += row.command == command || row.button == command;
        }
        EXPECT_EQ(rows, 1) << "command " << command;
    }
    for (const CommandRow& row : MainCommandTable()) {
        EXPECT_TRUE(offered.count(row.command)) << "row " << row.command << " has no menu item";
        EXPECT_NE(row.run, nullptr) << "row " << row.command;
        EXPECT_EQ(FindCommandRow(row.command), &row);
        if (row.button != kNoButton) {
            EXPECT_EQ(FindCommandRow(row.button), &row);
        }
    }
    EXPECT_EQ(FindCommandRow(kCmdTimeMenu), nullptr);
}

// Stands in for a dialog that is not built yet: returns the result a test chose, after doing
// what the dialog would have done to the state when the result is its "accepted" one.
struct StandIn {
    inline static int result = 0;
    inline static int accepted = 0;
    inline static void (*work)(App&) = nullptr;
    static DialogResult Run(App& app) {
        if (result == accepted && work != nullptr) work(app);
        return result;
    }
};

MainWindow& Window(HeadlessHost& host) {
    return *static_cast<MainWindow*>(host.Main()->Behaviour());
}

TEST_F(ProgramTest, DeleteByRangeRefreshesTheListOnlyWhenItDeleted) {
    SeedRecords(5);
    StandIn::accepted = kDeleteByRangeFind;
    StandIn::work = [](App& app) {  // deletes the two oldest days and loads what is left
        TimeRecord* first = app.state.timeRecords.First();
        const uint32_t a = first->recordId;
        const uint32_t b = app.state.timeRecords.Next()->recordId;
        (void)DeleteTimeRecord(app.store, a);
        (void)DeleteTimeRecord(app.store, b);
        (void)LoadTimeRecords(app.store);
    };
    CommandRow row = *FindCommandRow(kCmdDeleteByRange);
    row.run = StandIn::Run;
    std::vector<int> rows, selected;
    auto run = [&](int result) {
        return [&, result](HeadlessHost& host) {
            StandIn::result = result;
            Window(host).RunCommand(row);
            rows.push_back(Bar(host).RowCount(kMainList));
            selected.push_back(Bar(host).SelectedRow(kMainList));
            return HeadlessAction::MakeTap(kMainList, 1);
        };
    };
    // A tap opens the record; Cancel leaves it with the row selected.
    auto cancel = [](HeadlessHost&) { return HeadlessAction::MakeClick(kRegisterTimeCancel); };
    Run({[&](HeadlessHost&) { return HeadlessAction::MakeTap(kMainList, 1); }, cancel,
         run(kDeleteByRangeCancel), cancel, run(kDeleteByRangeFind), cancel});
    EXPECT_EQ(rows, (std::vector<int>{5, 3}));
    EXPECT_EQ(selected, (std::vector<int>{1, 1}));
}

TEST_F(ProgramTest, ViewOptionsLeftWithOkOrDoneShowsTheListAgainAndCancelDoesNot) {
    SeedRecords(2);
    // The dialog sets the chosen date view whatever it ends with; only the main window decides
    // whether the list shows it.
    static uint32_t chosenView = 0;
    CommandRow row = *FindCommandRow(kCmdViewOptions);
    row.run = [](App& app) -> DialogResult {
        app.state.settings.DateTypeView = chosenView;
        return StandIn::result;
    };
    std::vector<std::u16string> dates;
    auto run = [&](int result, uint32_t view) {
        return [&, result, view](HeadlessHost& host) {
            StandIn::result = result;
            chosenView = view;
            Window(host).RunCommand(row);
            dates.push_back(Bar(host).Cell(kMainList, 1, 0));  // 2 January
            return HeadlessAction::MakeTap(kMainList, 0);
        };
    };
    auto cancel = [](HeadlessHost&) { return HeadlessAction::MakeClick(kRegisterTimeCancel); };
    Run({run(kViewOptionsCancel, DayMonthYearSlash), cancel, run(kViewOptionsOk, DayMonthYearSlash),
         cancel, run(IDOK, MonthDayYearDash), cancel});
    EXPECT_EQ(dates, (std::vector<std::u16string>{u"02-01-2005", u"02/01/2005", u"01-02-2005"}));
}

}  // namespace
}  // namespace qv
