#include "app/main_window.h"

#include <gtest/gtest.h>

#include "core/time_record.h"
#include "platform/registry/registry_hive.h"
#include "program_fixture.h"

namespace qv {
namespace {

using testing::ProgramTest;
using Step = std::function<HeadlessAction(HeadlessHost&)>;

TEST(RowTimeText, ShowsTwoZeroDigitsAndNothingBeyondADay) {
    TimeRecord r;
    EXPECT_EQ(RowTimeText(r, Colon), u"0:0");  // no minutes at all
    EXPECT_EQ(RowTimeText(r, Comma), u"0,0");
    SetMinutes(r, u"0");
    EXPECT_EQ(RowTimeText(r, Colon), u"0:00");
    EXPECT_EQ(TimeText(r, Colon), u"0:0");  // while the record's own text has one zero
    SetMinutes(r, u"65");
    EXPECT_EQ(RowTimeText(r, Comma), u"1,05");
    SetMinutes(r, u"1440");
    EXPECT_EQ(RowTimeText(r, Colon), u"24:00");
    SetMinutes(r, u"1500");
    EXPECT_EQ(RowTimeText(r, Colon), u"");
}

TEST_F(ProgramTest, AnAscendingListStartsScrolledToTheNewestRows) {
    SeedRecords(40);
    for (uint32_t order : {0u, 1u, 2u}) {
        SetSetting(u"SortOrder", order);
        int top = -1, rows = 0;
        Run({[&](HeadlessHost& host) {
            top = Bar(host).TopRow(kMainList);
            rows = Bar(host).RowCount(kMainList);
            return HeadlessAction::MakeCommand(kCmdExit);
        }});
        EXPECT_EQ(rows, 40);
        if (order == 1) {
            EXPECT_EQ(top, 0) << "newest first needs no scrolling";
        } else {
            EXPECT_GT(top, 0) << "order " << order;
        }
    }
}

TEST_F(ProgramTest, ARotationRebuildsTheListForTheNewLayout) {
    SeedRecords(3);
    std::vector<int> portrait, landscape;
    Rect comboPortrait, comboLandscape;
    auto widths = [](Dialog& bar) {
        std::vector<int> w;
        for (const ListColumn& c : bar.Find(kMainList)->columns) w.push_back(c.width);
        return w;
    };
    Run({[&](HeadlessHost&) { return HeadlessAction::MakeScreen(320, 240); },
         [&](HeadlessHost& host) {
             landscape = widths(Bar(host));
             comboLandscape = Bar(host).Find(kProjectCombo)->rect;
             EXPECT_EQ(Bar(host).RowCount(kMainList), 3);
             return HeadlessAction::MakeScreen(240, 320);
         },
         [&](HeadlessHost& host) {
             portrait = widths(Bar(host));
             comboPortrait = Bar(host).Find(kProjectCombo)->rect;
             return HeadlessAction::MakeClose();
         }});
    EXPECT_EQ(landscape, (std::vector<int>{105, 105, 90}));
    EXPECT_EQ(portrait, (std::vector<int>{88, 90, 55}));
    EXPECT_EQ(comboLandscape, (Rect{90, 15, 150, 150}));
    EXPECT_EQ(comboPortrait, (Rect{80, 15, 142, 150}));
}

TEST_F(ProgramTest, TheSelectedRowComesBackAfterACommand) {
    SeedRecords(5);
    int selected = -1;
    Run({[&](HeadlessHost&) { return HeadlessAction::MakeTap(kMainList, 3); },
         [&](HeadlessHost&) { return HeadlessAction::MakeClick(kRegisterTimeCancel); },
         [&](HeadlessHost&) { return HeadlessAction::MakeCommand(kCmdAbout); },
         [&](HeadlessHost&) { return HeadlessAction::MakeClick(1); },
         [&](HeadlessHost& host) {
             selected = Bar(host).SelectedRow(kMainList);
             EXPECT_EQ(Bar(host).Focus(), kMainList);
             return HeadlessAction::MakeClose();
         }});
    EXPECT_EQ(selected, 3);
}

TEST_F(ProgramTest, TheExitCommandRunsTheExitStepsAndKeepsTheChosenDirection) {
    SeedRecords(2);
    const int code = Run({[&](HeadlessHost&) { return HeadlessAction::MakeHeader(kMainList, 0); },
                          [&](HeadlessHost&) { return HeadlessAction::MakeCommand(kCmdExit); }});
    EXPECT_EQ(code, 0);
    RegistryHive hive(folders_.HiveFile());
    AppSettings settings;
    ASSERT_TRUE(LoadSettings(settings, hive, u"Brumo", u"Quorvella"));
    EXPECT_EQ(settings.SortOrder, 0u);
    EXPECT_EQ(settings.LastProject, u"Alpha");
}

}  // namespace
}  // namespace qv
