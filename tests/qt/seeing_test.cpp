// What a person sees and types on the desktop window: dates in the chosen order, a whole date
// typed over, the flash that comes with a beep, message boxes wide enough for their caption.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDateEdit>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

#include "platform/qt/focus_flash.h"
#include "platform/qt/qt_host.h"
#include "qt/event_loop.h"
#include "ui/test_resources.h"

namespace qv {
namespace {

struct Quiet : DialogBehaviour {};

// The booking dialog's date picker 1016 and memo 1025.
TEST(QtSeeing, DatesReadInTheChosenOrderAndCtrlATypesAWholeDateOver) {
    FixedClock clock{MakeDate(2005, 10, 29)};
    QtHost host{test::HostResources(), clock, 1, {}};
    Quiet behaviour;
    for (const bool monthFirst : {true, false}) {
        host.SetMonthFirst(monthFirst);
        host.SetScriptedStep([&] {
            Dialog& d = *host.TopDialog();
            d.SetDate(1016, MakeDate(2026, 11, 30));
            QCoreApplication::processEvents();
            auto* picker = static_cast<QDateEdit*>(host.WidgetOf(1016));
            picker->setFocus();
            EXPECT_EQ(picker->text(), monthFirst ? u"11/30/26" : u"30/11/26");
            QTest::keyClick(picker, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(picker, QStringLiteral("12/03/26"));
            EXPECT_EQ(d.Date(1016), monthFirst ? MakeDate(2026, 12, 3) : MakeDate(2026, 3, 12));
            d.End(IDCANCEL);
        });
        host.RunDialog(108, behaviour);
    }
}

TEST(QtSeeing, ABeepLightsTheFocusedControlForAMomentAndBoxesFitTheirCaption) {
    FixedClock clock{MakeDate(2005, 10, 29)};
    QtHost host{test::HostResources(), clock, 3, {}};
    host.Window()->show();
    QApplication::setActiveWindow(host.Window());
    Quiet behaviour;
    host.SetScriptedStep([&] {
        auto* memo = static_cast<QLineEdit*>(host.WidgetOf(1025));
        memo->setFocus();
        host.MessageBeep(0);
        QCoreApplication::processEvents();
        const QWidget* flash = ShownFocusFlash(host.Window());
        if (flash == nullptr) {
            ADD_FAILURE() << "no flash";
            return host.TopDialog()->End(IDCANCEL);
        }
        EXPECT_TRUE(flash->geometry().contains(
            QRect(memo->mapTo(host.Window(), QPoint(0, 0)), memo->size())));
        QTest::keyClicks(memo, QStringLiteral("ab"));  // the flash never stands in the way
        EXPECT_EQ(memo->text(), QStringLiteral("ab"));
        EXPECT_TRUE(test::RunEventsUntil([&] { return ShownFocusFlash(host.Window()) == nullptr; },
                                         kFocusFlashMs * 4));
        host.TopDialog()->End(IDCANCEL);
    });
    host.RunDialog(108, behaviour);

    const QString caption = QStringLiteral("Quorvella Projects and their Balance");
    host.SetScriptedAnswer([&](QWidget* box, bool) {
        QFont title = box->font();
        title.setBold(true);
        EXPECT_GE(box->width(), QFontMetrics(title).horizontalAdvance(caption));
        for (QAbstractButton* b : static_cast<QMessageBox*>(box)->buttons()) {
            EXPECT_GE(b->width(), b->sizeHint().width());
        }
        static_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
    });
    host.MessageBox(u"Done!", caption.toStdU16String(), kNoticeBox);
}

}  // namespace
}  // namespace qv
