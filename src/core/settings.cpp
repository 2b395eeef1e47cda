// Loading and saving the settings block through the registry.
#include "core/settings.h"

#include <iterator>

namespace qv {

namespace {

struct NumberSetting {
    const char16_t* name;
    uint32_t AppSettings::*field;
    uint32_t maximum;  // accepted on load: 0..maximum
};

constexpr NumberSetting kVersionValues[] = {
    {u"MajorVersion", &AppSettings::MajorVersion, 2},
    {u"MinorVersion", &AppSettings::MinorVersion, 99},
};

// In the order they are read and written.
constexpr NumberSetting kSettingsValues[] = {
    {u"Sort", &AppSettings::Sort, 0},
    {u"SortOrder", &AppSettings::SortOrder, 2},
    {u"SortRapport", &AppSettings::SortRapport, 1},
    {u"SortOrderRapport", &AppSettings::SortOrderRapport, 2},
    {u"SortProjectsBook", &AppSettings::SortProjectsBook, 1},
    {u"SortOrderProjectsBook", &AppSettings::SortOrderProjectsBook, 2},
    {u"SortPBalance", &AppSettings::SortPBalance, 1},
    {u"SortOrderPBalance", &AppSettings::SortOrderPBalance, 2},
    {u"DateTypeView", &AppSettings::DateTypeView, 3},
    {u"TimeTypeView", &AppSettings::TimeTypeView, 1},
    {u"DateTypeExport", &AppSettings::DateTypeExport, 3},
    {u"TimeTypeExport", &AppSettings::TimeTypeExport, 2},
    {u"ExportFileType", &AppSettings::ExportFileType, 1},
    {u"ExportFileFolder", &AppSettings::ExportFileFolder, 1},
    {u"CatRecsApply", &AppSettings::CatRecsApply, 1},
};

constexpr char16_t kLastProject[] = u"LastProject";
constexpr uint32_t kLastProjectBufferBytes = (kLastProjectMaxChars + 1) * 2;

bool HasText(const Text& text) {
    return text.has_value() && !text->empty();
}

std::u16string VersionKeyPath(const AppSettings& s) {
    return u"Software\\" + *s.companyText + u"\\" + *s.productText;
}

std::u16string SettingsKeyPath(const AppSettings& s) {
    return VersionKeyPath(s) + u"\\Settings";
}

// A number counts only when it is stored as REG_DWORD and lies in its range; an
// out-of-range number is ignored, not clamped.
void ReadNumber(AppSettings& s, RegistryAccess& registry, RegistryKey key,
                const NumberSetting& setting) {
    auto value = registry.QueryValue(key, setting.name, 4);
    if (!value || value->type != REG_DWORD || value->data.size() != 4) return;
    uint32_t number = 0;
    for (int i = 3; i >= 0; --i) number = (number << 8) | value->data[static_cast<size_t>(i)];
    if (number <= setting.maximum) s.*setting.field = number;
}

void ReadLastProject(AppSettings& s, RegistryAccess& registry, RegistryKey key) {
    auto value = registry.QueryValue(key, kLastProject, kLastProjectBufferBytes);
    if (!value || value->type != REG_SZ) return;
    // The text ends at its first zero; one that fills the whole buffer without a terminator
    // is not taken either.
    std::u16string text;
    for (size_t i = 0; i + 1 < value->data.size(); i += 2) {
        char16_t unit = static_cast<char16_t>(value->data[i] | (value->data[i + 1] << 8));
        if (unit == 0) {
            s.LastProject = std::move(text);
            return;
        }
        text += unit;
    }
    if (text.size() <= kLastProjectMaxChars) s.LastProject = std::move(text);
}

// Opens the key, or creates it when it does not open.
std::optional<RegistryKey> OpenOrCreate(RegistryAccess& registry, const std::u16string& path) {
    if (auto key = registry.OpenKey(path)) return key;
    return registry.CreateKey(path);
}

}  // namespace

bool LoadSettings(AppSettings& settings, RegistryAccess& registry, const Text& company,
                  const Text& product) {
    if (HasText(company)) settings.companyText = company;
    if (HasText(product)) settings.productText = product;
    if (!HasText(settings.companyText) || !HasText(settings.productText)) return false;

    if (auto key = registry.OpenKey(VersionKeyPath(settings))) {
        for (const auto& setting : kVersionValues) ReadNumber(settings, registry, *key, setting);
        registry.CloseKey(*key);
    }
    if (auto key = registry.OpenKey(SettingsKeyPath(settings))) {
        for (const auto& setting : kSettingsValues) ReadNumber(settings, registry, *key, setting);
        ReadLastProject(settings, registry, *key);
        registry.CloseKey(*key);
    }
    return true;
}

bool ProvisionVersion(AppSettings& settings, RegistryAccess& registry, uint32_t major,
                      uint32_t minor) {
    if (!HasText(settings.companyText) || !HasText(settings.productText)) return false;
    const uint32_t versions[] = {major, minor};
    // A group that changes nothing writes nothing.
    registry.BeginChanges();
    bool ok = false;
    if (auto key = OpenOrCreate(registry, VersionKeyPath(settings))) {
        ok = true;
        for (size_t i = 0; i < std::size(kVersionValues); ++i) {
            const NumberSetting& setting = kVersionValues[i];
            if (registry.QueryValue(*key, setting.name, 4)) continue;
            if (registry.SetDwordValue(*key, setting.name, versions[i])) {
                settings.*setting.field = versions[i];
            } else {
                ok = false;
            }
        }
        registry.CloseKey(*key);
    }
    return registry.CommitChanges() && ok;
}

bool SaveSettings(const AppSettings& settings, RegistryAccess& registry) {
    if (!HasText(settings.companyText) || !HasText(settings.productText)) return false;

    // One write of the registry for the whole block, not one per value.
    registry.BeginChanges();
    bool ok = true;
    if (auto key = OpenOrCreate(registry, VersionKeyPath(settings))) {
        for (const auto& setting : kVersionValues) {
            ok = registry.SetDwordValue(*key, setting.name, settings.*setting.field) && ok;
        }
        registry.CloseKey(*key);
    } else {
        ok = false;
    }
    if (auto key = OpenOrCreate(registry, SettingsKeyPath(settings))) {
        for (const auto& setting : kSettingsValues) {
            ok = registry.SetDwordValue(*key, setting.name, settings.*setting.field) && ok;
        }
        if (HasText(settings.LastProject)) {
            ok = registry.SetStringValue(*key, kLastProject, *settings.LastProject) && ok;
        }
        registry.CloseKey(*key);
    } else {
        ok = false;
    }
    return registry.CommitChanges() && ok;
}

bool SetLastProject(AppSettings& settings, const Text& name) {
    if (!name) return false;
    settings.LastProject = name;
    return true;
}

void ReleaseSettings(AppSettings& settings) {
    settings.companyText.reset();
    settings.productText.reset();
    settings.LastProject.reset();
}

}  // namespace qv
