// The settings block over a real hive file: defaults, ranges, LastProject, saving.
#include "core/settings.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "files/temp_dir.h"
#include "platform/registry/registry_hive.h"
#include "registry/hive_lookup.h"

namespace qv {
namespace {

const std::u16string kVersionKey = u"Software\\Brumo\\Quorvella";
const std::u16string kSettingsKey = u"Software\\Brumo\\Quorvella\\Settings";

// A hive that refuses to write the named values, to see that the others are still written.
class RefusingHive : public RegistryHive {
  public:
    using RegistryHive::RegistryHive;
    std::set<std::u16string> refused;
    bool SetDwordValue(RegistryKey key, const std::u16string& name, uint32_t value) override {
        if (refused.count(name)) return false;
        return RegistryHive::SetDwordValue(key, name, value);
    }
};

class SettingsTest : public ::testing::Test {
  protected:
    void Put(const std::u16string& keyPath, const std::u16string& name, uint32_t number) {
        auto key = hive_->CreateKey(keyPath);
        ASSERT_TRUE(key && hive_->SetDwordValue(*key, name, number));
        hive_->CloseKey(*key);
    }
    void PutText(const std::u16string& keyPath, const std::u16string& name,
                 const std::u16string& text) {
        auto key = hive_->CreateKey(keyPath);
        ASSERT_TRUE(key && hive_->SetStringValue(*key, name, text));
        hive_->CloseKey(*key);
    }
    AppSettings Load() {
        AppSettings s;
        EXPECT_TRUE(LoadSettings(s, *hive_, u"Brumo", u"Quorvella"));
        return s;
    }
    std::optional<HiveValue> Stored(const std::u16string& keyPath, const std::u16string& name) {
        return test::FindValue(ListHive(dir_ / "registry.hive"), keyPath, name);
    }

    test::TempDir dir_;
    std::unique_ptr<RefusingHive> hive_ = std::make_unique<RefusingHive>(dir_ / "registry.hive");
};

TEST_F(SettingsTest, AnEmptyRegistryGivesTheDefaultsUnderTheCompanyAndProductKeys) {
    AppSettings s = Load();
    EXPECT_EQ(s.productText, u"Quorvella");
    EXPECT_EQ(std::tuple(s.MajorVersion, s.Sort, s.SortOrder, s.DateTypeView, s.TimeTypeView,
                         s.TimeTypeExport, s.ExportFileType, s.ExportFileFolder, s.CatRecsApply),
              std::tuple(0u, 0u, 2u, 0u, 1u, 1u, 0u, 1u, 0u));
    EXPECT_FALSE(s.LastProject);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "registry.hive"));  // loading writes nothing

    // The keys are composed from the company and product texts; without them nothing is read
    // or written.
    Put(u"Software\\Other\\Thing\\Settings", u"SortOrder", 0);
    AppSettings other;
    ASSERT_TRUE(LoadSettings(other, *hive_, u"Other", u"Thing"));
    EXPECT_EQ(other.SortOrder, 0u);
    EXPECT_EQ(Load().SortOrder, 2u);
    ReleaseSettings(other);
    EXPECT_FALSE(other.companyText || other.productText || other.LastProject);
    Put(kSettingsKey, u"SortOrder", 1);
    for (auto [company, product] :
         {std::pair<Text, Text>{std::nullopt, u"Quorvella"}, {u"Brumo", u""}, {u"", u""}}) {
        AppSettings s;
        EXPECT_FALSE(LoadSettings(s, *hive_, company, product));
        EXPECT_EQ(s.SortOrder, 2u);
    }
    AppSettings noNames;
    noNames.SortOrder = 0;
    EXPECT_FALSE(SaveSettings(noNames, *hive_));
    EXPECT_EQ(Stored(kSettingsKey, u"SortOrder")->number, 1u);
}

TEST_F(SettingsTest, ANewInstallationRecordsItsVersionAndAnOlderRecordStays) {
    AppSettings s = Load();
    EXPECT_TRUE(ProvisionVersion(s, *hive_, 1, 2));
    EXPECT_EQ(std::pair(s.MajorVersion, s.MinorVersion), std::pair(1u, 2u));
    EXPECT_EQ(std::pair(Load().MajorVersion, Load().MinorVersion), std::pair(1u, 2u));

    // Only what is missing is written.
    Put(kVersionKey, u"MajorVersion", 2);
    hive_->refused = {u"MajorVersion"};
    s = Load();
    EXPECT_TRUE(ProvisionVersion(s, *hive_, 1, 5));
    EXPECT_EQ(std::pair(s.MajorVersion, s.MinorVersion), std::pair(2u, 2u));
    EXPECT_EQ(Stored(kVersionKey, u"MinorVersion")->number, 2u);
}

