// The desktop host: widgets follow the model without feeding the program's own changes back as
// a person's input, and a person's gestures on the widgets reach the behaviour.
#include "platform/qt/qt_host.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QToolButton>

#include "platform/qt/qt_text.h"
#include "ui/test_resources.h"

namespace qv {
namespace {

// Writes down what the behaviour hears after its own initialisation.
struct Recorder : DialogBehaviour {
    std::vector<std::string> heard;
    void OnInit(Dialog& d) override {
        for (auto e : {u"Travel", u"Meeting"}) d.AddString(1021, e);
        heard.clear();  // what the program did itself is not in question
    }
    void OnCommand(Dialog&, int id, CommandCode code) override {
        heard.push_back(std::to_string(id) + " command " + std::to_string(static_cast<int>(code)));
    }
};

// The booking dialog: date 1016, category combo 1021, memo 1025 of 29 characters, OK 1027.
TEST(QtDialog, GesturesReachTheBehaviourAndTheProgramsOwnChangesShowWithoutComingBack) {
    FixedClock clock{MakeDate(2005, 10, 29)};
    QtHost host{test::HostResources(), clock, 1, {}};
    Recorder behaviour;
    host.SetScriptedStep([&] {
        Dialog& d = *host.TopDialog();
        auto* memo = static_cast<QLineEdit*>(host.WidgetOf(1025));
        QTest::mouseClick(memo, Qt::LeftButton);
        QTest::keyClicks(memo, QStringLiteral("ab"));
        EXPECT_EQ(d.Text(1025), u"ab");    // what each gesture raises is left to the scenarios
        EXPECT_EQ(memo->maxLength(), 29);  // what its template allows, not one more

        // The program changes its controls while the dialog is up.
        behaviour.heard.clear();
        d.SetCurSel(1021, 1);
        d.SetText(1025, u"weekly");  // the edit field's own notice of a new text
        d.SetDate(1016, MakeDate(2005, 11, 2));
        d.Enable(1027, false);
        QCoreApplication::processEvents();
        auto* combo = static_cast<QComboBox*>(host.WidgetOf(1021));
        // The control sorts as the model does: "Meeting" before "Travel".
        EXPECT_EQ(combo->itemText(0), QStringLiteral("Meeting"));
        EXPECT_EQ(combo->currentText(), QStringLiteral("Travel"));
        EXPECT_EQ(memo->text(), QStringLiteral("weekly"));
        EXPECT_EQ(static_cast<QDateEdit*>(host.WidgetOf(1016))->date(), QDate(2005, 11, 2));
        EXPECT_FALSE(host.WidgetOf(1027)->isEnabled());
        EXPECT_EQ(behaviour.heard, std::vector<std::string>{"1025 command 4"});

        // A date typed as a person writes it is the date they meant: a separator the picker
        // has passed by itself after a complete day or month is skipped; a dash is a slash.
        auto* picker = static_cast<QDateEdit*>(host.WidgetOf(1016));
        for (auto [keys, date] : {std::pair{"01/12/26", MakeDate(2026, 12, 1)},
                                  std::pair{"4-1-27", MakeDate(2027, 1, 4)}}) {
            d.SetDate(1016, MakeDate(2026, 11, 30));
            picker->setSelectedSection(QDateTimeEdit::DaySection);
            QTest::keyClicks(picker, QString::fromLatin1(keys));
            EXPECT_EQ(d.Date(1016), date) << keys;
        }

        // Return in a field presses the default button.
        d.Enable(1027, true);
        behaviour.heard.clear();
        QTest::keyClick(memo, Qt::Key_Return);
        EXPECT_EQ(behaviour.heard, std::vector<std::string>{"1027 command 0"});
        d.End(IDCANCEL);
    });
    EXPECT_EQ(host.RunDialog(108, behaviour), IDCANCEL);
}

TEST(QtWindow, MenusOpenUpwardsWithinTheWindowAndBoxesSpeakAtItsZoomWithItsTitle) {
    FixedClock clock;
    QtHost host(test::HostResources(), clock, 2, {});
    MainFrame frame(u"Quorvella", test::TestMenuBar());
    MainWindowBehaviour behaviour;
    host.SetScriptedAnswer([](QWidget* box, bool) {
        EXPECT_EQ(box->font().pixelSize(), kDialogFontPixels * 2);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Tester"));  // the program's title
        static_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
    });
    host.SetScriptedStep([&] {
        const QRect window(host.Window()->mapToGlobal(QPoint(0, 0)), host.Window()->size());
        for (auto* button : host.MenuBarWidget()->findChildren<QToolButton*>()) {
            if (QMenu* menu = button->menu()) {
                menu->popup(button->mapToGlobal(QPoint(0, button->height())));
                EXPECT_LE(menu->geometry().bottom(), button->mapToGlobal(QPoint(0, 0)).y());
                EXPECT_LE(menu->geometry().right(), window.right());
                menu->hide();
            }
        }
        ShowNotice(host, u"No Records found !");
        frame.Destroy();
    });
    host.RunMainWindow(frame, behaviour);
}

}  // namespace
}  // namespace qv

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
