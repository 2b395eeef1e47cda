// The CSV writers stopped at every byte they write: no file is left and the user is told.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "export/csv_export.h"
#include "export/export_fixture.h"
#include "files/temp_dir.h"
#include "platform/ui/shell.h"
#include "res/string_table.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

using Writer = std::function<bool(ExportContext&, uint32_t encoding)>;

class ExportFaults : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(folders.Provision()); }

    size_t FilesInBusiness() const {
        return static_cast<size_t>(
            std::distance(fs::directory_iterator(folders.documentsDir / "Business"), {}));
    }

    // Exports once in full, then again stopped after every byte count short of the whole.
    void StopAtEveryByte(const Writer& write, uint32_t encoding) {
        const fs::path file = folders.documentsDir / "Business" / "w.csv";
        ASSERT_TRUE(write(ctx, encoding));
        const std::string whole = test::ReadBytes(file);
        ASSERT_FALSE(whole.empty());
        fs::remove(file);

        for (uint64_t stop = 0; stop < whole.size(); ++stop) {
            SCOPED_TRACE(testing::Message() << "encoding " << encoding << " stop " << stop);
            shell.events.clear();
            files.Faults().FailAfterBytes(stop);
            ASSERT_FALSE(write(ctx, encoding));
            ASSERT_EQ(shell.Messages(), std::vector<std::u16string>{*LoadString(kStrWriteFailed)});
            ASSERT_EQ(FilesInBusiness(), 0u);
        }
        files.Faults().FailAfterBytes(whole.size());
        shell.events.clear();
        EXPECT_TRUE(write(ctx, encoding));
        EXPECT_TRUE(shell.events.empty());
        EXPECT_EQ(test::ReadBytes(file), whole);
        fs::remove(file);
        files.Faults().FailAfterBytes(std::nullopt);
    }

    test::TempDir root;
    DeviceFolders folders = DeviceFolders::UnderRoot(root.path());
    DeviceFiles files{folders};
    RecordingShell shell;
    ExportContext ctx{files, shell, 0, 1};
};

TEST_F(ExportFaults, EveryWriterStoppedAtAnyByteLeavesNoFileAndSaysSo) {
    TimeRecordList records;
    test::AddTwoRecords(records);
    test::AddRecord(records, 2004, 5, 5, u"Caf\u00e9", u"15", u"\u20ac");
    for (uint32_t encoding : {ExportAscii, ExportUnicode}) {
        StopAtEveryByte(
            [&](ExportContext& c, uint32_t e) {
                return ExportTimeRecords(c, records, u"w", HoursAndMinutes, e, ExportBusiness);
            },
            encoding);
    }
    CategoryList categories;
    test::AddCategory(categories, u"Travel", 90);
    test::AddCategory(categories, u"Meeting", 45);
    StopAtEveryByte(
        [&](ExportContext& c, uint32_t e) {
            return ExportCategoryReport(c, categories, u"w", Minutes, e, ExportBusiness);
        },
        ExportAscii);
    ProjectList projects;
    test::AddProject(projects, u"Alpha", 600);
    StopAtEveryByte(
        [&](ExportContext& c, uint32_t e) {
            return ExportProjectsBalance(c, projects, u"w", HoursOnly, e, ExportBusiness);
        },
        ExportUnicode);
}

TEST_F(ExportFaults, AFailedFlushLeavesNoFileAndSaysSo) {
    TimeRecordList records;
    test::AddTwoRecords(records);
    files.Faults().FailFlushes(true);
    EXPECT_FALSE(ExportTimeRecords(ctx, records, u"w", Minutes, ExportAscii, ExportBusiness));
    EXPECT_EQ(shell.Messages(), std::vector<std::u16string>{*LoadString(kStrWriteFailed)});
    EXPECT_EQ(FilesInBusiness(), 0u);
}

}  // namespace
}  // namespace qv
