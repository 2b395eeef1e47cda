// The CSV writer stopped at every byte it writes: no file is left and the user is told.
#include <gtest/gtest.h>

#include "export/csv_export.h"
#include "export/export_fixture.h"
#include "files/temp_dir.h"
#include "platform/ui/shell.h"
#include "res/string_table.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

TEST(ExportFaults, StoppedAtAnyByteLeavesNoFileAndSaysSo) {
    test::TempDir root;
    const DeviceFolders folders = DeviceFolders::UnderRoot(root.path());
    ASSERT_TRUE(folders.Provision());
    const fs::path business = folders.documentsDir / "Business";
    DeviceFiles files(folders);
    RecordingShell shell;
    ExportContext ctx{files, shell, 0, 1};
    TimeRecordList records;
    test::AddTwoRecords(records);
    test::AddRecord(records, 2004, 5, 5, u"Caf\u00e9", u"15", u"\u20ac");

    for (uint32_t encoding : {ExportAscii, ExportUnicode}) {
        auto write = [&] {
            return ExportTimeRecords(ctx, records, u"w", HoursAndMinutes, encoding, ExportBusiness);
        };
        ASSERT_TRUE(write());
        const std::string whole = test::ReadBytes(business / "w.csv");
        fs::remove(business / "w.csv");
        for (uint64_t stop = 0; stop <= whole.size(); ++stop) {
            SCOPED_TRACE(testing::Message() << "encoding " << encoding << " stop " << stop);
            shell.events.clear();
            files.Faults().FailAfterBytes(stop);
            if (stop == whole.size()) {
                EXPECT_TRUE(write());
                EXPECT_TRUE(shell.events.empty());
                EXPECT_EQ(test::ReadBytes(business / "w.csv"), whole);
                fs::remove(business / "w.csv");
                break;
            }
            ASSERT_FALSE(write());
            ASSERT_EQ(shell.Messages(), std::vector<std::u16string>{*LoadString(kStrWriteFailed)});
            ASSERT_TRUE(fs::is_empty(business));
        }
        files.Faults().FailAfterBytes(std::nullopt);
    }

    // A flush that fails is a failed write too.
    files.Faults().FailFlushes(true);
    shell.events.clear();
    EXPECT_FALSE(ExportTimeRecords(ctx, records, u"w", Minutes, ExportAscii, ExportBusiness));
    EXPECT_EQ(shell.Messages(), std::vector<std::u16string>{*LoadString(kStrWriteFailed)});
    EXPECT_TRUE(fs::is_empty(business));
}

}  // namespace
}  // namespace qv
