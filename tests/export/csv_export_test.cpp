// The CSV writers on real files: bytes, the replace question, and every failure path.
#include "export/csv_export.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <memory>

#include "export/export_fixture.h"
#include "files/temp_dir.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using test::AddCategory;
using test::AddProject;
using test::AddRecord;
using test::ReadBytes;
using test::WriteBytes;

std::string Bytes(const std::u16string& s) {
    std::string out;
    for (char16_t c : s) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

class ExportFiles : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(folders.Provision()); }

    fs::path Business(const std::string& name) {
        return folders.documentsDir / "Business" / (name + ".csv");
    }
    // The export's failure, with the file it names.
    static std::pair<ExportFault, std::u16string> Failure(const ExportResult& r) {
        EXPECT_FALSE(r);
        return {r.fault, r.file};
    }

    test::TempDir root;
    DeviceFolders folders = DeviceFolders::UnderRoot(root.path());
    std::unique_ptr<DeviceFiles> files = std::make_unique<DeviceFiles>(folders);
    std::vector<std::u16string> asked;  // the paths the replace question was asked about
    bool replace = false;
    std::unique_ptr<ExportContext> ctx =
        std::make_unique<ExportContext>(ExportContext{*files,
                                                      [this](const std::u16string& path) {
                                                          asked.push_back(path);
                                                          return replace;
                                                      },
                                                      0, 1});
};

TEST_F(ExportFiles, TwoRecordExampleInAsciiByteForByte) {
    TimeRecordList records;
    test::AddTwoRecords(records);
    EXPECT_TRUE(
        ExportTimeRecords(*ctx, records, u"week12", HoursAndMinutes, ExportAscii, ExportBusiness));
    EXPECT_EQ(ReadBytes(Business("week12")),
              "\"Date\",\"Category\",\"Time (hours and minutes)\",\"Memo\"\r\n"
              "\"03-05-2004\",\"Travel\",\"1:30\",\"----\"\r\n"
              "\"04-05-2004\",\"Meeting\",\"0:45\",\"weekly\"\r\n");
}

TEST_F(ExportFiles, EmptyRecordListWritesHeaderOnlyInBothEncodings) {
    TimeRecordList records;
    ASSERT_TRUE(ExportTimeRecords(*ctx, records, u"empty", Minutes, ExportUnicode, ExportPersonal));
    std::string unicode = ReadBytes(folders.documentsDir / "Personal" / "empty.csv");
    EXPECT_EQ(unicode.size(), 86u);  // no byte-order mark
    EXPECT_EQ(unicode, Bytes(u"\"Date\",\"Category\",\"Time (minutes)\",\"Memo\"\r\n"));

    ASSERT_TRUE(ExportTimeRecords(*ctx, records, u"empty", Minutes, ExportAscii, ExportBusiness));
    EXPECT_EQ(ReadBytes(Business("empty")),
              "\"Date\",\"Category\",\"Time (minutes)\",\"Memo\"\r\n");
    EXPECT_EQ(ReadBytes(Business("empty")).size(), 43u);
}

TEST_F(ExportFiles, NonAsciiTextInBothEncodings) {
    TimeRecordList records;
    // é, the euro sign, a CJK letter and an emoji (a surrogate pair); a memo of one blank.
    AddRecord(records, 2004, 5, 3, u"Caf\u00e9", u"90", u"\u20ac \u4e2d\U0001F600");
    AddRecord(records, 2004, 5, 4, u"x", u"0", u" ");
    ASSERT_TRUE(ExportTimeRecords(*ctx, records, u"intl", HoursOnly, ExportAscii, ExportBusiness));
    EXPECT_EQ(ReadBytes(Business("intl")),
              "\"Date\",\"Category\",\"Time (hours only)\",\"Memo\"\r\n"
              "\"03-05-2004\",\"Caf\xE9\",\"1\",\"\x80 ???\"\r\n"
              "\"04-05-2004\",\"x\",\"0\",\" \"\r\n");

    replace = true;
    ASSERT_TRUE(
        ExportTimeRecords(*ctx, records, u"intl", HoursOnly, ExportUnicode, ExportBusiness));
    EXPECT_EQ(ReadBytes(Business("intl")),
              Bytes(u"\"Date\",\"Category\",\"Time (hours only)\",\"Memo\"\r\n"
                    u"\"03-05-2004\",\"Caf\u00e9\",\"1\",\"\u20ac \u4e2d\U0001F600\"\r\n"
                    u"\"04-05-2004\",\"x\",\"0\",\" \"\r\n"));
}

