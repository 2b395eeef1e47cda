// The three CSV writers: time records, the category report and the projects balance.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/category.h"
#include "core/project.h"
#include "core/text.h"
#include "core/time_record.h"
#include "platform/files/device_files.h"
#include "platform/ui/shell.h"

namespace qv {

enum ExportEncoding : uint32_t {
    ExportAscii = 0,    // Windows-1252, one byte per UTF-16 code unit
    ExportUnicode = 1,  // UTF-16 little-endian, no byte-order mark
};

enum ExportFolder : uint32_t {
    ExportBusiness = 0,  // \My Documents\Business
    ExportPersonal = 1,  // \My Documents\Personal
};

// What every writer needs besides its list: the file calls, the message boxes, and the two
// display settings the files follow (DateTypeView for dates, TimeTypeView for the separator).
struct ExportContext {
    DeviceFiles& files;
    Shell& shell;
    uint32_t dateTypeView = 0;
    uint32_t timeTypeView = 0;
};

// Whether the file name of an export, name + ".csv", fits in a folder: at most
// kMaxFileNameBytes bytes of UTF-8.
bool ExportNameFits(std::u16string_view name);

// The device path of an export: folder + "\" + name + ".csv"; none for an absent or empty
// name, one that could leave its folder (a backslash, a slash or ".."), or one too long.
Text ExportPath(const Text& name, uint32_t folder);

// Each writer is called with the wait cursor showing, tells the user about every failure that
// needs telling, and returns true only when the whole file is on disk. The lists are walked
// with First/Next, which moves their cursors.
//
// An empty record list writes the header alone and succeeds.
bool ExportTimeRecords(ExportContext& ctx, TimeRecordList& records, const Text& name,
                       uint32_t timeType, uint32_t encoding, uint32_t folder);
// An empty list fails without a message.
bool ExportCategoryReport(ExportContext& ctx, CategoryList& categories, const Text& name,
                          uint32_t timeType, uint32_t encoding, uint32_t folder);
bool ExportProjectsBalance(ExportContext& ctx, ProjectList& projects, const Text& name,
                           uint32_t timeType, uint32_t encoding, uint32_t folder);

}  // namespace qv
