// Files a new device comes with, put back where they are missing.
#pragma once

#include <filesystem>
#include <span>
#include <string_view>

namespace qv {

struct FileContent {
    std::string_view name;
    std::string_view bytes;
};

// Writes each file into `dir` (made when missing) that is not there yet. Files already present,
// also as a dangling link, are left alone. False when a file could not be written.
bool WriteMissingFiles(const std::filesystem::path& dir, std::span<const FileContent> files);

}  // namespace qv
