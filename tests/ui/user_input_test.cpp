// The input layer: each gesture checks the control, changes the model and raises the
// behaviour's events in the handheld's order; a refused gesture changes nothing.
#include "platform/ui/user_input.h"

#include <gtest/gtest.h>

#include <algorithm>

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
    for (DialogChange what : {DialogChange::Focus, DialogChange::Selection}) {
        EXPECT_NE(std::ranges::find(watcher.changes, std::pair{what, 1021}), watcher.changes.end());
    }
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
    EXPECT_EQ(input::Click(d, 4711), "missing");
    EXPECT_EQ(input::Click(d, 1025), "not a button");
    EXPECT_EQ(input::Type(d, 1021, u"x"), "not an edit field");
    EXPECT_EQ(input::PickDate(d, 1025, std::nullopt), "not a date picker");
    EXPECT_EQ(input::TapRow(d, 1021, 0), "not a list view");
    EXPECT_EQ(input::TapHeader(d, 1025, 0), "not a list view");
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
              (Lines{"command 1025 setfocus sel -1", "command 1025 editchange sel -1",
                     "notify 1016 dropdown 0", "notify 1016 change 0", "notify 1016 closeup 0",
                     "notify 1016 change 0"}));
    EXPECT_EQ(d.Date(1016), std::nullopt);
}

TEST_F(InputTest, ListViewRowsAndHeadersAndTheShellsDone) {
    ASSERT_TRUE(d.CreateListView(500, {0, 0, 100, 100}));
    d.InsertColumn(500, 0, {u"Date", 50, 0});
    for (int r = 0; r < 3; ++r) d.InsertRow(500, r, u"row", 4);
    EXPECT_FALSE(input::TapRow(d, 500, 2));
    EXPECT_FALSE(input::EnterRow(d, 500, 1));
    EXPECT_EQ(input::TapRow(d, 500, 3), "no row 3");
    EXPECT_FALSE(input::TapHeader(d, 500, 0));
    EXPECT_EQ(input::TapHeader(d, 500, 1), "no column 1");
    EXPECT_EQ(behaviour.heard,
              (Lines{"notify 500 click 2", "notify 500 return 1", "notify 500 column 0"}));
    EXPECT_EQ(d.SelectedRow(500), 1);
    EXPECT_EQ(d.FocusedRow(500), 1);

    // This one has the shell's Done and no control 1: "click 1" is that Done.
    Dialog list(Template(124));
    Recorder listBehaviour;
    list.SetBehaviour(&listBehaviour);
    EXPECT_TRUE(input::HasShellDone(list));
    EXPECT_FALSE(input::Click(list, IDOK));
    EXPECT_EQ(listBehaviour.heard, Lines{"command 1 clicked sel -1"});
}

TEST(Input, CloseEndsOpenDialogsAsCancelledAndRotationReachesEveryWindow) {
    struct Sizes : DialogBehaviour {
        std::vector<bool> heard;
        void OnSize(Dialog&, bool landscape) override { heard.push_back(landscape); }
    } sizes;
    Dialog lower(Template(124)), upper(Template(125));
    lower.SetBehaviour(&sizes);
    upper.SetBehaviour(&sizes);
    Dialog* open[] = {&lower, &upper};
    input::ChangeScreen(nullptr, open, true);
    EXPECT_EQ(sizes.heard, (std::vector<bool>{true, true}));
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

TEST_F(InputTest, TheModelAnnouncesOnlyRealChangesAndLayoutsAsAWhole) {
    d.Enable(1027, true);  // already enabled: nothing to say
    d.SetChecked(1027, false);
    EXPECT_TRUE(watcher.changes.empty());
    d.ApplyLayout(true);
    d.SetDefaultButton(1028);
    d.End(IDCANCEL);
    EXPECT_EQ(watcher.changes, (Changes{{DialogChange::Layout, kNoControl},
                                        {DialogChange::DefaultButton, 1028},
                                        {DialogChange::Ended, kNoControl}}));
}

}  // namespace
}  // namespace qv
