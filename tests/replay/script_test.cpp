// Reading replay scripts, and running them: looking never changes the device, and a line that
// cannot be carried out stops the run.
#include "tools/replay/script.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "files/temp_dir.h"
#include "platform/files/device_files.h"
#include "tools/replay/replay.h"

namespace qv::replay {
namespace {

TEST(Tokenize, SplitsOnBlanksAndReadsQuotedTextsWithEscapes) {
    auto t = Tokenize("type 1025  \"week \\\"12\\\" a\\\\b\"");
    ASSERT_TRUE(t && t->size() == 3u);
    EXPECT_EQ((*t)[2].text, "week \"12\" a\\b");
    EXPECT_TRUE((*t)[2].quoted);
    EXPECT_EQ(Tokenize("project \"\"")->at(1).text, "");
    EXPECT_FALSE(Tokenize("project \"Alpha"));
}

TEST(ParseDate, TakesOnlyDaysAndTimesThatExistAndPlainDecimals) {
    EXPECT_EQ(ParseDate("2004-02-29"), MakeDate(2004, 2, 29));
    // Spellings that do not print back as given are the fuzzer's to find.
    for (const char* bad : {"2005-02-29", "2005-04-31", "2005-13-01"}) EXPECT_FALSE(ParseDate(bad));
    CalendarDate d;
    EXPECT_TRUE(ParseTime("23:59:59", d));
    EXPECT_EQ(d.hour, 23);
    EXPECT_EQ(d.second, 59);
    EXPECT_FALSE(ParseTime("24:00:00", d));
    EXPECT_EQ(ParseNumber("040010"), 40010);
    for (const char* bad : {"", "99999999999"}) EXPECT_FALSE(ParseNumber(bad));
}

std::optional<UserAction> Action(const std::string& line) {
    return ParseWindowAction(*Tokenize(line));
}

// Controls and commands by number or by the name of their constant; a keyword, number, name or
// "none" written in quotes is a text, and a text is no keyword.
TEST(ParseWindowAction, ReadsEachWindowActionWithItsNumbersNamesTextsAndDates) {
    auto type = Action("type 01025 \"caf\xc3\xa9\"");
    ASSERT_TRUE(type);
    EXPECT_EQ(type->kind, UserAction::Kind::Type);
    EXPECT_EQ(type->id, 1025);
    EXPECT_EQ(type->text, u"caf\u00e9");
    // The day of the week and every action read back from its own line are the fuzzer's.
    const std::pair<const char*, int> named[] = {
        {"click RegisterTime.Ok", 1027}, {"type ExportReport.Name \"x\"", 1094},
        {"tap ProjectBar.List 0", 500},  {"check ExportRecords.Unicode", 1078},
        {"command CmdNew", 40003},       {"command ButtonUndo", 553},
        {"project \"Alpha\"", 1000},     {"date RegisterTime.Date 2005-10-29", 1016},
    };
    for (const auto& [line, id] : named) {
        EXPECT_EQ(Action(line).value_or(UserAction::MakeHelp()).id, id) << line;
    }
    // A word quoted the other way is the fuzzer's to try on every action.
    for (const char* bad : {"tap 500 -1", "click", "type 1025 x", "screen 240 320",
                            "click RegisterTime.Okay", "command RegisterTime.Ok", "click CmdNew"}) {
        EXPECT_FALSE(Action(bad)) << bad;
    }
}

TEST(ReplayLooks, ShowStoreOnAnEmptyStoreFileLeavesItEmptyAndAlone) {
    const test::TempDir root;
    const DeviceFolders folders = DeviceFolders::UnderRoot(root.path());
    std::filesystem::create_directories(folders.StoreFile().parent_path());
    std::ofstream(folders.StoreFile()).close();  // a store file of 0 bytes

    std::ostringstream out;
    EXPECT_EQ(Replay(root.path(), {"show store", "show registry"}, out).Run(), 0);
    EXPECT_EQ(out.str(), "> show store\n> show registry\n");
    EXPECT_EQ(std::filesystem::file_size(folders.StoreFile()), 0u);
    for (const char* beside : {"-wal", "-shm", "-journal"}) {
        EXPECT_FALSE(std::filesystem::exists(folders.StoreFile().string() + beside)) << beside;
    }
    EXPECT_FALSE(std::filesystem::exists(folders.HiveFile()));
}

// A line that cannot be carried out says why and stops the run; so does a look at what is not
// there, so a line a transcript expects to be absent is always checked against something. A
// line that named its control is repeated as written. A quoted keyword is a text, and a line
// refused before any start makes nothing. An unknown name and a control not in the open dialog
// are left to the scenarios of named and missing controls, under both hosts.
TEST(ReplayRun, ALineThatCannotBeCarriedOutSaysWhyAndStopsTheRun) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"\"start\""}, "not an action"},
        {{"screen \"320\" 240"}, "not a screen size"},
        {{"show \"registry\""}, "not an action"},
        {{"show Nope"}, "no control named Nope"},
        {{"command RegisterTime.Ok"}, "no command named RegisterTime.Ok"},
        {{"start", "show 1000", "show 9999"}, "no such control in the main window"},
        {{"start", "show dialog"}, "no dialog is open"},
        {{"start", "command CmdAbout", "click  RegisterTime.Ok"}, "missing"},
    };
    for (const auto& [script, why] : cases) {
        const test::TempDir folder;
        const auto root = folder.path() / "device";
        std::vector<std::string> lines = script;
        lines.push_back("close");
        std::ostringstream out;
        EXPECT_EQ(Replay(root, lines, out).Run(), 1) << why;
        const std::string end = "> " + script.back() + "\n! " + script.back() + ": " + why + "\n";
        EXPECT_TRUE(out.str().ends_with(end)) << out.str();
        EXPECT_EQ(out.str().find("> close"), std::string::npos);
        EXPECT_EQ(std::filesystem::exists(root), script.size() > 1) << script.front();
    }
}

}  // namespace
}  // namespace qv::replay