TEST_F(SettingsTest, ValuesOutOfRangeOrMistypedAreIgnoredNotClamped) {
    Put(kVersionKey, u"MajorVersion", 3);
    Put(kVersionKey, u"MinorVersion", 99);
    Put(kSettingsKey, u"Sort", 1);
    Put(kSettingsKey, u"SortOrder", 0xFFFFFFFFu);
    PutText(kSettingsKey, u"DateTypeView", u"1");
    Put(kSettingsKey, u"TimeTypeView", 0);
    Put(kSettingsKey, u"TimeTypeExport", 2);
    Put(kSettingsKey, u"ExportFileFolder", 2);
    Put(kSettingsKey, u"CatRecsApply", 1);
    Put(kSettingsKey, u"SortOrderPBalance", 2);
    AppSettings s = Load();
    EXPECT_EQ(std::tuple(s.MajorVersion, s.MinorVersion, s.Sort, s.SortOrder, s.DateTypeView,
                         s.TimeTypeView, s.TimeTypeExport, s.ExportFileFolder, s.CatRecsApply,
                         s.SortOrderPBalance),
              std::tuple(0u, 99u, 0u, 2u, 0u, 0u, 2u, 1u, 1u, 2u));

    Put(kSettingsKey, u"DateTypeView", 4);
    EXPECT_EQ(Load().DateTypeView, 0u);
    Put(kSettingsKey, u"DateTypeView", 3);
    EXPECT_EQ(Load().DateTypeView, 3u);
}

TEST_F(SettingsTest, LastProjectOfFortyCharactersIsReadAndFortyOneIsNot) {
    const std::u16string forty(40, u'p');
    PutText(kSettingsKey, u"LastProject", forty);
    EXPECT_EQ(Load().LastProject, forty);
    PutText(kSettingsKey, u"LastProject", forty + u"q");
    EXPECT_FALSE(Load().LastProject);
    PutText(kSettingsKey, u"LastProject", std::u16string{u'a', 0, u'b'});
    EXPECT_EQ(Load().LastProject, u"a");  // the text ends at its terminator
    Put(kSettingsKey, u"LastProject", 5);
    EXPECT_FALSE(Load().LastProject);
}

TEST_F(SettingsTest, SavingCreatesBothKeysAndReadsBackTheSame) {
    AppSettings s = Load();
    s.SortOrder = 1;
    s.SortRapport = 1;
    s.SortOrderProjectsBook = 2;
    s.DateTypeView = 3;
    s.DateTypeExport = 2;
    s.ExportFileType = 1;
    s.ExportFileFolder = 0;
    ASSERT_TRUE(SetLastProject(s, u"Week \"12\" \\ \u00e9t\u00e9"));
    EXPECT_TRUE(SaveSettings(s, *hive_));

    EXPECT_EQ(Stored(kVersionKey, u"MajorVersion")->type, REG_DWORD);
    EXPECT_EQ(Stored(kSettingsKey, u"LastProject")->type, REG_SZ);
    size_t count = 0;
    for (const auto& key : ListHive(dir_ / "registry.hive")) {
        if (key.path == kSettingsKey) count = key.values.size();
    }
    EXPECT_EQ(count, 16u);

    RegistryHive reread(dir_ / "registry.hive");
    AppSettings back;
    ASSERT_TRUE(LoadSettings(back, reread, u"Brumo", u"Quorvella"));
    EXPECT_EQ(std::tuple(back.SortOrder, back.SortRapport, back.SortOrderProjectsBook,
                         back.DateTypeView, back.DateTypeExport, back.ExportFileType,
                         back.ExportFileFolder, back.LastProject),
              std::tuple(1u, 1u, 2u, 3u, 2u, 1u, 0u, s.LastProject));
}