TEST_F(ExportFiles, ReportsWriteEveryItemAndRefuseEmptyListsSilently) {
    CategoryList categories;
    ProjectList projects;
    EXPECT_EQ(Failure(ExportCategoryReport(*ctx, categories, u"r", Minutes, ExportAscii, 0)).first,
              ExportFault::None);
    EXPECT_EQ(Failure(ExportProjectsBalance(*ctx, projects, u"r", Minutes, ExportAscii, 0)).first,
              ExportFault::None);
    EXPECT_FALSE(fs::exists(Business("r")));

    for (int i = 0; i < 150; ++i) AddCategory(categories, u"C" + FormatDecimal(i), i);
    ASSERT_TRUE(ExportCategoryReport(*ctx, categories, u"cats", Minutes, ExportAscii, 0));
    std::string cats = ReadBytes(Business("cats"));
    EXPECT_EQ(cats.substr(0, 32), "\"Category\",\"Time (minutes)\"\r\n\"C0");
    EXPECT_NE(cats.find("\"C0\",\"0\"\r\n"), std::string::npos);  // a total of 0 is kept
    EXPECT_EQ(cats.substr(cats.size() - 14), "\"C149\",\"149\"\r\n");

    AddProject(projects, u"Build", 65);
    ctx->timeTypeView = Comma;
    ASSERT_TRUE(ExportProjectsBalance(*ctx, projects, u"bal", HoursAndMinutes, ExportUnicode,
                                      ExportPersonal));
    EXPECT_EQ(ReadBytes(folders.documentsDir / "Personal" / "bal.csv"),
              Bytes(u"\"Project\",\"Time (hours and minutes)\"\r\n\"Build\",\"1,05\"\r\n"));
}

TEST_F(ExportFiles, BadNamesFailSilentlyAndWriteNothing) {
    TimeRecordList records;
    test::AddTwoRecords(records);
    for (const Text& name : {Text(), Text(u""), Text(u"..\\..\\x"), Text(u"a/b"), Text(u"sub\\x"),
                             Text(u".."), Text(u"a..b")}) {
        EXPECT_EQ(Failure(ExportTimeRecords(*ctx, records, name, Minutes, ExportAscii, 0)).first,
                  ExportFault::None);
    }
    EXPECT_TRUE(fs::is_empty(folders.documentsDir / "Business"));
    EXPECT_EQ(ExportPath(u"week 12", 1), u"\\My Documents\\Personal\\week 12.csv");

    // A file name takes 255 bytes: 83 letters of three bytes and two of one, with ".csv", fill it.
    const std::u16string longest = std::u16string(83, u'\u6587') + u"ab";
    EXPECT_TRUE(ExportNameFits(longest));
    EXPECT_FALSE(ExportNameFits(longest + u"c"));
    EXPECT_EQ(Failure(ExportTimeRecords(*ctx, records, longest + u"c", Minutes, ExportAscii, 0)),
              std::pair(ExportFault::None, std::u16string()));
    EXPECT_TRUE(ExportTimeRecords(*ctx, records, longest, Minutes, ExportAscii, 0));
    EXPECT_TRUE(fs::exists(folders.documentsDir / "Business" / (ToUtf8(longest) + ".csv")));
}

TEST_F(ExportFiles, MissingFolderSaysWhichOne) {
    TimeRecordList records;
    fs::remove_all(folders.documentsDir / "Business");
    EXPECT_EQ(
        Failure(ExportTimeRecords(*ctx, records, u"w", Minutes, ExportAscii, ExportBusiness)),
        std::pair(ExportFault::NoBusinessFolder, std::u16string(u"\\My Documents\\Business")));
    // A file where the folder should be is no folder either.
    fs::remove_all(folders.documentsDir / "Personal");
    WriteBytes(folders.documentsDir / "Personal", "x");
    EXPECT_EQ(
        Failure(ExportTimeRecords(*ctx, records, u"w", Minutes, ExportAscii, ExportPersonal)).first,
        ExportFault::NoPersonalFolder);
    EXPECT_FALSE(fs::exists(folders.documentsDir / "Business"));  // never created
    EXPECT_TRUE(asked.empty());
}

