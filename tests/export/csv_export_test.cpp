// The CSV writers on real files: bytes, the replace question, and every failure path; the
// writer stopped at every byte it writes, at its flush and at its rename.
#include "export/csv_export.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <map>

#include "files/temp_dir.h"
#include "support/record_builders.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;
using testing::MakeRecord;
using Failure = std::pair<ExportFault, std::u16string>;

// The names in a folder, each with its bytes.
std::map<std::string, std::string> Contents(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        files[entry.path().filename().string()] = ReadBytes(entry.path());
    }
    return files;
}

// 3 May 2004 Travel 90 minutes without a memo, 4 May 2004 Meeting 45 minutes "weekly".
void AddTwoRecords(TimeRecordList& list) {
    list.Append(MakeRecord(0, 2004, 5, 3, 90));
    list.Append(MakeRecord(0, 2004, 5, 4, 45, u"Meeting", u"weekly"));
}

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
    // A time-record export that fails: its fault and the file (or folder) it names.
    Failure Refused(TimeRecordList& records, const Text& name, uint32_t folder = ExportBusiness) {
        const ExportResult r = ExportTimeRecords(ctx, records, name, Minutes, ExportAscii, folder);
        EXPECT_FALSE(r);
        return {r.fault, r.file};
    }

    test::TempDir root;
    DeviceFolders folders = DeviceFolders::UnderRoot(root.path());
    DeviceFiles files{folders};
    std::vector<std::u16string> asked;  // the paths the replace question was asked about
    bool replace = false;
    ExportContext ctx{files,
                      [this](const std::u16string& path) {
                          asked.push_back(path);
                          return replace;
                      },
                      0, 1};
};

// Both encodings byte for byte, an empty list as the header alone (no byte-order mark), and
// text beyond ASCII (a letter outside Windows-1252 becomes '?'). The export dialog test reads
// the plain records of an export in hours and minutes.
TEST_F(ExportFiles, RecordsInBothEncodingsByteForByte) {
    TimeRecordList empty;
    ASSERT_TRUE(ExportTimeRecords(ctx, empty, u"empty", Minutes, ExportUnicode, ExportPersonal));
    EXPECT_EQ(ReadBytes(folders.documentsDir / "Personal" / "empty.csv"),
              Bytes(u"\"Date\",\"Category\",\"Time (minutes)\",\"Memo\"\r\n"));

    TimeRecordList intl;
    // é, the euro sign, a CJK letter and an emoji (a surrogate pair); a memo of one blank.
    intl.Append(MakeRecord(0, 2004, 5, 3, 90, u"Caf\u00e9", u"\u20ac \u4e2d\U0001F600"));
    intl.Append(MakeRecord(0, 2004, 5, 4, 0, u"x", u" "));
    ASSERT_TRUE(ExportTimeRecords(ctx, intl, u"intl", HoursOnly, ExportAscii, ExportBusiness));
    EXPECT_EQ(ReadBytes(Business("intl")),
              "\"Date\",\"Category\",\"Time (hours only)\",\"Memo\"\r\n"
              "\"03-05-2004\",\"Caf\xE9\",\"1\",\"\x80 ???\"\r\n"
              "\"04-05-2004\",\"x\",\"0\",\" \"\r\n");
    replace = true;
    ASSERT_TRUE(ExportTimeRecords(ctx, intl, u"intl", HoursOnly, ExportUnicode, ExportBusiness));
    EXPECT_EQ(ReadBytes(Business("intl")),
              Bytes(u"\"Date\",\"Category\",\"Time (hours only)\",\"Memo\"\r\n"
                    u"\"03-05-2004\",\"Caf\u00e9\",\"1\",\"\u20ac \u4e2d\U0001F600\"\r\n"
                    u"\"04-05-2004\",\"x\",\"0\",\" \"\r\n"));
}

