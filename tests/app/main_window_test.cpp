// The main window: its command table, its list and the exit steps.
#include "app/main_window.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "app/command_table.h"
#include "core/time_record.h"
#include "program_fixture.h"
#include "res/menus.h"

namespace qv {
namespace {

using testing::ProgramTest;
using A = HeadlessAction;

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

TEST(RowTimeText, ShowsTwoZeroDigitsAndNothingBeyondADay) {
    TimeRecord r;
    EXPECT_EQ(RowTimeText(r, Comma), u"0,0");  // no minutes at all
    for (auto [minutes, separator, text] : {std::tuple{u"0", Colon, u"0:00"},
                                            {u"65", Comma, u"1,05"},
                                            {u"1440", Colon, u"24:00"},
                                            {u"1500", Colon, u""}}) {
        SetMinutes(r, minutes);
        EXPECT_EQ(RowTimeText(r, separator), text);
    }
}

// An ascending list starts scrolled to the newest rows, and a rotation rebuilds it for the new
// layout with its rows.
TEST_F(ProgramTest, TheListStartsAtTheNewestRowsAndARotationRebuildsIt) {
    SeedRecords(40);
    for (uint32_t order : {0u, 1u, 2u}) {
        SetSetting(u"SortOrder", order);
        int top = -1;
        Run({Then([&](HeadlessHost& host) { top = Bar(host).TopRow(kMainList); }, A::MakeClose())});
        EXPECT_EQ(top == 0, order == 1) << "order " << order << " top " << top;
    }
    std::vector<std::vector<int>> widths;
    std::vector<Rect> combos;
    const auto look = [&](HeadlessHost& host) {
        widths.emplace_back();
        for (const ListColumn& c : Bar(host).Find(kMainList)->columns) {
            widths.back().push_back(c.width);
        }
        combos.push_back(Bar(host).Find(kProjectCombo)->rect);
        EXPECT_EQ(Bar(host).RowCount(kMainList), 40);
    };
    Run({Do(A::MakeScreen(320, 240)), Then(look, A::MakeScreen(240, 320)),
         Then(look, A::MakeClose())});
    EXPECT_EQ(widths, (std::vector<std::vector<int>>{{105, 105, 90}, {88, 90, 55}}));
    EXPECT_EQ(combos, (std::vector<Rect>{{90, 15, 150, 150}, {80, 15, 142, 150}}));
}

}  // namespace
}  // namespace qv
