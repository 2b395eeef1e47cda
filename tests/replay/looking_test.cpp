// Looking at a device with the replay tool never changes it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

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

}  // namespace
}  // namespace qv::replay
