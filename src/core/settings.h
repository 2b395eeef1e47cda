// The settings block: the user's choices that outlive a run, kept in the registry.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/registry_access.h"
#include "core/text.h"

namespace qv {

// Field names are the registry value names. Every number is accepted on load only within the
// range noted beside it; anything else leaves the default.
struct AppSettings {
    Text companyText;                    // "Brumo"
    Text productText;                    // "Quorvella"
    uint32_t MinorVersion = 0;           // 0..99
    uint32_t MajorVersion = 0;           // 0..2
    uint32_t Sort = 0;                   // 0 only: the main list sorts by date
    uint32_t SortOrder = 2;              // 0..2: ascending, descending, none chosen yet
    uint32_t SortRapport = 0;            // 0..1
    uint32_t SortOrderRapport = 0;       // 0..2
    uint32_t SortProjectsBook = 0;       // 0..1
    uint32_t SortOrderProjectsBook = 0;  // 0..2
    uint32_t SortPBalance = 0;           // 0..1
    uint32_t SortOrderPBalance = 0;      // 0..2
    uint32_t DateTypeView = 0;           // 0..3
    uint32_t TimeTypeView = 1;           // 0..1
    uint32_t DateTypeExport = 0;         // 0..3, kept but read by nothing
    uint32_t TimeTypeExport = 1;         // 0..2
    uint32_t ExportFileType = 0;         // 0..1: ASCII, UNICODE
    uint32_t ExportFileFolder = 1;       // 0..1: Business, Personal
    uint32_t CatRecsApply = 0;           // 0..1
    Text LastProject;                    // at most 40 characters
};

// The longest LastProject read back: the value is read into 82 bytes, 40 characters and the
// terminator.
constexpr size_t kLastProjectMaxChars = 40;

// Fills the block from Software\<company>\<product> and its Settings subkey. Fails, leaving
// the defaults, when the company or product text is absent or empty; missing keys and values
// are no failure.
bool LoadSettings(AppSettings& settings, RegistryAccess& registry, const Text& company,
                  const Text& product);

// What an installation leaves behind: MajorVersion and MinorVersion under the loaded block's
// Software\<company>\<product>, each written only where the key lacks it (and then taken into
// the block), in one group of changes. True when nothing was missing or all of it was written.
bool ProvisionVersion(AppSettings& settings, RegistryAccess& registry, uint32_t major,
                      uint32_t minor);

// Writes every value back, creating the keys when needed, as one group of registry changes.
// Every write is tried; true only when all of them succeeded and the group was kept. When the
// group cannot be kept the registry keeps what it held before. LastProject is written only
// when present and not empty.
bool SaveSettings(const AppSettings& settings, RegistryAccess& registry);

// Replaces LastProject with a copy of name; an absent name fails and changes nothing.
bool SetLastProject(AppSettings& settings, const Text& name);

// Drops the owned texts at exit.
void ReleaseSettings(AppSettings& settings);

}  // namespace qv
