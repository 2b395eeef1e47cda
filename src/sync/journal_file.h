// A journal file in the shared folder: appended to only by its own computer, read by the others
// from where they stopped.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::sync {

// <folder>/quorvella-<computer>.journal
std::filesystem::path JournalPath(const std::filesystem::path& folder, std::string_view computer);
// The computer of a journal's file name; empty for any other file.
std::string JournalComputer(const std::filesystem::path& file);
// The computers whose journals are in the folder, each once, ascending.
std::vector<std::string> JournalsIn(const std::filesystem::path& folder);

// The file's size; none when it is absent or cannot be looked at.
std::optional<uint64_t> FileSize(const std::filesystem::path& file);

// The bytes from `offset` to the end as the file is now, at most `most` of them (empty when it
// ends there). False when the file cannot be read.
bool ReadFrom(const std::filesystem::path& file, uint64_t offset, std::string& bytes,
              uint64_t most = UINT64_MAX);

// This computer's own journal: made when absent, its last line checked, and a torn or damaged
// tail (what a crash mid-append leaves) cut off. `lastSerial` is the serial of its last whole
// line (0 for an empty journal). False when the file cannot be made, read or cut.
bool OpenOwnJournal(const std::filesystem::path& file, std::string_view computer,
                    uint64_t& lastSerial);

// Appends the bytes and waits until they are on the disk. False when any of it fails.
bool AppendDurably(const std::filesystem::path& file, std::string_view bytes);

}  // namespace qv::sync