TEST_F(ExportFiles, ReportsWriteEveryItemAndRefuseEmptyListsSilently) {
    CategoryList categories;
    ProjectList projects;
    for (const ExportResult& none :
         {ExportCategoryReport(ctx, categories, u"r", Minutes, ExportAscii, 0),
          ExportProjectsBalance(ctx, projects, u"r", Minutes, ExportAscii, 0)}) {
        EXPECT_FALSE(none);
        EXPECT_EQ(none.fault, ExportFault::None);
    }
    EXPECT_FALSE(fs::exists(Business("r")));

    for (int i = 0; i < 150; ++i) categories.Add(testing::MakeCategory(u"C" + FormatDecimal(i), i));
    ASSERT_TRUE(ExportCategoryReport(ctx, categories, u"cats", Minutes, ExportAscii, 0));
    std::string cats = ReadBytes(Business("cats"));
    EXPECT_EQ(cats.substr(0, 32), "\"Category\",\"Time (minutes)\"\r\n\"C0");
    EXPECT_NE(cats.find("\"C0\",\"0\"\r\n"), std::string::npos);  // a total of 0 is kept
    EXPECT_EQ(cats.substr(cats.size() - 14), "\"C149\",\"149\"\r\n");

    projects.Append(testing::MakeProject(u"Build", 65));
    ctx.timeTypeView = Comma;
    ASSERT_TRUE(ExportProjectsBalance(ctx, projects, u"bal", HoursAndMinutes, ExportUnicode,
                                      ExportPersonal));
    EXPECT_EQ(ReadBytes(folders.documentsDir / "Personal" / "bal.csv"),
              Bytes(u"\"Project\",\"Time (hours and minutes)\"\r\n\"Build\",\"1,05\"\r\n"));
}

TEST_F(ExportFiles, BadNamesFailSilentlyAndWriteNothing) {
    TimeRecordList records;
    AddTwoRecords(records);
    // A file name takes 255 bytes: 83 letters of three bytes and two of one, with ".csv", fill it.
    const std::u16string longest = std::u16string(83, u'\u6587') + u"ab";
    for (const Text& name :
         {Text(), Text(u""), Text(u"a/b"), Text(u"sub\\x"), Text(u"a..b"), Text(longest + u"c")}) {
        EXPECT_EQ(Refused(records, name), Failure());
    }
    EXPECT_TRUE(fs::is_empty(folders.documentsDir / "Business"));
    EXPECT_EQ(ExportPath(u"week 12", 1), u"\\My Documents\\Personal\\week 12.csv");
    EXPECT_TRUE(ExportNameFits(longest));
    EXPECT_FALSE(ExportNameFits(longest + u"c"));
    EXPECT_TRUE(ExportTimeRecords(ctx, records, longest, Minutes, ExportAscii, 0));
    EXPECT_TRUE(fs::exists(folders.documentsDir / "Business" / (ToUtf8(longest) + ".csv")));
}

// A missing folder says which one; No to the replace question keeps the old file without a
// word, Yes replaces it. A read-only file is refused, as the handheld refused to create over
// it, and kept as it is; so is everything when creation fails.
TEST_F(ExportFiles, MissingFoldersExistingFilesAndFilesThatCannotBeCreated) {
    TimeRecordList records;
    const std::u16string w = u"\\My Documents\\Business\\w.csv";
    fs::remove_all(folders.documentsDir / "Personal");
    WriteBytes(folders.documentsDir / "Personal", "x");  // a file is no folder
    EXPECT_EQ(Refused(records, u"w", ExportPersonal),
              Failure(ExportFault::NoPersonalFolder, u"\\My Documents\\Personal"));

    const std::string old("old \x00\xff content\r\n", 17);
    WriteBytes(Business("w"), old);
    EXPECT_EQ(Refused(records, u"w"), Failure(ExportFault::None, w));
    EXPECT_EQ(ReadBytes(Business("w")), old);
    EXPECT_EQ(asked, (std::vector<std::u16string>{w}));
    replace = true;
    EXPECT_TRUE(ExportTimeRecords(ctx, records, u"w", Minutes, ExportAscii, ExportBusiness));
    EXPECT_EQ(ReadBytes(Business("w")).substr(0, 7), "\"Date\",");

    WriteBytes(Business("w"), old);
    ASSERT_EQ(::chmod(Business("w").c_str(), 0444), 0);
    EXPECT_EQ(Refused(records, u"w"), Failure(ExportFault::CannotCreate, w));
    EXPECT_EQ(ReadBytes(Business("w")), old);
    EXPECT_EQ(fs::status(Business("w")).permissions(), fs::perms(0444));
    files.FailCreates(true);
    EXPECT_EQ(Refused(records, u"new").first, ExportFault::CannotCreate);
    EXPECT_EQ(Contents(folders.documentsDir / "Business").size(), 1u);

    fs::remove_all(folders.documentsDir / "Business");
    EXPECT_EQ(Refused(records, u"w"),
              Failure(ExportFault::NoBusinessFolder, u"\\My Documents\\Business"));
    EXPECT_FALSE(fs::exists(folders.documentsDir / "Business"));  // never created
}

