// The registry hive: round trips, name matching, buffer sizes, failed saves, corrupt files.
#include "platform/registry/registry_hive.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "files/temp_dir.h"
#include "registry/hive_lookup.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using test::FindValue;
using test::ReadBytes;

const std::u16string kKey = u"Software\\Brumo\\Quorvella";

class HiveTest : public ::testing::Test {
  protected:
    void WriteFile(const std::string& content) { test::WriteBytes(file_, content); }
    std::u16string Text(const std::vector<HiveKeyListing>& keys, const std::u16string& path,
                        const std::u16string& name) {
        auto value = FindValue(keys, path, name);
        return value && value->type == REG_SZ ? value->text : u"<no sz>";
    }
    // How many entries the hive's folder holds: the hive, and any temporary beside it.
    long Entries() { return std::distance(fs::directory_iterator(dir_.path()), {}); }

    test::TempDir dir_;
    fs::path file_ = dir_ / "registry.hive";
};

TEST_F(HiveTest, AnyTextSurvivesASaveAndReload) {
    const std::u16string awkward[] = {
        u"",
        u"plain",
        u"quote \" backslash \\ and \\u0041 literally",
        u"line\nbreak\r\ttab",
        std::u16string{u'a', 0xD800, u'b', 0xDC00},  // lone surrogates
        u"caf\u00e9 \u20ac \U0001F600",
        std::u16string{u'x', 0, u'y'},  // an embedded zero
    };
    const auto name = [](size_t i) { return u"v" + std::u16string(1, char16_t(u'0' + i)); };
    {
        RegistryHive hive(file_);
        auto key = hive.CreateKey(kKey);
        ASSERT_TRUE(key);
        for (size_t i = 0; i < std::size(awkward); ++i)
            ASSERT_TRUE(hive.SetStringValue(*key, name(i), awkward[i]));
        ASSERT_TRUE(hive.SetStringValue(*key, awkward[3], u"a name with a newline"));
        ASSERT_TRUE(hive.SetDwordValue(*key, u"Big", 0xFFFFFFFFu));
    }
    EXPECT_FALSE(RegistryHive(file_).LoadedCorrupt());
    const auto keys = ListHive(file_);
    for (size_t i = 0; i < std::size(awkward); ++i)
        EXPECT_EQ(Text(keys, kKey, name(i)), awkward[i]) << i;
    EXPECT_EQ(Text(keys, kKey, awkward[3]), u"a name with a newline");
    EXPECT_EQ(FindValue(keys, kKey, u"Big")->number, 0xFFFFFFFFu);
    // The file itself is plain ASCII.
    for (char c : ReadBytes(file_)) EXPECT_TRUE(c == '\n' || (c >= 0x20 && c <= 0x7E));
}

TEST_F(HiveTest, NamesMatchRegardlessOfAsciiCaseAndKeepTheirFirstCase) {
    RegistryHive hive(file_);
    auto made = hive.CreateKey(kKey);
    ASSERT_TRUE(made);
    ASSERT_TRUE(hive.SetDwordValue(*made, u"SortOrder", 1));
    ASSERT_TRUE(hive.SetDwordValue(*made, u"SORTORDER", 2));

    auto opened = hive.OpenKey(u"SOFTWARE\\brumo\\QUORVELLA");
    ASSERT_TRUE(opened);
    auto value = hive.QueryValue(*opened, u"sortorder", 4);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->data[0], 2);
    // Creating an existing key under another case opens it and adds nothing.
    ASSERT_TRUE(hive.CreateKey(u"software\\BRUMO\\quorvella"));
    const auto listing = hive.List();
    ASSERT_EQ(listing.size(), 3u);            // the parents are keys too
    ASSERT_EQ(listing[2].values.size(), 1u);  // before the values below
    EXPECT_EQ(listing[2].values[0].name, u"SortOrder");
    // Non-ASCII letters are not folded.
    EXPECT_FALSE(hive.OpenKey(u"Software\\Brumo\\QUORVELLA\u00c9"));

    // A query fails when the buffer is too small.
    ASSERT_TRUE(hive.SetStringValue(*made, u"Name", u"abc"));
    EXPECT_FALSE(hive.QueryValue(*made, u"Name", 7));  // (3 + 1) * 2 bytes
    EXPECT_EQ(hive.QueryValue(*made, u"Name", 8)->data,
              (std::vector<uint8_t>{'a', 0, 'b', 0, 'c', 0, 0, 0}));
}

