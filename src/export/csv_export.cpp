// The three CSV writers: one file routine fed by three text builders.
#include "export/csv_export.h"

#include <functional>

#include "export/csv_lines.h"
#include "platform/text/unicode_text.h"

namespace qv {

namespace {

// The text is written in blocks of this many code units, so the largest export is about a
// dozen writes rather than one per line.
constexpr size_t kBlockUnits = 256 * 1024;

std::u16string FolderText(uint32_t folder) {
    return folder == ExportBusiness ? u"\\My Documents\\Business" : u"\\My Documents\\Personal";
}

ExportResult Failed(ExportFault fault, const std::u16string& file) {
    return {false, fault, file};
}

// The folder must be there as a folder; the replace question for a file already at the path.
// The created file, or the invalid handle with the failure in `result` (none when the user
// declined). A file already there is replaced only when the new one is complete, so it is kept
// whatever fails.
FileHandle OpenExportFile(ExportContext& ctx, const std::u16string& path, uint32_t folder,
                          ExportResult& result) {
    const std::u16string folderPath = FolderText(folder);
    if (ctx.files.FindFirstFile(folderPath) != FILE_ATTRIBUTE_DIRECTORY) {
        result = Failed(folder == ExportBusiness ? ExportFault::NoBusinessFolder
                                                 : ExportFault::NoPersonalFolder,
                        folderPath);
        return kInvalidFileHandle;
    }
    if (ctx.files.FindFirstFile(path).has_value() && !(ctx.replace && ctx.replace(path))) {
        result = Failed(ExportFault::None, path);
        return kInvalidFileHandle;
    }
    FileHandle file = ctx.files.CreateFile(path);
    if (file == kInvalidFileHandle) result = Failed(ExportFault::CannotCreate, path);
    return file;
}

bool WriteBlock(ExportContext& ctx, FileHandle file, std::u16string_view block, uint32_t encoding) {
    if (encoding == ExportUnicode) {
        std::string bytes(block.size() * 2, '\0');
        for (size_t i = 0; i < block.size(); ++i) {
            bytes[2 * i] = static_cast<char>(block[i] & 0xFF);
            bytes[2 * i + 1] = static_cast<char>(block[i] >> 8);
        }
        return ctx.files.WriteFile(file, bytes.data(), bytes.size());
    }
    // One byte per code unit, so a block converts exactly as the whole text would.
    std::string bytes = ToAnsiCodePage(block);
    return ctx.files.WriteFile(file, bytes.data(), bytes.size());
}

// Writes the text and closes the file, flushed to disk and put in place. After a failed write
// closing only removes the new file, so no partial file is ever left behind.
ExportResult WriteAndClose(ExportContext& ctx, FileHandle file, const std::u16string& path,
                           std::u16string_view text, uint32_t encoding) {
    bool written = true;
    for (size_t at = 0; written && at < text.size(); at += kBlockUnits) {
        written = WriteBlock(ctx, file, text.substr(at, kBlockUnits), encoding);
    }
    const bool closed = ctx.files.CloseHandle(file);
    if (written && closed) return {true, ExportFault::None, path};
    return Failed(ExportFault::WriteFailed, path);
}

// The steps every writer shares; the text is built once the file is open.
ExportResult WriteCsvFile(ExportContext& ctx, const Text& name, uint32_t encoding, uint32_t folder,
                          const std::function<std::u16string()>& buildText) {
    Text path = ExportPath(name, folder);
    if (!path) return {};
    ExportResult result;
    FileHandle file = OpenExportFile(ctx, *path, folder, result);
    if (file == kInvalidFileHandle) return result;
    return WriteAndClose(ctx, file, *path, buildText(), encoding);
}

}  // namespace

bool ExportNameFits(std::u16string_view name) {
    constexpr size_t kExtensionBytes = 4;  // ".csv"
    return ToUtf8(name).size() + kExtensionBytes <= kMaxFileNameBytes;
}

Text ExportPath(const Text& name, uint32_t folder) {
    if (!name || name->empty() || !ExportNameFits(*name)) return std::nullopt;
    // The dialogs only let letters, digits and blanks through; this keeps the writer inside
    // its folder whoever calls it.
    if (name->find_first_of(u"\\/") != std::u16string::npos ||
        name->find(u"..") != std::u16string::npos) {
        return std::nullopt;
    }
    return FolderText(folder) + u"\\" + *name + u".csv";
}

ExportResult ExportTimeRecords(ExportContext& ctx, TimeRecordList& records, const Text& name,
                               uint32_t timeType, uint32_t encoding, uint32_t folder) {
    return WriteCsvFile(ctx, name, encoding, folder, [&] {
        return TimeRecordsCsv(records, timeType, ctx.dateTypeView, ctx.timeTypeView);
    });
}

ExportResult ExportCategoryReport(ExportContext& ctx, CategoryList& categories, const Text& name,
                                  uint32_t timeType, uint32_t encoding, uint32_t folder) {
    if (categories.First() == nullptr) return {};
    return WriteCsvFile(ctx, name, encoding, folder,
                        [&] { return CategoryReportCsv(categories, timeType, ctx.timeTypeView); });
}

ExportResult ExportProjectsBalance(ExportContext& ctx, ProjectList& projects, const Text& name,
                                   uint32_t timeType, uint32_t encoding, uint32_t folder) {
    if (projects.First() == nullptr) return {};
    return WriteCsvFile(ctx, name, encoding, folder,
                        [&] { return ProjectsBalanceCsv(projects, timeType, ctx.timeTypeView); });
}

}  // namespace qv
