// The headless host: modal loops fed by a script of actions, refusals and transcript lines.
#include "platform/headless/headless_host.h"

#include <gtest/gtest.h>

#include "headless/scripted_host.h"
#include "ui/test_resources.h"

namespace qv {
namespace {

using A = HeadlessAction;
using HostTest = test::ScriptedHostOn<&test::HostResources>;
using Lines = std::vector<std::string>;

// A list 1036 whose selection enables Rename 1033; Delete 1034 asks first. Nested dialogs, as
// the scenarios open them under both hosts, are left to those.
struct Categories : DialogBehaviour {
    explicit Categories(UiHost& host) : host(host) {}
    void OnInit(Dialog& d) override {
        for (auto name : {u"Travel", u"Meeting"}) d.AddString(1036, name);
        d.SetFocus(1036);
        d.Enable(1034, true);
    }
    void OnCommand(Dialog& d, int id, CommandCode code) override {
        if (id == 1036 && code == CommandCode::SelectionChange) {
            d.Enable(1033, true);
            d.SetDefaultButton(1033);
        } else if (id == 1034) {
            d.End(AskYesNo(host, u"Delete?") ? 1034 : 0);
        } else if (id == 1033 || id == IDOK) {
            d.End(id == IDOK ? 1037 : id);
        }
    }
    UiHost& host;
};

TEST_F(HostTest, RefusesWhatAPersonCouldNotDoAndAQuestionTakesOnlyAnAnswer) {
    Categories categories(host);
    Add(A::MakeClick(1033));               // Rename is disabled at first
    Add(A::MakeClick(1028));               // no such control
    Add(A::MakeCommand(40050));            // the main window is covered
    Add(A::MakeChoose(1036, u"Holiday"));  // no such entry
    Add(A::MakeAnswer(true));              // nothing was asked
    Add(A::MakeScreen(0, 320));            // no screen has no width
    Add(A::MakeChoose(1036, u"Travel"));
    Look([&] {
        EXPECT_EQ(host.ScreenSize(), kPortraitScreen);
        EXPECT_EQ(replay::ShowControl(host.TopWindow(), 1033).lines,
                  Lines{"button 1033 \"Rename\" default"});
        EXPECT_EQ(replay::ShowControl(host.TopWindow(), 4711, "dialog 124").error,
                  "show 4711: no such control in dialog 124");
    });
    Add(A::MakeClick(1034));
    Add(A::MakeClick(1032));  // the box is in the way
    Add(A::MakeAnswer(false));
    Add(A::MakeClick(1033));  // not reached: No has ended the dialog
    EXPECT_EQ(host.RunDialog(124, categories), 0);
    EXPECT_EQ(errors, (Lines{"click 1033: disabled", "click 1028: missing",
                             "command 40050: a dialog is open", "choose 1036: no entry \"Holiday\"",
                             "answer yes: no question is open", "screen 0 320: not a screen size",
                             "click 1032: the question needs an answer yes or no"}));
    EXPECT_EQ(events,
              (Lines{"open 124 \"Edit Categories...\"", "question \"Delete?\"", "end 124 0"}));
    EXPECT_EQ(steps.size(), 1u);
    EXPECT_EQ(host.RunDialog(4711, categories), -1);
}

TEST_F(HostTest, MessageBoxesWithTheWaitCursorOnAreAnError) {
    host.SetWaitCursor(true);
    EXPECT_EQ(host.MessageBox(u"Done!", u"Quorvella", kNoticeBox), IDOK);
    host.SetWaitCursor(true);
    ShowStop(host, u"Cannot continue");  // takes the cursor away first
    host.MessageBeep(MB_BEEP);
    EXPECT_EQ(errors, Lines{"a message box came while the wait cursor was on"});
    EXPECT_EQ(events,
              (Lines{"message exclamation \"Done!\"", "message stop \"Cannot continue\"", "beep"}));
}

// The main window with its project bar, whose combo 1000 offers "Alpha" and "Beta".
struct Bar : DialogBehaviour {
    void OnInit(Dialog& d) override {
        for (auto name : {u"Beta", u"Alpha"}) d.AddString(1000, name);
    }
    void OnCommand(Dialog& d, int id, CommandCode code) override {
        if (id == 1000 && code == CommandCode::SelectionChange) chosen = d.Text(1000);
    }
    std::u16string chosen;
};

struct Window : MainWindowBehaviour {
    explicit Window(UiHost& host) : host(host) {}
    void OnCreate(MainFrame& frame) override {
        if (host.CreateChildDialog(frame, 130, bar) == nullptr) frame.Destroy();
        frame.EnableMenuItem(40050, false);
        frame.SetButtonEnabled(553, false);
    }
    void OnCommand(MainFrame& frame, int command) override {
        if (command == 40019) host.RunDialog(124, categories);
        commands.push_back(command);
        if (command == 40049) frame.PostClose();
    }
    void OnClose(MainFrame& frame) override {
        closed = true;
        frame.Destroy();
    }
    UiHost& host;
    Bar bar;
    Categories categories{host};
    std::vector<int> commands;
    bool closed = false;
};

// What the transcript prints of the main window every scenario shows; here what they do not.
TEST_F(HostTest, MainWindowRefusesGreyAndMissingCommandsAndRunsUntilItsClose) {
    MainFrame frame(u"Quorvella", test::TestMenuBar());
    Window window(host);
    for (A a : {A::MakeCommand(553), A::MakeCommand(40050), A::MakeCommand(40001),
                A::MakeProject(1000, u"Gamma"), A::MakeProject(1000, u"Beta"), A::MakeTap(1000, 0),
                A::MakeCommand(40049)}) {
        Add(a);
    }
    EXPECT_EQ(host.RunMainWindow(frame, window), 0);
    EXPECT_TRUE(window.closed);
    EXPECT_EQ(window.commands, (std::vector<int>{40049}));
    EXPECT_EQ(window.bar.chosen, u"Beta");
    EXPECT_EQ(errors,
              (Lines{"command 553: grey", "command 40050: grey", "command 40001: missing",
                     "project \"Gamma\": no entry \"Gamma\"", "tap 1000: not a list view"}));
    EXPECT_TRUE(events.empty());  // the project bar is never "open"ed
    EXPECT_FALSE(host.Running());
    EXPECT_EQ(replay::ShowMain(host.Main(), host.ScreenSize()).error,
              "show main: the program is not running");
}

TEST_F(HostTest, KillUnwindsEveryOpenWindowWithoutItsExitSteps) {
    MainFrame frame(u"Quorvella", test::TestMenuBar());
    Window window(host);
    Add(A::MakeCommand(40019));
    Add(A::MakeKill());
    EXPECT_THROW(host.RunMainWindow(frame, window), HeadlessKill);
    EXPECT_TRUE(window.commands.empty());  // nothing after the dialog ran
    EXPECT_FALSE(window.closed);
    EXPECT_EQ(host.TopDialog(), nullptr);
    EXPECT_FALSE(host.Running());
    EXPECT_EQ(events, Lines{"open 124 \"Edit Categories...\""});
}

}  // namespace
}  // namespace qv
