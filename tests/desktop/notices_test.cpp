// The desktop program's own notices.
#include "desktop/notices.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "files/temp_dir.h"
#include "platform/registry/registry_hive.h"

namespace qv {
namespace {

TEST(Notices, SettingsTheExitCouldNotKeepAreToldWithTheFileAndTheReason) {
    test::TempDir dir;
    const std::filesystem::path file = dir / "registry.hive";
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    RegistryHive hive(file);
    EXPECT_FALSE(hive.CreateKey(u"Software"));

    RecordingShell shell;
    TellUnsavedSettings(shell, file, hive.LastSaveFailure());
    ASSERT_EQ(shell.events.size(), 1u);
    EXPECT_EQ(shell.events[0].text,
              u"Your settings could not be saved to " + file.u16string() + u": not a regular file");
    EXPECT_EQ(shell.events[0].flags, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace
}  // namespace qv
