// The desktop program's arguments, its answers to --help and --version, and its default zoom.
#include "platform/qt/command_line.h"

#include <gtest/gtest.h>

#include <sstream>

namespace qv {
namespace {

using Action = CommandLine::Action;

// Help, version and zoom in both spellings; any bad argument refuses the whole line.
TEST(CommandLine, ReadsEachLineAsAWholeAndAnswersOnTheRightStreamWithTheRightExitCode) {
    const std::tuple<std::vector<std::string>, Action, int> cases[] = {
        {{}, Action::Run, 0},
        {{"--zoom", "2"}, Action::Run, 2},
        {{"--zoom", "1", "--zoom=3"}, Action::Run, 3},
        {{"-h"}, Action::ShowHelp, 0},
        {{"--version", "--help"}, Action::ShowHelp, 0},
        {{"--zoom", "2", "--version"}, Action::ShowVersion, 2}};
    for (const auto& [args, action, zoom] : cases) {
        const CommandLine line = ParseCommandLine(args);
        EXPECT_EQ(line.action, action) << testing::PrintToString(args);
        EXPECT_EQ(line.zoom, zoom) << testing::PrintToString(args);
        EXPECT_EQ(line.error, "");
        EXPECT_FALSE(line.overview);
    }
    EXPECT_TRUE(ParseCommandLine({"--zoom", "2", "--overview"}).overview);
    const std::vector<std::string> refused[] = {
        {"--zoom"}, {"--zoom", "4"}, {"--zoom="}, {"--help", "--frobnicate"}, {"week12.csv"}};
    for (const auto& args : refused) {
        const CommandLine line = ParseCommandLine(args);
        EXPECT_EQ(line.action, Action::Refuse) << testing::PrintToString(args);
        EXPECT_FALSE(line.error.empty());
    }
    const char* argv[] = {"quorvella", "--zoom", "9"};
    EXPECT_EQ(ParseCommandLine(3, argv).error, "zoom must be 1, 2 or 3, not '9'");

    std::ostringstream out, err;
    EXPECT_EQ(AnswerCommandLine(ParseCommandLine({"--version"}), out, err), 0);
    EXPECT_EQ(out.str(), VersionText());
    EXPECT_EQ(VersionText().rfind("quorvella " QV_VERSION "\n", 0), 0u);
    out.str("");
    EXPECT_EQ(AnswerCommandLine(ParseCommandLine({"--help"}), out, err), 0);
    EXPECT_EQ(out.str().rfind(UsageLine() + "\n", 0), 0u);
    out.str("");
    EXPECT_EQ(AnswerCommandLine(ParseCommandLine({"--bogus"}), out, err), 2);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), "quorvella: unknown option '--bogus'\n" + UsageLine() + "\n");
    // Help that cannot be written (a closed pipe, a full disk) is not a success.
    std::ostringstream broken;
    broken.setstate(std::ios::badbit);
    EXPECT_EQ(AnswerCommandLine(ParseCommandLine({"--help"}), broken, err), 1);
}

TEST(DefaultZoom, LargestWholeZoomWithinTwoThirdsOfTheDesktop) {
    // available height, zoom
    const std::pair<int, int> cases[] = {{-5, 1},   {959, 1},  {960, 2},
                                         {1439, 2}, {1440, 3}, {2147483647, 3}};
    for (auto [height, zoom] : cases) EXPECT_EQ(DefaultZoom(height), zoom) << height;
}

}  // namespace
}  // namespace qv
