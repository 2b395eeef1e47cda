// The dialog frame: layouts by screen size, title font and band, help, name checks, About.
#include "dialogs/frame.h"

#include <gtest/gtest.h>

#include <deque>

#include "dialogs/about.h"
#include "platform/headless/headless_host.h"
#include "res/templates.h"

namespace qv {
namespace {

using A = HeadlessAction;

struct FrameTest : ::testing::Test {
    FixedClock clock;
    std::deque<std::variant<A, std::function<void()>>> steps;
    std::vector<std::string> events;
    std::vector<std::string> errors;
    HeadlessHost host{clock,
                      [this]() -> std::optional<A> {
                          while (!steps.empty()) {
                              auto step = std::move(steps.front());
                              steps.pop_front();
                              if (auto* look = std::get_if<std::function<void()>>(&step)) {
                                  (*look)();
                              } else {
                                  return std::get<A>(step);
                              }
                          }
                          return std::nullopt;
                      },
                      [this](const std::string& line) { events.push_back(line); },
                      [this](const std::string& line) { errors.push_back(line); }};
};

TEST_F(FrameTest, OnlyTheExactPortraitScreenUsesThePortraitLayout) {
    EXPECT_FALSE(IsLandscapeLayout(host));
    host.SetScreenSize({320, 240});
    EXPECT_TRUE(IsLandscapeLayout(host));
    host.SetScreenSize({480, 640});
    EXPECT_TRUE(IsLandscapeLayout(host));
    EXPECT_TRUE(IsLandscapeLayout(Size{240, 321}));
}

TEST_F(FrameTest, TitleFontHeightTruncatesTowardZero) {
    FontSpec font = TitleBandFont(host);
    EXPECT_EQ(font.height, -13);  // -(10 * 96) / 72 = -13.33
    EXPECT_EQ(font.weight, 800);
    EXPECT_EQ(font.face, u"Times New Roman");
    EXPECT_EQ(font.charSet, 1);
    EXPECT_FALSE(font.italic);
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
    EXPECT_EQ(std::get<PaintText>(hint[0]).at, (Point{13, 3}));
    EXPECT_EQ(std::get<PaintText>(hint[0]).colour, 0x008000FFu);
    EXPECT_TRUE(PaintTitleBand(host, FindDialogTemplate(133)->band).empty());
}

TEST(NameChecks, LettersDigitsAndBlanksOnly) {
    EXPECT_TRUE(IsValidName(u"Week 12"));
    EXPECT_TRUE(IsValidName(u"Caf\u00e9 \u00dcber"));  // letters beyond A to Z
    EXPECT_TRUE(IsValidName(u"   "));                  // callers trim first
    EXPECT_FALSE(IsValidName(u"week-12"));
    EXPECT_FALSE(IsValidName(u"report.csv"));
    EXPECT_FALSE(IsValidName(u""));
    EXPECT_FALSE(IsValidName(u"tab\there"));

    EXPECT_TRUE(HasValidFirstChar(u"2nd shift"));
    EXPECT_TRUE(HasValidFirstChar(u"Travel-2"));
    EXPECT_FALSE(HasValidFirstChar(u"-travel"));
    EXPECT_FALSE(HasValidFirstChar(u" travel"));
    EXPECT_FALSE(HasValidFirstChar(u""));
}

TEST_F(FrameTest, MessagesHelpAndTheEntryBeep) {
    host.SetWaitCursor(true);
    ShowNotice(host, 40028u);
    EXPECT_FALSE(host.WaitCursor());  // the cursor goes before the box
    steps.emplace_back(A::MakeAnswer(true));
    steps.emplace_back(A::MakeAnswer(false));
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
    steps.emplace_back([&] {
        EXPECT_EQ(host.ShowControl(1068).lines, std::vector<std::string>{"static 1068 \"1.2\""});
        EXPECT_FALSE(host.InputPanel());
    });
    steps.emplace_back(A::MakeHelp());
    steps.emplace_back(A::MakeClick(IDOK));
    host.SetInputPanel(true);
    EXPECT_EQ(ShowAbout(host, 1, 2), 1);
    EXPECT_EQ(events, (std::vector<std::string>{"open 102 \"About\"",
                                                "help \\Windows\\enquorvella.htc", "end 102 1"}));
    steps.emplace_back([&] {
        EXPECT_EQ(host.ShowControl(1068).lines, std::vector<std::string>{"static 1068 \"0.0\""});
    });
    steps.emplace_back(A::MakeClick(IDOK));
    EXPECT_EQ(ShowAbout(host, 0, 0), 1);
    EXPECT_TRUE(errors.empty());
}

}  // namespace
}  // namespace qv
