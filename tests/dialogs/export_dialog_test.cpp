// Export File Options where a scenario cannot reach: files that cannot be written; and the
// messages every reported store or export failure becomes.
#include "dialogs/export_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "dialogs/messages.h"
#include "files/temp_dir.h"
#include "headless/scripted_host.h"
#include "res/string_table.h"
#include "support/record_builders.h"

namespace qv {
namespace {

using testing::MakeRecord;

class ExportDialogTest : public test::ScriptedHost {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folders_.Provision());
        state_.timeRecords.Append(MakeRecord(1, 2005, 10, 3, 90));
        state_.timeRecords.Append(MakeRecord(2, 2005, 10, 4, 59, u"Meeting", u"weekly"));
    }

    int Run(ExportVariant variant) {
        ExportDialogContext ctx{host, state_, *files_, active_};
        return ShowExportDialog(ctx, variant);
    }
    std::filesystem::path Csv(const char* folder, const char* name) const {
        return folders_.documentsDir / folder / (std::string(name) + ".csv");
    }
    // The name field has the focus with its text selected, the panel up to type on.
    void ExpectBackOnName(int nameId) {
        Dialog* d = host.TopDialog();
        ASSERT_NE(d, nullptr);
        EXPECT_FALSE(d->Ended());
        EXPECT_EQ(d->Focus(), nameId);
        EXPECT_TRUE(d->Find(nameId)->textSelected);
        EXPECT_TRUE(host.InputPanel());
        EXPECT_FALSE(host.WaitCursor());
        EXPECT_EQ(active_, d);
    }

    test::TempDir root_;
    DeviceFolders folders_ = DeviceFolders::UnderRoot(root_.path());
    std::unique_ptr<DeviceFiles> files_ = std::make_unique<DeviceFiles>(folders_);
    AppState state_;
    Dialog* active_ = nullptr;
};

constexpr int kName = kExportRecordsFirst + kExportName;
constexpr int kOk = kExportRecordsFirst + kExportOk;

TEST_F(ExportDialogTest, AFileNotWrittenKeepsTheDialogOnTheNameAndTheNextOkWrites) {
    // Dates and the separator follow the view settings.
    state_.settings.DateTypeView = 3;
    state_.settings.TimeTypeView = 0;
    state_.settings.TimeTypeExport = 0;
    // A missing folder: said, nothing made, the choices kept all the same.
    Look([this] { std::filesystem::remove(folders_.documentsDir / "Business"); });
    Add(A::MakeChoose(kExportRecordsFirst + kExportTimeType, u"hours and minutes"));
    Add(A::MakeCheck(kExportRecordsFirst + kExportBusiness));
    Add(A::MakeType(kName, u"week 12"));
    Add(A::MakeClick(kOk));
    Look([this] {
        ExpectBackOnName(kName);
        EXPECT_EQ(state_.settings.TimeTypeExport, 1u);
        EXPECT_EQ(state_.settings.ExportFileFolder, 0u);
        EXPECT_EQ(state_.lastRecordsExportName, u"week 12");
        EXPECT_FALSE(std::filesystem::exists(folders_.documentsDir / "Business"));
    });
    // A card that fills up part-way: said once, and no partial file left behind.
    Add(A::MakeCheck(kExportRecordsFirst + kExportPersonal));
    Add(A::MakeType(kName, u" week 13 "));
    Look([this] { files_->Faults().FailAfterBytes(40); });
    Add(A::MakeClick(kOk));
    Look([this] {
        ExpectBackOnName(kName);
        EXPECT_EQ(state_.lastRecordsExportName, u"week 13");  // remembered before the export
        EXPECT_FALSE(std::filesystem::exists(Csv("Personal", "week 13")));
        files_->Faults().FailAfterBytes(std::nullopt);
    });
    Add(A::MakeClick(kOk));

    EXPECT_EQ(Run(ExportVariant::TimeRecords), kExportDone);
    EXPECT_EQ(active_, nullptr);
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(events, (std::vector<std::string>{
                          "open 1070 \"Export File Options\"",
                          "message exclamation \"Folder Business doesn't exist on you PocketPC. "
                          "Please, restore original folder structure on you PocketPC, and try "
                          "again.\"",
                          "message stop \"Program failed to write time records in file.\"",
                          "message exclamation \"Done!\"",
                          "end 1070 1",
                      }));
    EXPECT_EQ(test::ReadBytes(Csv("Personal", "week 13")),
              "\"Date\",\"Category\",\"Time (hours and minutes)\",\"Memo\"\r\n"
              "\"10/03/2005\",\"Travel\",\"1,30\",\"----\"\r\n"
              "\"10/04/2005\",\"Meeting\",\"0,59\",\"weekly\"\r\n");
}

// Each failure is told in the order reported, with its text and icon, the wait cursor gone;
// an unreadable store beeps first. A failure without a fault to tell says nothing.
TEST(Messages, EveryReportedFailureBecomesItsMessage) {
    RecordingShell shell;
    StoreResult told = StoreResult::Failed(StoreFault::Adding, u"Db");
    for (StoreFault f : {StoreFault::Editing, StoreFault::Deleting, StoreFault::Building}) {
        told.Tell(f, u"Db");
    }
    for (StoreFault f :
         {StoreFault::BuildingHalted, StoreFault::Unreadable, StoreFault::TooManyRecords}) {
        told.Tell(f);
    }
    shell.SetWaitCursor(true);
    EXPECT_FALSE(Tell(shell, told));
    for (ExportFault f :
         {ExportFault::None, ExportFault::NoBusinessFolder, ExportFault::NoPersonalFolder,
          ExportFault::CannotCreate, ExportFault::WriteFailed}) {
        shell.SetWaitCursor(true);
        EXPECT_FALSE(Tell(shell, ExportResult{false, f, u"f"}));
    }
    EXPECT_TRUE(Tell(shell, ExportResult{true, ExportFault::None, u"f"}));
    EXPECT_FALSE(shell.waitCursorOnAtMessage);
    std::vector<std::u16string> seen;  // icon and text of each box, and the beeps
    for (const RecordingShell::Event& e : shell.events) {
        if (e.kind == RecordingShell::Event::Beep) seen.push_back(u"beep");
        if (e.kind == RecordingShell::Event::Message) {
            seen.push_back(FormatDecimal(e.flags) + u" " + e.text);
        }
    }
    const auto named = [](uint32_t id) { return u"48 " + NamedMessage(id, u"Db"); };
    const auto box = [](uint32_t flags, uint32_t id) {
        return FormatDecimal(flags) + u" " + *LoadString(id);
    };
    EXPECT_EQ(seen, (std::vector<std::u16string>{
                        named(kStrErrorAdding), named(kStrErrorEditing), named(kStrErrorDeleting),
                        named(kStrErrorBuilding), box(16, kStrErrorBuilding), u"beep",
                        box(16, kStrThereAreProblems), box(48, kStrTooManyRecords),
                        box(48, kStrNoBusinessFolder), box(48, kStrNoPersonalFolder),
                        box(16, kStrCannotCreateFile), box(16, kStrWriteFailed)}));
}

}  // namespace
}  // namespace qv
