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
    EXPECT_EQ(FindEmbedded("enquorvella.htm")->name, std::string("enquorvella.htm"));
    EXPECT_EQ(FindEmbedded("ENQUORVELLA.HTM"), nullptr);
    EXPECT_EQ(FindEmbedded("help/enquorvella.htm"), nullptr);

    // the build embeds the files as they are in res/, byte for byte
    const char* source = std::getenv("QV_SOURCE_DIR");
    if (source == nullptr) GTEST_SKIP() << "QV_SOURCE_DIR is not set";
    const fs::path res = fs::path(source) / "res";
    EXPECT_EQ(Bytes(FindEmbedded("enquorvella.htm")), ReadBytes(res / "help/enquorvella.htm"));
    EXPECT_EQ(Bytes(FindEmbedded("IDW_TIME_ADDED.wav")),
              ReadBytes(res / "sound/IDW_TIME_ADDED.wav"));
    EXPECT_EQ(Bytes(FindEmbedded("bitmap128.png")), ReadBytes(res / "images/bitmap128.png"));
}

TEST(ProvisionHelpFiles, WritesMissingFilesOnceAndNeverOverwrites) {
    test::TempDir root;
    const fs::path windows = root / "Windows";  // not there yet: made on first start
    ASSERT_TRUE(ProvisionHelpFiles(windows));
    EXPECT_EQ(ReadBytes(windows / "enquorvella.htm"), Bytes(FindEmbedded("enquorvella.htm")));
    EXPECT_EQ(ReadBytes(windows / "enquorvella.htc"), Bytes(FindEmbedded("enquorvella.htc")));
    EXPECT_FALSE(fs::exists(windows / "enquorvella.htm.part"));

    // the user's own copy of the page stays; only the missing contents file comes back
    test::WriteBytes(windows / "enquorvella.htm", "my notes");
    fs::remove(windows / "enquorvella.htc");
    ASSERT_TRUE(ProvisionHelpFiles(windows));
    EXPECT_EQ(ReadBytes(windows / "enquorvella.htm"), "my notes");
    EXPECT_EQ(ReadBytes(windows / "enquorvella.htc"), Bytes(FindEmbedded("enquorvella.htc")));
}

TEST(ProvisionHelpFiles, ReportsABlockedFolderAndClearsWhatACrashedStartLeft) {
    test::TempDir root;
    // a file where the folder should be
    test::WriteBytes(root / "Windows", "x");
    EXPECT_FALSE(ProvisionHelpFiles(root / "Windows"));

    // a start that crashed while writing a page left its temporary; the next one removes it
    const fs::path crashed = root / "Crashed";
    fs::create_directories(crashed);
    test::WriteBytes(crashed / "enquorvella.htm.tmp.AbC123", "half");
    ASSERT_TRUE(ProvisionHelpFiles(crashed));
    EXPECT_FALSE(fs::exists(crashed / "enquorvella.htm.tmp.AbC123"));
    EXPECT_EQ(ReadBytes(crashed / "enquorvella.htm"), Bytes(FindEmbedded("enquorvella.htm")));
}

}  // namespace
}  // namespace qv
