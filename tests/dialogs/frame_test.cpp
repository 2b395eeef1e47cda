// The dialog frame: layouts by screen size, title font and band, help, name checks, About.
#include "dialogs/frame.h"

#include <gtest/gtest.h>

#include "dialogs/about.h"
#include "headless/scripted_host.h"
#include "res/templates.h"

namespace qv {
namespace {

using A = HeadlessAction;

using FrameTest = test::ScriptedHost;

TEST_F(FrameTest, OnlyTheExactPortraitScreenUsesThePortraitLayout) {
    EXPECT_FALSE(IsLandscapeLayout(host));
    host.SetScreenSize({320, 240});
    EXPECT_TRUE(IsLandscapeLayout(host));
    EXPECT_TRUE(IsLandscapeLayout(Size{480, 640}));
    EXPECT_TRUE(IsLandscapeLayout(Size{240, 321}));
}

TEST_F(FrameTest, TitleFontHeightTruncatesTowardZero) {
    EXPECT_EQ(TitleBandFont(host).height, -13);  // -(10 * 96) / 72 = -13.33
    EXPECT_EQ(CreateTitleFont(120, u"Tahoma", 10, 400, true).height, -16);  // -16.67
    EXPECT_EQ(CreateTitleFont(96, u"Tahoma", 9, 400, false).height, -12);
}

TEST_F(FrameTest, PortraitOnlyBandsPaintNothingInLandscape) {
    const TitleBand& registerTime = FindDialogTemplate(108)->band;
    PaintList portrait = PaintTitleBand(host, registerTime);
    ASSERT_EQ(portrait.size(), 2u);
    const auto& heading = std::get<PaintText>(portrait[0]);
    EXPECT_EQ(heading.text, u"Time Record");
    EXPECT_EQ(heading.at, (Point{6, 4}));
    EXPECT_EQ(heading.colour, 0x00FF0000u);
    EXPECT_EQ(std::get<PaintPolyline>(portrait[1]).points, (std::vector<Point>{{6, 23}, {90, 23}}));

    host.SetScreenSize({320, 240});
    EXPECT_TRUE(PaintTitleBand(host, registerTime).empty());
    // Delete by Range paints its band in every layout; the book paints a hint without a rule.
    EXPECT_EQ(PaintTitleBand(host, FindDialogTemplate(129)->band).size(), 2u);
    PaintList hint = PaintTitleBand(host, FindDialogTemplate(132)->band);
    ASSERT_EQ(hint.size(), 1u);
    EXPECT_EQ(std::get<PaintText>(hint[0]).text, u"To edit project tap on its name !");
    EXPECT_TRUE(PaintTitleBand(host, FindDialogTemplate(133)->band).empty());
}

TEST(NameChecks, LettersDigitsAndBlanksOnly) {
    EXPECT_TRUE(IsValidName(u"Week 12"));
    EXPECT_TRUE(IsValidName(u"Caf\u00e9 \u00dcber"));  // letters beyond A to Z
    EXPECT_TRUE(IsValidName(u"   "));                  // callers trim first
    EXPECT_FALSE(IsValidName(u"week-12"));
    EXPECT_FALSE(IsValidName(u""));
    EXPECT_FALSE(IsValidName(u"tab\there"));

    EXPECT_TRUE(HasValidFirstChar(u"2nd shift"));
    EXPECT_FALSE(HasValidFirstChar(u"-travel"));
    EXPECT_FALSE(HasValidFirstChar(u" travel"));
    EXPECT_FALSE(HasValidFirstChar(u""));
}

TEST_F(FrameTest, MessagesHelpAndTheEntryBeep) {
    host.SetWaitCursor(true);
    ShowNotice(host, 40028u);
    EXPECT_FALSE(host.WaitCursor());  // the cursor goes before the box
    Add(A::MakeAnswer(true));
    Add(A::MakeAnswer(false));
    EXPECT_TRUE(AskYesNo(host, 40039u));
    EXPECT_FALSE(AskYesNo(host, 40039u));
    ShowHelp(host, u"Timerecords");

    Dialog d(*FindDialogTemplate(125));
    RefuseEntry(host, d, 1040);
    EXPECT_EQ(d.Focus(), 1040);

    const std::string question =
        "question \"Selected item will be permanently deleted. Continue?\"";
    EXPECT_EQ(events, (std::vector<std::string>{
                          "message exclamation \"Starts date must be earlier than Ends date!\"",
                          question, question, "help file:enquorvella.htm#Timerecords", "beep"}));
    EXPECT_TRUE(errors.empty());
}

TEST_F(FrameTest, AboutShowsTheSettingsVersionAndOpensTheHelpContents) {
    Look([&] {
        EXPECT_EQ(replay::ShowControl(host.TopWindow(), 1068).lines,
                  std::vector<std::string>{"static 1068 \"1.2\""});
        EXPECT_FALSE(host.InputPanel());
    });
    Add(A::MakeHelp());
    Add(A::MakeClick(IDOK));
    host.SetInputPanel(true);
    EXPECT_EQ(ShowAbout(host, 1, 2), 1);
    EXPECT_EQ(events, (std::vector<std::string>{"open 102 \"About\"",
                                                "help \\Windows\\enquorvella.htc", "end 102 1"}));
    Look([&] {
        EXPECT_EQ(replay::ShowControl(host.TopWindow(), 1068).lines,
                  std::vector<std::string>{"static 1068 \"0.0\""});
    });
    Add(A::MakeClick(IDOK));
    EXPECT_EQ(ShowAbout(host, 0, 0), 1);
    EXPECT_TRUE(errors.empty());
}

}  // namespace
}  // namespace qv
