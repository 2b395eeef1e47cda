// The three CSV writers: time records, the category report and the projects balance.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/category.h"
#include "core/project.h"
#include "core/text.h"
#include "core/time_record.h"
#include "platform/files/device_files.h"

namespace qv {

enum ExportEncoding : uint32_t {
    ExportAscii = 0,    // Windows-1252, one byte per UTF-16 code unit
    ExportUnicode = 1,  // UTF-16 little-endian, no byte-order mark
};

enum ExportFolder : uint32_t {
    ExportBusiness = 0,  // \My Documents\Business
    ExportPersonal = 1,  // \My Documents\Personal
};

// Asked when a file is already at the path: true replaces it.
using ReplaceQuestion = std::function<bool(const std::u16string& path)>;

// What every writer needs besides its list: the file calls, the replace question, and the two
// display settings the files follow (DateTypeView for dates, TimeTypeView for the separator).
struct ExportContext {
    DeviceFiles& files;
    ReplaceQuestion replace;
    uint32_t dateTypeView = 0;
    uint32_t timeTypeView = 0;
};

enum class ExportFault : uint8_t {
    None,              // written, or given up without a word (no name, no lines, not replaced)
    NoBusinessFolder,  // the folder is not there
    NoPersonalFolder,
    CannotCreate,  // the file could not be made
    WriteFailed,   // the file could not be written whole; nothing is left of it
};

// What a writer reports: whether the whole file is on disk, else what the user is to be told
// and the file (or missing folder) it was about.
struct [[nodiscard]] ExportResult {
    bool written = false;
    ExportFault fault = ExportFault::None;
    std::u16string file;
    explicit operator bool() const { return written; }
};

// Whether the file name of an export, name + ".csv", fits in a folder: at most
// kMaxFileNameBytes bytes of UTF-8.
bool ExportNameFits(std::u16string_view name);

// The device path of an export: folder + "\" + name + ".csv"; none for an absent or empty
// name, one that could leave its folder (a backslash, a slash or ".."), or one too long.
Text ExportPath(const Text& name, uint32_t folder);

// Each writer is called with the wait cursor showing and reports written only when the whole
// file is on disk. The lists are walked with First/Next, which moves their cursors.
//
// An empty record list writes the header alone and succeeds.
ExportResult ExportTimeRecords(ExportContext& ctx, TimeRecordList& records, const Text& name,
                               uint32_t timeType, uint32_t encoding, uint32_t folder);
// An empty list fails without a fault to tell.
ExportResult ExportCategoryReport(ExportContext& ctx, CategoryList& categories, const Text& name,
                                  uint32_t timeType, uint32_t encoding, uint32_t folder);
ExportResult ExportProjectsBalance(ExportContext& ctx, ProjectList& projects, const Text& name,
                                   uint32_t timeType, uint32_t encoding, uint32_t folder);

}  // namespace qv
