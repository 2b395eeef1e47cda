// Putting missing files into a folder.
#include "platform/files/missing_files.h"

#include <system_error>

#include "platform/files/atomic_file.h"

namespace qv {

bool WriteMissingFiles(const std::filesystem::path& dir, std::span<const FileContent> files) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) return false;
    bool ok = true;
    for (const FileContent& file : files) {
        const std::filesystem::path target = dir / file.name;
        // symlink_status: a dangling link still counts as the user's file
        auto status = std::filesystem::symlink_status(target, ec);
        if (ec && status.type() != std::filesystem::file_type::not_found) {
            ok = false;
            continue;
        }
        if (std::filesystem::exists(status)) continue;
        // Written under a temporary name of its own and renamed into place, so a failure
        // halfway never leaves a cut-off file that would then count as present, and two
        // starts never share a temporary. Temporaries of starts that crashed go first.
        AtomicFile writer(target);
        writer.RemoveStaleTemporaries();
        if (!writer.Replace(file.bytes)) ok = false;
    }
    return ok;
}

}  // namespace qv
