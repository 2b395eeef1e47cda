// Looking at a device with the replay tool never changes it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "files/temp_dir.h"
#include "platform/files/device_files.h"
#include "tools/replay/replay.h"

namespace qv::replay {
namespace {

TEST(ReplayLooks, ShowStoreOnAnEmptyStoreFileLeavesItEmptyAndAlone) {
    const auto root =
        std::filesystem::temp_directory_path() / ("qv-look-" + std::to_string(getpid()));
    std::filesystem::remove_all(root);
    const DeviceFolders folders = DeviceFolders::UnderRoot(root);
    std::filesystem::create_directories(folders.StoreFile().parent_path());
    std::ofstream(folders.StoreFile()).close();  // a store file of 0 bytes

    std::ostringstream out;
    EXPECT_EQ(Replay(root, {"show store", "show registry"}, out).Run(), 0);
    EXPECT_EQ(out.str(), "> show store\n> show registry\n");
    EXPECT_EQ(std::filesystem::file_size(folders.StoreFile()), 0u);
    for (const char* beside : {"-wal", "-shm", "-journal"}) {
        EXPECT_FALSE(std::filesystem::exists(folders.StoreFile().string() + beside)) << beside;
    }
    EXPECT_FALSE(std::filesystem::exists(folders.HiveFile()));
    std::filesystem::remove_all(root);
}

// A look at what is not there says so and stops the run, so a line a transcript expects to be
// absent is always checked against something.
TEST(ReplayLooks, ALookAtNothingIsAnErrorThatStopsTheRun) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"start", "show 1000", "show 9999"}, "show 9999: no such control in the main window"},
        {{"start", "command 40010", "show 1068", "show 1000"},
         "show 1000: no such control in dialog 102"},
        {{"start", "show dialog"}, "show dialog: no dialog is open"},
    };
    for (const auto& [script, error] : cases) {
        test::TempDir root;
        std::vector<std::string> lines = script;
        lines.push_back("close");
        std::ostringstream out;
        EXPECT_EQ(Replay(root.path(), lines, out).Run(), 1) << error;
        const std::string text = out.str();
        const std::string end = "> " + script.back() + "\n! " + error + "\n";
        ASSERT_GE(text.size(), end.size());
        EXPECT_EQ(text.substr(text.size() - end.size()), end);
        EXPECT_EQ(text.find("> close"), std::string::npos);
    }
}

}  // namespace
}  // namespace qv::replay
