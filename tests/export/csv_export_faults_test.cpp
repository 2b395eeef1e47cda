// The CSV writer stopped at every byte it writes, at its flush and at its rename: the file that
// was there stays byte for byte, nothing else is left in the folder, and the write is reported
// as failed.
#include <gtest/gtest.h>

#include <map>

#include "export/csv_export.h"
#include "export/export_fixture.h"
#include "files/temp_dir.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

// The names in a folder, each with its bytes.
std::map<std::string, std::string> Contents(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        files[entry.path().filename().string()] = test::ReadBytes(entry.path());
    }
    return files;
}

TEST(ExportFaults, StoppedAtAnyByteKeepsTheOldFileAndLeavesNothingElse) {
    test::TempDir root;
    const DeviceFolders folders = DeviceFolders::UnderRoot(root.path());
    ASSERT_TRUE(folders.Provision());
    const fs::path business = folders.documentsDir / "Business";
    DeviceFiles files(folders);
    ExportContext ctx{files, [](const std::u16string&) { return true; }, 0, 1};
    TimeRecordList records;
    test::AddTwoRecords(records);
    test::AddRecord(records, 2004, 5, 5, u"Caf\u00e9", u"15", u"\u20ac");
    const std::string old("an older export \x00\xff\r\n", 20);
    const std::map<std::string, std::string> before{{"w.csv", old}};

    for (uint32_t encoding : {ExportAscii, ExportUnicode}) {
        auto write = [&] {
            return ExportTimeRecords(ctx, records, u"w", HoursAndMinutes, encoding, ExportBusiness);
        };
        fs::remove(business / "w.csv");
        ASSERT_TRUE(write());
        const std::string whole = test::ReadBytes(business / "w.csv");
        for (uint64_t stop = 0; stop <= whole.size(); ++stop) {
            SCOPED_TRACE(testing::Message() << "encoding " << encoding << " stop " << stop);
            test::WriteBytes(business / "w.csv", old);
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

    // A flush or a rename that fails is a failed write too, for a replaced file and a new one.
    test::WriteBytes(business / "w.csv", old);
    for (bool flush : {true, false}) {
        files.Faults().FailFlushes(flush);
        files.Faults().FailRenames(!flush);
        for (const char16_t* name : {u"w", u"new"}) {
            SCOPED_TRACE(testing::Message() << "flush " << flush << " new " << (name[0] == u'n'));
            EXPECT_EQ(
                ExportTimeRecords(ctx, records, name, Minutes, ExportAscii, ExportBusiness).fault,
                ExportFault::WriteFailed);
            EXPECT_EQ(Contents(business), before);
        }
    }
}

}  // namespace
}  // namespace qv
