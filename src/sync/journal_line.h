// One line of a journal: one change, with the computer that made it, its serial number, its
// Lamport clock, when it was written, and a checksum over the rest of the line.
//
//   Q1 <tab> computer <tab> serial <tab> clock <tab> seconds <tab> kind <tab> key
//      [<tab> field]... <tab> crc32
//
// Texts (key and fields) are UTF-8 with backslash, tab, line feed and carriage return escaped
// as \\ \t \n \r. The checksum is the CRC-32 (zlib's) of every byte before the tab that
// precedes it, as 8 lower-case hex digits.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv::sync {

enum class Kind : uint8_t {
    RecordPut,       // R+  key "<origin computer>:<origin serial>"; date, minutes, project,
                     //     category, memo
    RecordDeleted,   // R-
    ProjectPut,      // P+  key name; created, description
    ProjectDeleted,  // P-
    CategoryPut,     // C+  key name
    CategoryDeleted  // C-
};

// How many content fields follow the key.
size_t FieldCount(Kind kind);
bool IsPut(Kind kind);

struct Change {
    std::string computer;  // 32 lower-case hex digits
    uint64_t serial = 0;
    uint64_t clock = 0;
    int64_t written = 0;  // seconds since 1970, UTC
    Kind kind = Kind::RecordPut;
    std::string key;                  // unescaped
    std::vector<std::string> fields;  // unescaped, FieldCount(kind) of them
    friend bool operator==(const Change&, const Change&) = default;
};

uint32_t Crc32(std::string_view bytes);
std::string Escape(std::string_view text);
// False for a backslash that starts no known escape.
bool Unescape(std::string_view text, std::string& out);
bool IsComputerId(std::string_view text);

// The whole line, ending with a line feed.
std::string EncodeLine(const Change& change);

enum class LineStatus {
    Complete,  // decoded
    Damaged,   // fails its checksum or its form
};
// A line without its line feed.
LineStatus DecodeLine(std::string_view line, Change& change);

}  // namespace qv::sync
