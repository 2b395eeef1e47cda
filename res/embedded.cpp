// Looking up the built-in files and putting the help files into the Windows folder.
#include "res/embedded.h"

#include <string_view>
#include <system_error>

#include "platform/files/atomic_file.h"

namespace qv {

// The table is generated from the files under res/ when the program is built.
extern const EmbeddedFile kEmbeddedFiles[];
extern const std::size_t kEmbeddedFileCount;

const EmbeddedFile* FindEmbedded(std::string_view name) {
    for (std::size_t i = 0; i < kEmbeddedFileCount; ++i) {
        if (name == kEmbeddedFiles[i].name) return &kEmbeddedFiles[i];
    }
    return nullptr;
}

namespace {

// Written under a temporary name of its own and renamed into place, so a failure halfway never
// leaves a cut-off help page that would then count as present, and two starts never share a
// temporary. Temporaries of starts that crashed are removed first.
bool WriteWhole(const std::filesystem::path& target, const EmbeddedFile& file) {
    AtomicFile writer(target);
    writer.RemoveStaleTemporaries();
    return writer.Replace(std::string_view(reinterpret_cast<const char*>(file.data), file.size));
}

}  // namespace

bool ProvisionHelpFiles(const std::filesystem::path& windowsDir) {
    std::error_code ec;
    std::filesystem::create_directories(windowsDir, ec);
    if (ec) return false;
    bool ok = true;
    for (const char* name : {"enquorvella.htm", "enquorvella.htc"}) {
        const std::filesystem::path target = windowsDir / name;
        // symlink_status: a dangling link still counts as the user's file
        auto status = std::filesystem::symlink_status(target, ec);
        if (ec && status.type() != std::filesystem::file_type::not_found) {
            ok = false;
            continue;
        }
        if (std::filesystem::exists(status)) continue;
        const EmbeddedFile* file = FindEmbedded(name);
        if (file == nullptr || !WriteWhole(target, *file)) ok = false;
    }
    return ok;
}

}  // namespace qv