// No keeps the old file without a word, Yes replaces it. A read-only file is refused, as the
// handheld refused to create over it, and kept as it is; so is everything when creation fails.
TEST_F(ExportFiles, ReplaceQuestionAndFilesThatCannotBeCreated) {
    TimeRecordList records;
    test::AddTwoRecords(records);
    const std::string old("old \x00\xff content\r\n", 17);
    WriteBytes(Business("w"), old);
    EXPECT_EQ(Failure(ExportTimeRecords(*ctx, records, u"w", Minutes, ExportAscii, ExportBusiness)),
              std::pair(ExportFault::None, std::u16string(u"\\My Documents\\Business\\w.csv")));
    EXPECT_EQ(ReadBytes(Business("w")), old);
    EXPECT_EQ(asked, (std::vector<std::u16string>{u"\\My Documents\\Business\\w.csv"}));
    replace = true;
    EXPECT_TRUE(ExportTimeRecords(*ctx, records, u"w", Minutes, ExportAscii, ExportBusiness));
    EXPECT_EQ(ReadBytes(Business("w")).substr(0, 7), "\"Date\",");
    EXPECT_EQ(asked.size(), 2u);

    WriteBytes(Business("w"), old);
    ASSERT_EQ(::chmod(Business("w").c_str(), 0444), 0);
    EXPECT_EQ(
        Failure(ExportTimeRecords(*ctx, records, u"w", Minutes, ExportAscii, ExportBusiness)).first,
        ExportFault::CannotCreate);
    EXPECT_EQ(ReadBytes(Business("w")), old);
    EXPECT_EQ(fs::status(Business("w")).permissions(), fs::perms(0444));

    files->FailCreates(true);
    EXPECT_EQ(
        Failure(ExportTimeRecords(*ctx, records, u"new", Minutes, ExportAscii, ExportBusiness))
            .first,
        ExportFault::CannotCreate);
    EXPECT_EQ(std::distance(fs::directory_iterator(folders.documentsDir / "Business"),
                            fs::directory_iterator()),
              1);
}

TEST_F(ExportFiles, WriteFailureLeavesNoFileBehind) {
    TimeRecordList records;
    for (int i = 0; i < 3000; ++i) AddRecord(records, 2004, 5, 3, u"Category", u"90", u"memo");
    ExportTimeType types[] = {Minutes, HoursOnly, HoursAndMinutes};
    for (int after : {0, 1, 2}) {
        for (uint32_t encoding : {ExportAscii, ExportUnicode}) {
            SCOPED_TRACE(testing::Message() << "after " << after << " encoding " << encoding);
            files->FailWritesAfter(after);
            EXPECT_EQ(Failure(ExportTimeRecords(*ctx, records, u"big", types[after], encoding,
                                                ExportBusiness))
                          .first,
                      ExportFault::WriteFailed);
            EXPECT_FALSE(fs::exists(Business("big")));
        }
    }
    // With writes working again the same export succeeds in full.
    files->FailWritesAfter(-1);
    ASSERT_TRUE(ExportTimeRecords(*ctx, records, u"big", Minutes, ExportUnicode, 0));
    const std::u16string line = u"\"03-05-2004\",\"Category\",\"90\",\"memo\"\r\n";
    EXPECT_EQ(ReadBytes(Business("big")).size(), 2 * (43 + 3000 * line.size()));
}

// A CSV reader we did not write must read back every field as it was stored.
TEST_F(ExportFiles, PythonCsvReaderReadsBackEveryField) {
    TimeRecordList records;
    const std::vector<std::u16string> memos = {
        u"plain", u"a, b, c", u"she said \"hi\"",  u"\"",
        u"\"\"",  u",",       u"caf\u00e9 \u20ac", u"\u4e2d\u6587, \"\U0001F600\"",
        u" ",     u"----",
    };
    for (const auto& memo : memos) {
        AddRecord(records, 2004, 5, 3, u"Cat, \"x\"", u"65", memo);
    }
    ASSERT_TRUE(
        ExportTimeRecords(*ctx, records, u"py", HoursAndMinutes, ExportUnicode, ExportBusiness));

    // The reader's rows come back as UTF-8 fields split by 0x1F and ended by 0x1E.
    std::string command =
        "python3 -c \"import csv,sys\n"
        "with open(sys.argv[1], encoding='utf-16-le', newline='') as f:\n"
        "    for row in csv.reader(f): sys.stdout.buffer.write(('\\x1f'.join(row) + "
        "'\\x1e').encode())\" '" +
        Business("py").string() + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[4096];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe.get())) output.append(buffer, n);

    std::u16string expected =
        u"Date\x1f"
        u"Category\x1fTime (hours and minutes)\x1fMemo\x1e";
    for (const auto& memo : memos)
        expected +=
            u"03-05-2004\x1f"
            u"Cat, \"x\"\x1f"
            u"1:05\x1f" +
            memo + u"\x1e";
    EXPECT_EQ(output, ToUtf8(expected));
}

}  // namespace
}  // namespace qv
