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
        return !refused.count(name) && RegistryHive::SetDwordValue(key, name, value);
    }
};

class SettingsTest : public ::testing::Test {
  protected:
    void Put(const std::u16string& keyPath, const std::u16string& name, uint32_t number) {
        auto key = hive_->CreateKey(keyPath);
        ASSERT_TRUE(key && hive_->SetDwordValue(*key, name, number));
    }
    // A text in the settings key.
    void Put(const std::u16string& name, const std::u16string& text) {
        auto key = hive_->CreateKey(kSettingsKey);
        ASSERT_TRUE(key && hive_->SetStringValue(*key, name, text));
    }
    AppSettings Load(RegistryHive* hive = nullptr) {
        AppSettings s;
        EXPECT_TRUE(LoadSettings(s, hive ? *hive : *hive_, u"Brumo", u"Quorvella"));
        return s;
    }
    std::optional<HiveValue> Stored(const std::u16string& keyPath, const std::u16string& name) {
        return test::FindValue(ListHive(file_), keyPath, name);
    }

    test::TempDir dir_;
    const std::filesystem::path file_ = dir_ / "registry.hive";
    std::unique_ptr<RefusingHive> hive_ = std::make_unique<RefusingHive>(file_);
};

// The keys are composed from the company and product texts; without them nothing is read or
// written. (The defaults of a new device, and that loading writes nothing, are in the first
// start scenario.)
TEST_F(SettingsTest, TheKeysComeFromTheCompanyAndProductTexts) {
    Put(u"Software\\Other\\Thing\\Settings", u"SortOrder", 0);
    AppSettings other;
    ASSERT_TRUE(LoadSettings(other, *hive_, u"Other", u"Thing"));
    EXPECT_EQ(other.SortOrder, 0u);
    EXPECT_EQ(Load().SortOrder, 2u);
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

// Only what is missing is written. (A new device's version is in the first start scenario.)
TEST_F(SettingsTest, AnOlderVersionRecordStays) {
    Put(kVersionKey, u"MajorVersion", 2);
    Put(kVersionKey, u"MinorVersion", 2);
    hive_->refused = {u"MajorVersion", u"MinorVersion"};
    AppSettings s = Load();
    EXPECT_TRUE(ProvisionVersion(s, *hive_, 1, 5));
    EXPECT_EQ(std::pair(s.MajorVersion, s.MinorVersion), std::pair(2u, 2u));
    EXPECT_EQ(Stored(kVersionKey, u"MinorVersion")->number, 2u);
}

TEST_F(SettingsTest, ValuesOutOfRangeOrMistypedAreIgnoredNotClamped) {
    Put(kVersionKey, u"MajorVersion", 3);
    Put(kVersionKey, u"MinorVersion", 99);
    Put(u"DateTypeView", u"1");
    for (auto [name, number] : {std::pair(u"Sort", 1u),
                                {u"SortOrder", 0xFFFFFFFFu},
                                {u"TimeTypeView", 0u},
                                {u"TimeTypeExport", 2u},
                                {u"ExportFileFolder", 2u},
                                {u"CatRecsApply", 1u},
                                {u"SortOrderPBalance", 2u}})
        Put(kSettingsKey, name, number);
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
    Put(u"LastProject", forty);
    EXPECT_EQ(Load().LastProject, forty);
    Put(u"LastProject", forty + u"q");
    EXPECT_FALSE(Load().LastProject);
    Put(u"LastProject", std::u16string{u'a', 0, u'b'});
    EXPECT_EQ(Load().LastProject, u"a");  // the text ends at its terminator
    Put(kSettingsKey, u"LastProject", 5);
    EXPECT_FALSE(Load().LastProject);
}

// (An empty one, after the last project was deleted, is walked by the project deletion
// scenario.) An absent name is refused and the current one stays.
TEST_F(SettingsTest, AnAbsentLastProjectLeavesTheStoredOneAlone) {
    Put(u"LastProject", u"Kept");
    AppSettings s = Load();
    s.LastProject.reset();
    EXPECT_TRUE(SaveSettings(s, *hive_));
    EXPECT_EQ(Stored(kSettingsKey, u"LastProject")->text, u"Kept");
    ASSERT_TRUE(SetLastProject(s, u""));
    EXPECT_FALSE(SetLastProject(s, std::nullopt));
    EXPECT_EQ(s.LastProject, u"");
}

// One refused write fails the save, and every other value is still written.
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
}

// Stops the exit's save at every byte it writes: each time the hive file holds the old
// settings, nothing is left beside it, and the failure is reported to the caller and on
// standard error. Past the last byte the new settings are kept, both keys with every value of
// its type: the whole block is one write.
TEST_F(SettingsTest, ASaveStoppedAtAnyPointKeepsTheOldSettingsAndSaysSo) {
    AppSettings old = Load();
    ASSERT_TRUE(SetLastProject(old, u"Old"));
    ASSERT_TRUE(SaveSettings(old, *hive_));
    const std::string oldBytes = test::ReadBytes(file_);
    AppSettings next = old;
    std::tie(next.SortOrder, next.CatRecsApply, next.DateTypeView, next.ExportFileFolder) =
        std::tuple(0u, 1u, 3u, 0u);
    ASSERT_TRUE(SetLastProject(next, u"A new \"project\" \\ \u00e9t\u00e9 with a longer name"));
    const std::string failure =
        "quorvella: cannot save settings to " + file_.string() + ": No space left on device\n";

    uint64_t stop = 0;
    for (;; ++stop) {
        SCOPED_TRACE(stop);
        RegistryHive hive(file_);
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
        ASSERT_EQ(test::ReadBytes(file_), oldBytes);
    }
    EXPECT_EQ(stop, test::ReadBytes(file_).size());
    size_t count = 0;
    for (const auto& key : ListHive(file_))
        if (key.path == kSettingsKey) count = key.values.size();
    EXPECT_EQ(count, 16u);
    RegistryHive reread(file_);
    const AppSettings back = Load(&reread);
    EXPECT_EQ(std::tuple(back.SortOrder, back.CatRecsApply, back.DateTypeView,
                         back.ExportFileFolder, back.LastProject),
              std::tuple(0u, 1u, 3u, 0u, next.LastProject));
}

}  // namespace
}  // namespace qv
