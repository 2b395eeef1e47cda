// The dialog model (drop-down searches, list views, layouts, self-sent notices) and the input
// layer: each gesture checks the control, changes the model and raises the behaviour's events
// in the handheld's order; a refused gesture changes nothing.
#include "platform/ui/user_input.h"

#include <gtest/gtest.h>

#include "core/text.h"
#include "platform/ui/shell.h"
#include "ui/test_resources.h"

namespace qv {
namespace {

using Lines = std::vector<std::string>;
using Changes = std::vector<std::pair<DialogChange, int>>;

const DialogTemplate& Template(int id) {
    return *test::HostResources().Template(id);
}

// Writes down every event as "command 1021 dropdown sel -1", "notify 1016 change 0", ...
struct Recorder : DialogBehaviour {
    Lines heard;
    void OnCommand(Dialog& d, int id, CommandCode code) override {
        static const char* kWords[] = {"clicked", "selchange",  "dropdown",
                                       "closeup", "editchange", "setfocus"};
        heard.push_back("command " + std::to_string(id) + " " + kWords[static_cast<int>(code)] +
                        " sel " + std::to_string(d.GetCurSel(id)));
        // An edit field's new text is there when it tells of it.
        if (code == CommandCode::EditChange) heard.back() += " " + ToUtf8(d.Text(id));
    }
    void OnNotify(Dialog&, int id, NotifyCode code, int item) override {
        static const char* kWords[] = {"click",    "return",  "column",
                                       "dropdown", "closeup", "change"};
        heard.push_back("notify " + std::to_string(id) + " " + kWords[static_cast<int>(code)] +
                        " " + std::to_string(item));
    }
};

// Writes down what the model announces.
struct Watcher : DialogObserver {
    Changes changes;
    void OnDialogChanged(const Dialog&, DialogChange what, int id, int) override {
        changes.emplace_back(what, id);
    }
};

TEST(DialogCombo, SortedInsertsAlphabeticallyUnsortedKeepsOrderSearchesIgnoreCase) {
    Dialog d(Template(108));  // 1021 sorted
    for (auto name : {u"travel", u"Meeting", u"admin", u"Travel"}) d.AddString(1021, name);
    // Names equal but for case are ordered by their code units.
    std::vector<std::u16string> entries;
    for (int i = 0; i < d.Count(1021); ++i) entries.push_back(*d.GetLBText(1021, i));
    EXPECT_EQ(entries, (std::vector<std::u16string>{u"admin", u"Meeting", u"Travel", u"travel"}));

    EXPECT_EQ(d.FindStringExact(1021, u"ADMIN", 3), 0);  // searches after index 3 and wraps
    EXPECT_EQ(d.SelectString(1021, u"me"), 1);
    EXPECT_EQ(d.SelectString(1021, u"zz"), -1);
    EXPECT_EQ(d.GetCurSel(1021), 1);  // a failed search keeps the selection
    // Inserting before the selection moves it along with its entry.
    d.AddString(1021, u"Aardvark");
    EXPECT_EQ(d.Text(1021), u"Meeting");
    EXPECT_EQ(d.DeleteString(1021, 2), 4);
    EXPECT_EQ(d.GetCurSel(1021), -1);

    // Unsorted: insertion order, selection by index.
    Dialog e(Template(1070));
    for (auto name : {u"minutes", u"hours and minutes", u"hours only"}) e.AddString(1079, name);
    EXPECT_EQ(e.SelectString(1079, u"HOURS"), 1);
    EXPECT_EQ(e.SetCurSel(1079, 7), -1);
    EXPECT_EQ(e.GetCurSel(1079), -1);
}

TEST(DialogListView, RowsColumnsHeaderImagesSelectionAndCells) {
    Dialog d(Template(108));
    ASSERT_TRUE(d.CreateListView(500, {4, 47, 231, 189}));
    d.InsertColumn(500, 0, {u"Date", 88, 0});
    d.InsertColumn(500, 1, {u"Category", 90, -1});
    EXPECT_EQ(d.InsertRow(500, 0, u"29-10-2005", 4), 0);
    EXPECT_EQ(d.InsertRow(500, 99, u"30-10-2005", 3), 1);  // past the end appends
    d.SelectRow(500, 1);
    d.SetFocusedRow(500, 1);
    d.InsertRow(500, 0, u"28-10-2005", 4);  // an insertion above moves the selection down
    EXPECT_EQ(d.SelectedRow(500), 2);
    EXPECT_TRUE(d.DeleteRow(500, 2));
    EXPECT_EQ(d.SelectedRow(500), -1);
    EXPECT_EQ(d.FocusedRow(500), -1);
    d.ScrollBy(500, 10);
    EXPECT_EQ(d.TopRow(500), 1);  // never past the last row

    // A row keeps its cells end to end in one text: every edit leaves the others as they were.
    d.InsertColumn(500, 2, {u"Time", 55, -1});
    d.SetRows(500, {{4, {u"29-10-2005", u"Travel", u"1:30"}}, {3, {u"30-10-2005"}}});
    auto cells = [&](int row) {
        std::vector<std::u16string> all;
        for (int c = 0; c < d.ColumnCount(500); ++c) all.push_back(d.Cell(500, row, c));
        return all;
    };
    using V = std::vector<std::u16string>;
    EXPECT_EQ(cells(1), (V{u"30-10-2005", u"", u""}));  // short rows get empty cells
    d.SetCell(500, 0, 1, u"");
    d.SetCell(500, 0, 0, u"1-1-2005");
    d.SetCell(500, 0, 1, u"Meeting room");
    EXPECT_EQ(cells(0), (V{u"1-1-2005", u"Meeting room", u"1:30"}));
    d.InsertColumn(500, 1, {u"Memo", 40, -1});
    EXPECT_EQ(cells(0), (V{u"1-1-2005", u"", u"Meeting room", u"1:30"}));
    EXPECT_EQ(d.InsertColumn(500, 4, {u"Fifth", 10, -1}), -1);  // four columns at most
    EXPECT_TRUE(d.DeleteColumn(500, 0));
    EXPECT_EQ(cells(0), (V{u"", u"Meeting room", u"1:30"}));
}

TEST(DialogLayout, LayoutMovesControlsAndHidesOnlyThoseHiddenInALayout) {
    Dialog d(Template(108));
    d.ApplyLayout(true);
    EXPECT_EQ(d.Find(1025)->rect, (Rect{170, 4, 143, 19}));
    EXPECT_FALSE(d.IsVisible(1027));
    EXPECT_FALSE(d.IsVisible(1028));  // its visibility belongs to the behaviour
    d.Show(1028, true);
    d.ApplyLayout(false);
    EXPECT_TRUE(d.IsVisible(1027));
    EXPECT_TRUE(d.IsVisible(1028));
}

TEST(DialogNotices, EditFieldsReportNewTextAndFocusToTheirBehaviourAndTheFirstEndStands) {
    Dialog d(Template(125));
    Recorder recorder;
    d.SetBehaviour(&recorder);
    d.SetFocus(1039);
    d.SetFocus(1040);
    d.SetFocus(1040);          // no second notice without a change of focus
    d.SetText(1039, u"Done");  // a button does not tell of its text
    EXPECT_EQ(recorder.heard, Lines{"command 1040 setfocus sel -1"});
    d.End(1027);
    d.End(1026);  // the first result stands
    EXPECT_EQ(d.Result(), 1027);
}

struct InputTest : ::testing::Test {
    // date 1016, sorted combo 1021, memo 1025, OK 1027, Delete 1028 (hidden)
    Dialog d{Template(108)};
    Recorder behaviour;
    Watcher watcher;
    InputTest() {
        d.SetBehaviour(&behaviour);
        d.SetObserver(&watcher);
        for (auto e : {u"Travel", u"Meeting"}) d.AddString(1021, e);
        watcher.changes.clear();
    }
};

TEST_F(InputTest, ADropDownChoiceOpensPicksAndClosesInThatOrder) {
    EXPECT_FALSE(input::Choose(d, 1021, u"Travel"));
    EXPECT_EQ(behaviour.heard,
              (Lines{"command 1021 dropdown sel -1", "command 1021 selchange sel 1",
                     "command 1021 closeup sel 1"}));
    EXPECT_EQ(d.Focus(), 1021);
    // Entries are matched exactly; a near miss is refused and changes nothing.
    behaviour.heard.clear();
    EXPECT_EQ(input::Choose(d, 1021, u"travel"), "no entry \"travel\"");
    EXPECT_EQ(d.GetCurSel(1021), 1);
    EXPECT_TRUE(behaviour.heard.empty());
}

TEST_F(InputTest, RefusalsNameWhatStoodInTheWayAndChangeNothing) {
    d.Enable(1027, false);
    watcher.changes.clear();
    EXPECT_EQ(input::Click(d, 1027), "disabled");
    EXPECT_EQ(input::Click(d, 1028), "hidden");
    EXPECT_EQ(input::Click(d, 1025), "not a button");
    EXPECT_EQ(input::Type(d, 1021, u"x"), "not an edit field");
    EXPECT_EQ(input::TapRow(d, 1021, 0), "not a list view");
    EXPECT_EQ(input::SetChecked(d, 1025, true), "not a check box or radio button");
    EXPECT_TRUE(behaviour.heard.empty());
    EXPECT_TRUE(watcher.changes.empty());
}

TEST_F(InputTest, TypingIsCutToTheLimitAndADatePickSendsTheCalendarsEvents) {
    d.SetEditLimit(1025, 4);
    EXPECT_FALSE(input::Type(d, 1025, u"weekly review"));
    EXPECT_EQ(d.Text(1025), u"week");
    EXPECT_FALSE(input::PickDate(d, 1016, MakeDate(2005, 11, 2)));
    EXPECT_FALSE(input::PickDate(d, 1016, std::nullopt));
    EXPECT_EQ(behaviour.heard,
              (Lines{"command 1025 setfocus sel -1", "command 1025 editchange sel -1 week",
                     "notify 1016 dropdown 0", "notify 1016 change 0", "notify 1016 closeup 0",
                     "notify 1016 change 0"}));
    EXPECT_EQ(d.Date(1016), std::nullopt);
}

// The shell's Done ("click 1" where a dialog has no control 1) is left to the scenarios, which
// end their lists with it under both hosts.
// Taps on rows and headers that are there are every list scenario's.
TEST_F(InputTest, ListViewTapsReachOnlyRowsAndColumnsThatAreThere) {
    ASSERT_TRUE(d.CreateListView(500, {0, 0, 100, 100}));
    d.InsertColumn(500, 0, {u"Date", 50, 0});
    for (int r = 0; r < 3; ++r) d.InsertRow(500, r, u"row", 4);
    EXPECT_EQ(input::TapRow(d, 500, 3), "no row 3");
    EXPECT_EQ(input::TapHeader(d, 500, 1), "no column 1");
    EXPECT_FALSE(input::EnterRow(d, 500, 1));
    EXPECT_EQ(behaviour.heard, Lines{"notify 500 return 1"});
    EXPECT_EQ(d.FocusedRow(500), 1);
}

// Rotation with a dialog open is left to the scenarios that turn the screen under both hosts.
TEST(Input, CloseEndsEveryOpenDialogAsCancelled) {
    Dialog lower(Template(124)), upper(Template(125));
    Dialog* open[] = {&lower, &upper};
    input::Close(nullptr, open);
    EXPECT_TRUE(lower.Ended() && upper.Ended());
    EXPECT_EQ(upper.Result(), IDCANCEL);
}

TEST(Input, ARadioButtonChecksOnlyWithinItsGroupAndIsNeverUnchecked) {
    Dialog d(Template(1070));  // 1077 and 1078, 1080 and 1081
    Recorder behaviour;
    d.SetBehaviour(&behaviour);
    d.SetChecked(1077, true);
    d.SetChecked(1080, true);
    EXPECT_FALSE(input::SetChecked(d, 1078, true));
    EXPECT_EQ(input::SetChecked(d, 1078, false), "a radio button is unchecked by checking another");
    EXPECT_FALSE(d.IsChecked(1077));
    EXPECT_TRUE(d.IsChecked(1078));
    EXPECT_TRUE(d.IsChecked(1080));  // the other group keeps its choice
    EXPECT_EQ(behaviour.heard, Lines{"command 1078 clicked sel -1"});
}

}  // namespace
}  // namespace qv
