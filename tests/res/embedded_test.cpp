// Putting the built-in help pages into the Windows folder.
#include "res/embedded.h"

#include <gtest/gtest.h>

#include <string>

#include "app/program_resources.h"
#include "files/temp_dir.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

using test::ReadBytes;

std::string Bytes(const EmbeddedFile* f) {
    return {reinterpret_cast<const char*>(f->data), f->size};
}

// Missing files are written, a user's own copy never overwritten; what a start that crashed
// while writing a page left is cleared; a blocked folder is reported.
TEST(ProvisionHelpFiles, WritesMissingFilesOnceAndClearsWhatACrashedStartLeft) {
    test::TempDir root;
    const fs::path windows = root / "Windows";  // not there yet: made on first start
    const auto expectPages = [&](const std::string& page) {
        EXPECT_EQ(ReadBytes(windows / "enquorvella.htm"), page);
        EXPECT_EQ(ReadBytes(windows / "enquorvella.htc"), Bytes(FindEmbedded("enquorvella.htc")));
        EXPECT_EQ(std::distance(fs::directory_iterator(windows), fs::directory_iterator()), 2);
    };
    ASSERT_TRUE(ProvisionHelpFiles(windows));
    expectPages(Bytes(FindEmbedded("enquorvella.htm")));
    test::WriteBytes(windows / "enquorvella.htm", "my notes");
    fs::remove(windows / "enquorvella.htc");
    test::WriteBytes(windows / "enquorvella.htc.tmp.AbC123", "half");
    ASSERT_TRUE(ProvisionHelpFiles(windows));
    expectPages("my notes");

    test::WriteBytes(root / "Blocked", "x");  // a file where the folder should be
    EXPECT_FALSE(ProvisionHelpFiles(root / "Blocked"));
}

}  // namespace
}  // namespace qv
