// Export File Options: template 1070 exports the time records, 1091 a report. Both have the
// same controls, numbered from their own first identifier.
#pragma once

namespace qv {

constexpr int kExportRecordsTemplate = 1070;
constexpr int kExportReportTemplate = 1091;

// The first control of each template; the others follow at the offsets below.
constexpr int kExportRecordsFirst = 1071;
constexpr int kExportReportFirst = 1092;

enum ExportControlOffset : int {
    kExportFileFrame = 0,
    kExportNameLabel = 1,
    kExportName = 2,
    kExportTimeTypeLabel = 3,
    kExportTimeType = 4,
    kExportEncodingFrame = 5,
    kExportAscii = 6,
    kExportUnicode = 7,
    kExportFolderFrame = 8,
    kExportBusiness = 9,
    kExportPersonal = 10,
    kExportCancel = 11,  // also the result of a cancelled export
    kExportOk = 12,
};

// A control of the template whose first identifier is first.
constexpr int ExportControl(int first, ExportControlOffset offset) {
    return first + offset;
}

}  // namespace qv