TEST_F(SettingsTest, AnAbsentOrEmptyLastProjectLeavesTheStoredOneAlone) {
    PutText(kSettingsKey, u"LastProject", u"Kept");
    AppSettings s = Load();
    s.LastProject.reset();
    EXPECT_TRUE(SaveSettings(s, *hive_));
    EXPECT_EQ(Stored(kSettingsKey, u"LastProject")->text, u"Kept");
    ASSERT_TRUE(SetLastProject(s, u""));
    EXPECT_EQ(s.LastProject, u"");
    EXPECT_TRUE(SaveSettings(s, *hive_));
    EXPECT_EQ(Stored(kSettingsKey, u"LastProject")->text, u"Kept");
    // An absent name is refused and the current one stays.
    EXPECT_FALSE(SetLastProject(s, std::nullopt));
    EXPECT_EQ(s.LastProject, u"");
}

TEST_F(SettingsTest, EveryWriteIsTriedAndOneFailureFailsTheSave) {
    AppSettings s = Load();
    s.CatRecsApply = 1;
    s.MinorVersion = 5;
    hive_->refused = {u"MajorVersion", u"Sort"};
    ASSERT_TRUE(SetLastProject(s, u"Alpha"));
    EXPECT_FALSE(SaveSettings(s, *hive_));
    EXPECT_FALSE(Stored(kVersionKey, u"MajorVersion"));
    EXPECT_EQ(Stored(kVersionKey, u"MinorVersion")->number, 5u);
    EXPECT_FALSE(Stored(kSettingsKey, u"Sort"));
    EXPECT_EQ(Stored(kSettingsKey, u"CatRecsApply")->number, 1u);
    EXPECT_EQ(Stored(kSettingsKey, u"LastProject")->text, u"Alpha");

    // A hive that cannot be written at all: failure, and the file stays as it was.
    hive_->refused.clear();
    hive_->FailSaves(true);
    s.CatRecsApply = 0;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(SaveSettings(s, *hive_));
    EXPECT_NE(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(Stored(kSettingsKey, u"CatRecsApply")->number, 1u);
}

// Stops the exit's save at every byte it writes: each time the hive file holds the old
// settings, nothing is left beside it, and the failure is reported to the caller and on
// standard error. Past the last byte the new settings are kept: the whole block is one write.
TEST_F(SettingsTest, ASaveStoppedAtAnyPointKeepsTheOldSettingsAndSaysSo) {
    const std::filesystem::path file = dir_ / "registry.hive";
    AppSettings old = Load();
    ASSERT_TRUE(SetLastProject(old, u"Old"));
    ASSERT_TRUE(SaveSettings(old, *hive_));
    const std::string oldBytes = test::ReadBytes(file);
    AppSettings next = old;
    next.SortOrder = 0;
    next.CatRecsApply = 1;
    ASSERT_TRUE(SetLastProject(next, u"A new project with a longer name"));
    const std::string failure =
        "quorvella: cannot save settings to " + file.string() + ": No space left on device\n";

    uint64_t stop = 0;
    for (;; ++stop) {
        SCOPED_TRACE(stop);
        RegistryHive hive(file);
        hive.Faults().FailAfterBytes(stop);
        testing::internal::CaptureStderr();
        const bool saved = SaveSettings(next, hive);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 1);
        if (saved) {
            EXPECT_EQ(said, "");
            break;
        }
        ASSERT_EQ(said, failure);
        ASSERT_EQ(test::ReadBytes(file), oldBytes);
    }
    EXPECT_EQ(stop, test::ReadBytes(file).size());
    RegistryHive reread(file);
    AppSettings back;
    ASSERT_TRUE(LoadSettings(back, reread, u"Brumo", u"Quorvella"));
    EXPECT_EQ(std::tuple(back.SortOrder, back.CatRecsApply, back.LastProject),
              std::tuple(0u, 1u, next.LastProject));
}

TEST_F(SettingsTest, AHiveThatIsAFolderCannotKeepTheSettingsAndSaysSo) {
    const std::filesystem::path file = dir_ / "registry.hive";
    std::filesystem::create_directory(file);
    RegistryHive hive(file);
    AppSettings s;
    ASSERT_TRUE(LoadSettings(s, hive, u"Brumo", u"Quorvella"));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(SaveSettings(s, hive));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "quorvella: cannot save settings to " + file.string() + ": not a regular file\n");
    EXPECT_TRUE(std::filesystem::is_directory(file));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 1);
}

}  // namespace
}  // namespace qv