TEST_F(HiveTest, BadPathsHandlesAndFoldersFail) {
    RegistryHive hive(file_);
    EXPECT_FALSE(hive.CreateKey(u""));
    EXPECT_FALSE(hive.CreateKey(u"\\Software"));
    EXPECT_FALSE(hive.OpenKey(u"Software"));
    EXPECT_FALSE(fs::exists(file_));  // nothing was made, nothing saved

    auto key = hive.CreateKey(u"Software");
    ASSERT_TRUE(key);
    EXPECT_TRUE(hive.CloseKey(*key));
    EXPECT_FALSE(hive.CloseKey(*key));
    EXPECT_FALSE(hive.SetDwordValue(*key, u"X", 1));
    // A save into a missing folder fails, and the key is not made.
    RegistryHive elsewhere(dir_ / "gone" / "registry.hive");
    EXPECT_FALSE(elsewhere.CreateKey(u"Software"));
    EXPECT_FALSE(elsewhere.OpenKey(u"Software"));
}

TEST_F(HiveTest, AGroupOfChangesIsKeptInOneWriteOrNotAtAll) {
    RegistryHive hive(file_);
    auto key = hive.CreateKey(u"Software\\Brumo");
    ASSERT_TRUE(key && hive.SetDwordValue(*key, u"Kept", 1));
    const std::string before = ReadBytes(file_);

    hive.BeginChanges();
    hive.BeginChanges();  // groups nest
    ASSERT_TRUE(hive.SetDwordValue(*key, u"Kept", 2));
    auto made = hive.CreateKey(u"Software\\Brumo\\New");
    ASSERT_TRUE(made && hive.SetStringValue(*made, u"Name", u"n"));
    EXPECT_EQ(hive.QueryValue(*key, u"Kept", 4)->data[0], 2);  // read back before it is kept
    EXPECT_TRUE(hive.CommitChanges());                         // the inner group keeps nothing
    EXPECT_EQ(ReadBytes(file_), before);
    EXPECT_TRUE(hive.CommitChanges());
    EXPECT_EQ(Text(ListHive(file_), u"Software\\Brumo\\New", u"Name"), u"n");
    EXPECT_FALSE(hive.CommitChanges());  // no group is open

    // A group that cannot be kept leaves file and memory as they were (what it says is checked
    // with the settings saved at the exit), and a key it made is gone, though the handle to it
    // is still open.
    const std::string kept = ReadBytes(file_);
    hive.BeginChanges();
    ASSERT_TRUE(hive.SetDwordValue(*key, u"Kept", 3));
    auto lost = hive.CreateKey(u"Software\\Lost");
    ASSERT_TRUE(lost && hive.SetDwordValue(*lost, u"X", 1));
    hive.FailSaves(true);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(hive.CommitChanges());
    testing::internal::GetCapturedStderr();
    hive.FailSaves(false);
    EXPECT_EQ(ReadBytes(file_), kept);
    EXPECT_EQ(hive.QueryValue(*key, u"Kept", 4)->data[0], 2);
    EXPECT_FALSE(hive.OpenKey(u"Software\\Lost"));
    EXPECT_FALSE(hive.QueryValue(*lost, u"X", 4));
    EXPECT_FALSE(hive.SetDwordValue(*lost, u"X", 1));
}

TEST_F(HiveTest, ACorruptHiveReadsAsEmptyAndIsKeptAside) {
    const std::string broken[] = {
        "",
        "quorvella-hive 1\nkey \"Software\"\n",          // no end line: cut short
        "quorvella-hive 1\nvalue \"X\" dword 1\nend\n",  // value outside a key
        "quorvella-hive 1\nkey \"A\\B\"\nend\n",         // child before parent
        "quorvella-hive 1\nkey \"A\"\nvalue \"X\" dword 4294967296\nend\n",  // too big
        "quorvella-hive 1\nkey \"A\"\nkey \"a\"\nend\n",                     // duplicate key
        "quorvella-hive 1\nkey \"A\"\nend\nkey \"B\"\n",                     // after the end
    };
    for (const auto& content : broken) {
        WriteFile(content);
        RegistryHive hive(file_);
        EXPECT_TRUE(hive.LoadedCorrupt()) << content;
        EXPECT_TRUE(hive.List().empty()) << content;
    }

    // A damaged hive is kept aside at the first save (the cut-short hive scenario); a second
    // one is kept beside the first, which stays as it was.
    test::WriteBytes(file_.string() + ".corrupt", "garbage");
    WriteFile("more garbage");
    RegistryHive again(file_);
    ASSERT_TRUE(again.CreateKey(u"Software"));
    EXPECT_EQ(ReadBytes(file_.string() + ".corrupt"), "garbage");
    EXPECT_EQ(ReadBytes(file_.string() + ".corrupt-2"), "more garbage");

    WriteFile("quorvella-hive 1\nkey \"A\"\nvalue \"X\" dword 7\nend\n");
    EXPECT_FALSE(RegistryHive(file_).LoadedCorrupt());
    EXPECT_EQ(ListHive(file_).at(0).values.at(0).number, 7u);
}

}  // namespace
}  // namespace qv
