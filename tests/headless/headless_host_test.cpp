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

// What boxes and beeps print is every scenario's.
TEST_F(HostTest, MessageBoxesWithTheWaitCursorOnAreAnError) {
    host.SetWaitCursor(true);
    EXPECT_EQ(host.MessageBox(u"Done!", u"Quorvella", kNoticeBox), IDOK);
    host.SetWaitCursor(true);
    ShowStop(host, u"Cannot continue");  // takes the cursor away first
    EXPECT_EQ(errors, Lines{"a message box came while the wait cursor was on"});
}

// The main window, whose command 40019 opens the categories. Grey and missing commands and the
// project bar are left to the scenarios, which show them under both hosts.
struct Window : MainWindowBehaviour {
    explicit Window(UiHost& host) : host(host) {}
    void OnCommand(MainFrame&, int command) override {
        if (command == 40019) host.RunDialog(124, categories);
        commands.push_back(command);
    }
    void OnClose(MainFrame& frame) override {
        closed = true;
        frame.Destroy();
    }
    UiHost& host;
    Categories categories{host};
    std::vector<int> commands;
    bool closed = false;
};

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
