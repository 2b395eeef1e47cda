// The dialog frame: layouts by screen size, title font and band, name checks and About. Its
// messages are checked with the messages of every failure (export dialog test).
#include "dialogs/frame.h"

#include <gtest/gtest.h>

#include "dialogs/about.h"
#include "headless/scripted_host.h"
#include "res/templates.h"

namespace qv {
namespace {

using FrameTest = test::ScriptedHost;

TEST_F(FrameTest, LayoutsTitleFontsAndBands) {
    // Only the exact portrait screen uses the portrait layout.
    EXPECT_FALSE(IsLandscapeLayout(host));
    EXPECT_TRUE(IsLandscapeLayout(Size{480, 640}));
    EXPECT_TRUE(IsLandscapeLayout(Size{240, 321}));
    // The title font's height truncates toward zero: -(10 * 96) / 72 is -13.33.
    EXPECT_EQ(TitleBandFont(host).height, -13);
    EXPECT_EQ(CreateTitleFont(120, u"Tahoma", 10, 400, true).height, -16);

    const TitleBand& registerTime = FindDialogTemplate(108)->band;
    PaintList portrait = PaintTitleBand(host, registerTime);
    ASSERT_EQ(portrait.size(), 2u);
    EXPECT_EQ(std::get<PaintText>(portrait[0]).at, (Point{6, 4}));
    EXPECT_EQ(std::get<PaintPolyline>(portrait[1]).points, (std::vector<Point>{{6, 23}, {90, 23}}));
    // Portrait-only bands paint nothing in landscape; Delete by Range paints its band in every
    // layout; the book paints a hint without a rule.
    host.SetScreenSize({320, 240});
    EXPECT_TRUE(PaintTitleBand(host, registerTime).empty());
    EXPECT_EQ(PaintTitleBand(host, FindDialogTemplate(129)->band).size(), 2u);
    PaintList hint = PaintTitleBand(host, FindDialogTemplate(132)->band);
    ASSERT_EQ(hint.size(), 1u);
    EXPECT_EQ(std::get<PaintText>(hint[0]).text, u"To edit project tap on its name !");
}

TEST_F(FrameTest, NamesAndAbout) {
    EXPECT_FALSE(IsValidName(u"tab\there"));
    EXPECT_FALSE(HasValidFirstChar(u" travel"));
    EXPECT_FALSE(HasValidFirstChar(u""));

    // About shows the settings' version, lowers the panel and opens the help contents.
    Look([&] {
        EXPECT_EQ(replay::ShowControl(host.TopWindow(), 1068).lines,
                  std::vector<std::string>{"static 1068 \"1.2\""});
        EXPECT_FALSE(host.InputPanel());
    });
    Add(A::MakeHelp());
    Add(A::MakeClick(IDOK));
    host.SetInputPanel(true);
    EXPECT_EQ(ShowAbout(host, 1, 2), 1);
    Look([&] {
        EXPECT_EQ(replay::ShowControl(host.TopWindow(), 1068).lines,
                  std::vector<std::string>{"static 1068 \"0.0\""});
    });
    Add(A::MakeClick(IDOK));
    EXPECT_EQ(ShowAbout(host, 0, 0), 1);
    EXPECT_EQ(events[1], "help \\Windows\\enquorvella.htc");
    EXPECT_TRUE(errors.empty());
}

}  // namespace
}  // namespace qv