// A large export goes out in blocks, every line of it; a block refused leaves no file.
TEST_F(ExportFiles, LargeExportsGoOutWholeInBlocks) {
    TimeRecordList records;
    for (int i = 0; i < 8000; ++i)
        records.Append(MakeRecord(0, 2004, 5, 3, 90, u"Category", u"memo"));
    files.FailWritesAfter(1);
    EXPECT_EQ(ExportTimeRecords(ctx, records, u"big", Minutes, ExportUnicode, 0).fault,
              ExportFault::WriteFailed);
    EXPECT_FALSE(fs::exists(Business("big")));
    files.FailWritesAfter(-1);
    ASSERT_TRUE(ExportTimeRecords(ctx, records, u"big", Minutes, ExportUnicode, 0));
    const std::u16string line = u"\"03-05-2004\",\"Category\",\"90\",\"memo\"\r\n";
    EXPECT_EQ(ReadBytes(Business("big")).size(), 2 * (43 + 8000 * line.size()));
}

// Stopped anywhere, the file that was there stays byte for byte, nothing else is left in the
// folder, and the write is reported as failed; for a replaced file and a new one.
TEST_F(ExportFiles, StoppedAtAnyByteKeepsTheOldFileAndLeavesNothingElse) {
    const fs::path business = folders.documentsDir / "Business";
    replace = true;
    TimeRecordList records;
    AddTwoRecords(records);
    records.Append(MakeRecord(0, 2004, 5, 5, 15, u"Caf\u00e9", u"\u20ac"));
    const std::string old("an older export \x00\xff\r\n", 20);
    const std::map<std::string, std::string> before{{"w.csv", old}};
    for (uint32_t encoding : {ExportAscii, ExportUnicode}) {
        auto write = [&] {
            return ExportTimeRecords(ctx, records, u"w", HoursAndMinutes, encoding, 0);
        };
        fs::remove(Business("w"));
        ASSERT_TRUE(write());
        const std::string whole = ReadBytes(Business("w"));
        for (uint64_t stop = 0; stop <= whole.size(); ++stop) {
            SCOPED_TRACE(::testing::Message() << "encoding " << encoding << " stop " << stop);
            WriteBytes(Business("w"), old);
            files.Faults().FailAfterBytes(stop);
            if (stop == whole.size()) {
                EXPECT_TRUE(write());
                EXPECT_EQ(Contents(business),
                          (std::map<std::string, std::string>{{"w.csv", whole}}));
                break;
            }
            ASSERT_EQ(write().fault, ExportFault::WriteFailed);
            ASSERT_EQ(Contents(business), before);
        }
        files.Faults().FailAfterBytes(std::nullopt);
    }
    WriteBytes(Business("w"), old);
    for (bool flush : {true, false}) {
        files.Faults().FailFlushes(flush);
        files.Faults().FailRenames(!flush);
        for (const char16_t* name : {u"w", u"new"}) {
            SCOPED_TRACE(::testing::Message() << "flush " << flush << " new " << (name[0] == u'n'));
            EXPECT_EQ(Refused(records, name).first, ExportFault::WriteFailed);
            EXPECT_EQ(Contents(business), before);
        }
    }
}

}  // namespace
}  // namespace qv
