// Export File Options: the one dialog behind the three CSV exports -- the current project's
// time records (template 1070), the category report and the projects balance (both 1091).
#pragma once

#include <cstdint>

#include "core/app_state.h"
#include "dialogs/export_options.h"
#include "platform/files/device_files.h"
#include "platform/ui/dialog.h"
#include "platform/ui/ui_host.h"

namespace qv {

enum class ExportVariant { TimeRecords, CategoryReport, ProjectsBalance };

// The time-type list's entries, in the order of their ExportTimeType values.
constexpr int kExportTimeTypeCount = 3;

// The name field takes at most this many characters.
constexpr int kExportNameChars = 128;

// The dialog's result after a file was written; a cancelled dialog ends with its Cancel button.
constexpr int kExportDone = 1;

enum ExportDialogString : uint32_t {
    kStrExportNameRefused = 40073,
};

struct ExportDialogContext {
    UiHost& host;
    AppState& state;
    DeviceFiles& files;
    Dialog*& activeEntryDialog;
};

// Runs the variant's dialog modally. It presets the name the variant last accepted and the
// shared export settings; OK stores the settings whatever follows, then writes the file. Ends
// with kExportDone after a written file, or with the Cancel button's identifier.
int ShowExportDialog(ExportDialogContext& ctx, ExportVariant variant);

}  // namespace qv
