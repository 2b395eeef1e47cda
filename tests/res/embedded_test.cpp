// Looking up built-in files and putting the help pages into the Windows folder.
#include "res/embedded.h"

#include <gtest/gtest.h>

#include <cstdlib>
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

TEST(FindEmbedded, FindsFilesByExactNameAndMatchesTheSourceTree) {
    EXPECT_EQ(FindEmbedded("ENQUORVELLA.HTM"), nullptr);

    // the build embeds the files as they are in res/, byte for byte
    const char* source = std::getenv("QV_SOURCE_DIR");
    if (source == nullptr) GTEST_SKIP() << "QV_SOURCE_DIR is not set";
    const fs::path res = fs::path(source) / "res";
    EXPECT_EQ(Bytes(FindEmbedded("enquorvella.htm")), ReadBytes(res / "help/enquorvella.htm"));
    EXPECT_EQ(Bytes(FindEmbedded("bitmap128.png")), ReadBytes(res / "images/bitmap128.png"));
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
