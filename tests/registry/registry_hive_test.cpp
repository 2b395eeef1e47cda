// The registry hive: round trips, name matching, buffer sizes, failed saves, corrupt files.
#include "platform/registry/registry_hive.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace qv {
namespace {

namespace fs = std::filesystem;

class HiveTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string templ = (fs::temp_directory_path() / "qv-hive-XXXXXX").string();
        ASSERT_NE(::mkdtemp(templ.data()), nullptr);
        dir_ = templ;
        file_ = dir_ / "registry.hive";
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string ReadFile(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void WriteFile(const std::string& content) {
        std::ofstream(file_, std::ios::binary) << content;
    }
    std::u16string ReadText(RegistryHive& hive, const std::u16string& key,
                            const std::u16string& name) {
        auto k = hive.OpenKey(key);
        if (!k) return u"<no key>";
        auto v = hive.QueryValue(*k, name, 1 << 20);
        hive.CloseKey(*k);
        if (!v || v->type != REG_SZ) return u"<no sz>";
        std::u16string text;
        for (size_t i = 0; i + 1 < v->data.size(); i += 2) {
            text += static_cast<char16_t>(v->data[i] | (v->data[i + 1] << 8));
        }
        if (text.empty() || text.back() != 0) return u"<unterminated>";
        text.pop_back();
        return text;
    }
    size_t FilesInFolder() {
        return static_cast<size_t>(std::distance(fs::directory_iterator(dir_), {}));
    }

    fs::path dir_;
    fs::path file_;
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
    {
        RegistryHive hive(file_);
        auto key = hive.CreateKey(u"Software\\Brumo\\Quorvella");
        ASSERT_TRUE(key);
        for (size_t i = 0; i < std::size(awkward); ++i) {
            std::u16string name = u"v" + std::u16string(1, static_cast<char16_t>(u'0' + i));
            ASSERT_TRUE(hive.SetStringValue(*key, name, awkward[i]));
        }
        ASSERT_TRUE(hive.SetStringValue(*key, awkward[3], u"a name with a newline"));
        ASSERT_TRUE(hive.SetDwordValue(*key, u"Big", 0xFFFFFFFFu));
    }
    RegistryHive reread(file_);
    EXPECT_FALSE(reread.LoadedCorrupt());
    for (size_t i = 0; i < std::size(awkward); ++i) {
        std::u16string name = u"v" + std::u16string(1, static_cast<char16_t>(u'0' + i));
        EXPECT_EQ(ReadText(reread, u"Software\\Brumo\\Quorvella", name), awkward[i]) << i;
    }
    EXPECT_EQ(ReadText(reread, u"Software\\Brumo\\Quorvella", awkward[3]),
              u"a name with a newline");
    auto key = reread.OpenKey(u"Software\\Brumo\\Quorvella");
    auto big = reread.QueryValue(*key, u"Big", 4);
    ASSERT_TRUE(big);
    EXPECT_EQ(big->type, REG_DWORD);
    EXPECT_EQ(big->data, (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
    // The file itself is plain ASCII.
    for (char c : ReadFile(file_)) EXPECT_TRUE(c == '\n' || (c >= 0x20 && c <= 0x7E));
}

TEST_F(HiveTest, NamesMatchRegardlessOfAsciiCaseAndKeepTheirFirstCase) {
    RegistryHive hive(file_);
    auto made = hive.CreateKey(u"Software\\Brumo\\Quorvella");
    ASSERT_TRUE(made);
    ASSERT_TRUE(hive.SetDwordValue(*made, u"SortOrder", 1));
    ASSERT_TRUE(hive.SetDwordValue(*made, u"SORTORDER", 2));

    auto opened = hive.OpenKey(u"SOFTWARE\\brumo\\QUORVELLA");
    ASSERT_TRUE(opened);
    auto value = hive.QueryValue(*opened, u"sortorder", 4);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->data[0], 2);
    // Creating an existing key under another case opens it and adds nothing.
    auto again = hive.CreateKey(u"software\\BRUMO\\quorvella");
    ASSERT_TRUE(again);

    auto listing = hive.List();
    ASSERT_EQ(listing.size(), 3u);  // the parents are keys too
    EXPECT_EQ(listing[0].path, u"Software");
    EXPECT_EQ(listing[1].path, u"Software\\Brumo");
    EXPECT_EQ(listing[2].path, u"Software\\Brumo\\Quorvella");
    ASSERT_EQ(listing[2].values.size(), 1u);
    EXPECT_EQ(listing[2].values[0].name, u"SortOrder");
    EXPECT_EQ(listing[2].values[0].number, 2u);
    // Non-ASCII letters are not folded.
    EXPECT_FALSE(hive.OpenKey(u"Software\\Brumo\\QUORVELLA\u00c9"));
}

TEST_F(HiveTest, QueryFailsWhenTheBufferIsTooSmall) {
    RegistryHive hive(file_);
    auto key = hive.CreateKey(u"Software\\Brumo");
    ASSERT_TRUE(hive.SetStringValue(*key, u"Name", u"abc"));
    EXPECT_FALSE(hive.QueryValue(*key, u"Name", 7));  // (3 + 1) * 2 bytes
    auto fits = hive.QueryValue(*key, u"Name", 8);
    ASSERT_TRUE(fits);
    EXPECT_EQ(fits->data, (std::vector<uint8_t>{'a', 0, 'b', 0, 'c', 0, 0, 0}));
    ASSERT_TRUE(hive.SetDwordValue(*key, u"Number", 0x01020304));
    EXPECT_FALSE(hive.QueryValue(*key, u"Number", 3));
    EXPECT_EQ(hive.QueryValue(*key, u"Number", 4)->data, (std::vector<uint8_t>{4, 3, 2, 1}));
    EXPECT_FALSE(hive.QueryValue(*key, u"Missing", 100));
}

TEST_F(HiveTest, BadPathsAndHandlesFail) {
    RegistryHive hive(file_);
    EXPECT_FALSE(hive.CreateKey(u""));
    EXPECT_FALSE(hive.CreateKey(u"\\Software"));
    EXPECT_FALSE(hive.CreateKey(u"Software\\"));
    EXPECT_FALSE(hive.CreateKey(u"Software\\\\Brumo"));
    EXPECT_FALSE(hive.OpenKey(u"Software"));
    EXPECT_FALSE(fs::exists(file_));  // nothing was made, nothing saved

    auto key = hive.CreateKey(u"Software");
    ASSERT_TRUE(key);
    EXPECT_TRUE(hive.CloseKey(*key));
    EXPECT_FALSE(hive.CloseKey(*key));
    EXPECT_FALSE(hive.SetDwordValue(*key, u"X", 1));
    EXPECT_FALSE(hive.QueryValue(*key, u"X", 4));
}

TEST_F(HiveTest, AFailedSaveChangesNothingInMemoryOrOnDisk) {
    RegistryHive hive(file_);
    auto key = hive.CreateKey(u"Software\\Brumo");
    ASSERT_TRUE(hive.SetStringValue(*key, u"LastProject", u"Old"));
    std::string before = ReadFile(file_);

    hive.FailSaves(true);
    EXPECT_FALSE(hive.SetStringValue(*key, u"LastProject", u"New"));
    EXPECT_FALSE(hive.SetDwordValue(*key, u"Added", 1));
    EXPECT_FALSE(hive.CreateKey(u"Software\\Other"));
    EXPECT_TRUE(hive.CreateKey(u"Software\\Brumo"));  // opening needs no save
    EXPECT_EQ(ReadText(hive, u"Software\\Brumo", u"LastProject"), u"Old");
    EXPECT_FALSE(hive.QueryValue(*key, u"Added", 4));
    EXPECT_FALSE(hive.OpenKey(u"Software\\Other"));
    EXPECT_EQ(ReadFile(file_), before);
    EXPECT_EQ(FilesInFolder(), 1u);  // no temporary file left behind

    hive.FailSaves(false);
    EXPECT_TRUE(hive.SetStringValue(*key, u"LastProject", u"New"));
    RegistryHive reread(file_);
    EXPECT_EQ(ReadText(reread, u"Software\\Brumo", u"LastProject"), u"New");
}

TEST_F(HiveTest, ASaveIntoAMissingFolderFails) {
    RegistryHive hive(dir_ / "gone" / "registry.hive");
    EXPECT_FALSE(hive.CreateKey(u"Software"));
    EXPECT_FALSE(hive.OpenKey(u"Software"));
}

TEST_F(HiveTest, ACorruptHiveReadsAsEmptyAndIsKeptAside) {
    const std::string broken[] = {
        "garbage",
        "quorvella-hive 1\nkey \"Software\"\n",          // no end line: cut short
        "quorvella-hive 1\nkey \"Software\nend\n",       // open quote
        "quorvella-hive 1\nvalue \"X\" dword 1\nend\n",  // value outside a key
        "quorvella-hive 1\nkey \"A\\B\"\nend\n",         // child before parent
        "quorvella-hive 1\nkey \"A\"\nvalue \"X\" dword 4294967296\nend\n",  // too big
        "quorvella-hive 1\nkey \"A\"\nvalue \"X\" sz \"\\u12\"\nend\n",      // short escape
        "quorvella-hive 1\nkey \"A\"\nkey \"a\"\nend\n",                     // duplicate key
        "quorvella-hive 1\nkey \"A\"\nend\nkey \"B\"\n",                     // after the end
    };
    for (const auto& content : broken) {
        WriteFile(content);
        RegistryHive hive(file_);
        EXPECT_TRUE(hive.LoadedCorrupt()) << content;
        EXPECT_TRUE(hive.List().empty()) << content;
    }

    WriteFile("garbage");
    RegistryHive hive(file_);
    auto key = hive.CreateKey(u"Software");
    ASSERT_TRUE(key);
    EXPECT_EQ(ReadFile(fs::path(file_.string() + ".corrupt")), "garbage");
    EXPECT_FALSE(RegistryHive(file_).LoadedCorrupt());

    WriteFile("quorvella-hive 1\nkey \"A\"\nvalue \"X\" dword 7\nend\n");
    EXPECT_FALSE(RegistryHive(file_).LoadedCorrupt());
    EXPECT_EQ(ListHive(file_).at(0).values.at(0).number, 7u);
}

TEST_F(HiveTest, ListingIsInPathOrderWithValuesInNameOrder) {
    RegistryHive hive(file_);
    auto brumo = hive.CreateKey(u"Software\\Brumo\\Quorvella");
    auto other = hive.CreateKey(u"Software\\Brumo Other");
    ASSERT_TRUE(brumo && other);
    ASSERT_TRUE(hive.SetDwordValue(*brumo, u"SortOrder", 2));
    ASSERT_TRUE(hive.SetDwordValue(*brumo, u"Sort", 0));
    ASSERT_TRUE(hive.SetDwordValue(*brumo, u"lower", 1));
    ASSERT_TRUE(hive.SetStringValue(*brumo, u"LastProject", u"P"));

    auto listing = ListHive(file_);
    std::vector<std::u16string> paths;
    for (const auto& key : listing) paths.push_back(key.path);
    EXPECT_EQ(paths, (std::vector<std::u16string>{u"Software", u"Software\\Brumo",
                                                  u"Software\\Brumo\\Quorvella",
                                                  u"Software\\Brumo Other"}));
    std::vector<std::u16string> names;
    for (const auto& value : listing[2].values) names.push_back(value.name);
    EXPECT_EQ(names,
              (std::vector<std::u16string>{u"LastProject", u"Sort", u"SortOrder", u"lower"}));
    EXPECT_EQ(listing[2].values[0].type, REG_SZ);
    EXPECT_EQ(listing[2].values[0].text, u"P");
}

}  // namespace
}  // namespace qv
