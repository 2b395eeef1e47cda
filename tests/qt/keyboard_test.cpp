// The desktop's keyboard over the program's own menu bar and dialogs: the menu bar, the Ctrl
// keys, Tab and Escape.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QTest>

#include "app/commands.h"
#include "app/program_resources.h"
#include "desktop/desktop_keys.h"
#include "platform/qt/qt_host.h"
#include "res/menus.h"

namespace qv {
namespace {

struct Heard : MainWindowBehaviour, DialogBehaviour {
    std::vector<int> commands;
    void OnCommand(MainFrame&, int command) override { commands.push_back(command); }
    void OnCommand(Dialog&, int id, CommandCode code) override {
        if (code == CommandCode::Clicked) commands.push_back(id);
    }
};

void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* at = QApplication::activePopupWidget();
    if (at == nullptr) at = QApplication::focusWidget();
    if (at == nullptr) at = QApplication::activeWindow();
    QTest::keyClick(at, static_cast<Qt::Key>(key), modifiers);
}

void Activate(QtHost& host) {
    host.Window()->show();
    host.Window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(host.Window()));
}

TEST(QtKeyboard, MenuBarAndCtrlKeysRunTheirCommandsOnlyWhileTheItemIsNotGrey) {
    FixedClock clock;
    QtHost host(ProgramResources(), clock, 1, {});
    host.SetKeyboard(DesktopCommandKeys(), DesktopEscapeControls());
    MainFrame frame(u"Quorvella", MainMenuBar());
    Heard heard;
    host.SetScriptedStep([&] {
        Activate(host);
        // Each image button's tip names its own command, and its key.
        auto tip = [&](int button) {
            return host.MenuBarWidget()
                ->findChild<QWidget*>(QString::number(button))
                ->toolTip()
                .toStdString();
        };
        EXPECT_EQ(tip(kButtonEditCategories), "Edit Categories (Ctrl+K)");
        EXPECT_EQ(tip(kButtonTimeReport), "Time Report (Ctrl+T)");
        EXPECT_EQ(tip(kButtonUndo), "Undo Deleting (Ctrl+Z)");

        for (const CommandKey& k : DesktopCommandKeys()) Key(k.letter, Qt::ControlModifier);
        frame.EnableMenuItem(kCmdUndoDeleting, false);
        Key('Z', Qt::ControlModifier);
        EXPECT_EQ(heard.commands,
                  (std::vector<int>{kCmdNew, kCmdUndoDeleting, kCmdEditCategories, kCmdTimeReport,
                                    kCmdExportTimeRecords, kCmdExit}));

        // F10, to the Time menu, its second item.
        heard.commands.clear();
        Key(Qt::Key_F10);
        Key(Qt::Key_Right);
        Key(Qt::Key_Return);
        ASSERT_NE(QApplication::activePopupWidget(), nullptr);
        Key(Qt::Key_Down);
        Key(Qt::Key_Return);
        // F10 and back round to the last image button, which runs at once.
        Key(Qt::Key_F10);
        Key(Qt::Key_Left);
        Key(Qt::Key_Return);
        EXPECT_EQ(heard.commands, (std::vector<int>{kCmdNewProject, kButtonUndo}));
        // Alt alone puts the keyboard on the bar too; Escape leaves it, running nothing.
        Key(Qt::Key_Alt);
        EXPECT_EQ(QApplication::focusWidget()->objectName().toInt(), kCmdNew);
        Key(Qt::Key_Escape);
        EXPECT_EQ(heard.commands.size(), 2u);
        frame.Destroy();
    });
    host.RunMainWindow(frame, heard);
}

// Register Time: date 1016, hours 1018, minutes 1019, category 1021, project 1023, memo 1025,
// OK 1027, Cancel 1026; Delete 1028 is hidden.
TEST(QtKeyboard, TabGoesRoundTheInputControlsAndEscapeLeavesAsCancelBackOrNoDo) {
    FixedClock clock{MakeDate(2005, 10, 29)};
    QtHost host(ProgramResources(), clock, 1, {});
    host.SetKeyboard(DesktopCommandKeys(), DesktopEscapeControls());
    Heard heard;
    host.SetScriptedStep([&] {
        Activate(host);
        host.WidgetOf(1016)->setFocus();
        std::vector<int> visited;
        for (int i = 0; i < 8; ++i) {
            Key(Qt::Key_Tab);
            visited.push_back(QApplication::focusWidget()->objectName().toInt());
        }
        EXPECT_EQ(visited, (std::vector<int>{1018, 1019, 1021, 1023, 1025, 1027, 1026, 1016}));
        Key(Qt::Key_Backtab);
        EXPECT_EQ(host.TopDialog()->Focus(), 1026);
        Key(Qt::Key_Escape);
        EXPECT_EQ(heard.commands, std::vector<int>{1026});
        host.TopDialog()->End(IDCANCEL);
    });
    host.RunDialog(108, heard);

    // The time report is left by the shell's Done.
    heard.commands.clear();
    host.SetScriptedStep([&] {
        Key(Qt::Key_Escape);
        EXPECT_EQ(heard.commands, std::vector<int>{IDOK});
        host.TopDialog()->End(IDOK);
    });
    host.RunDialog(127, heard);

    host.SetScriptedAnswer([](QWidget* box, bool) { QTest::keyClick(box, Qt::Key_Escape); });
    EXPECT_EQ(host.MessageBox(u"Delete?", u"Quorvella", MB_YESNO), IDNO);
}

}  // namespace
}  // namespace qv
