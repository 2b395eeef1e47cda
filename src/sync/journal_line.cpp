// Encoding and decoding of journal lines.
#include "sync/journal_line.h"

#include <array>
#include <charconv>

namespace qv::sync {
namespace {

constexpr std::string_view kVersion = "Q1";
constexpr std::array<std::string_view, 6> kKindNames = {"R+", "R-", "P+", "P-", "C+", "C-"};

std::array<uint32_t, 256> MakeCrcTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

// A serial or clock never comes near this (a change a microsecond for 285 years); one beyond
// it is damage, and would wrap the clock of every change made after it.
constexpr uint64_t kMostCount = uint64_t{1} << 53;
// The last second of the year 9999.
constexpr int64_t kLatestWritten = 253402300799;

template <class T>
bool ParseNumber(std::string_view text, T& value, T least, T most) {
    if (text.empty() || text.size() > 20) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value >= least && value <= most;
}

void AppendHex(std::string& out, uint32_t value) {
    static constexpr char kDigits[] = "0123456789abcdef";
    for (int shift = 28; shift >= 0; shift -= 4) out.push_back(kDigits[(value >> shift) & 0xF]);
}

}  // namespace

size_t FieldCount(Kind kind) {
    switch (kind) {
        case Kind::RecordPut:
            return 5;
        case Kind::ProjectPut:
            return 2;
        default:
            return 0;
    }
}

bool IsPut(Kind kind) {
    return kind == Kind::RecordPut || kind == Kind::ProjectPut || kind == Kind::CategoryPut;
}

uint32_t Crc32(std::string_view bytes) {
    static const std::array<uint32_t, 256> table = MakeCrcTable();
    uint32_t c = 0xFFFFFFFFu;
    for (char b : bytes) c = table[(c ^ static_cast<uint8_t>(b)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::string Escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out.push_back(c);
        }
    }
    return out;
}

bool Unescape(std::string_view text, std::string& out) {
    out.clear();
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out.push_back(text[i]);
            continue;
        }
        if (++i == text.size()) return false;
        switch (text[i]) {
            case '\\':
                out.push_back('\\');
                break;
            case 't':
                out.push_back('\t');
                break;
            case 'n':
                out.push_back('\n');
                break;
            case 'r':
                out.push_back('\r');
                break;
            default:
                return false;
        }
    }
    return true;
}

bool IsComputerId(std::string_view text) {
    if (text.size() != 32) return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

std::string EncodeLine(const Change& change) {
    std::string line;
    line.reserve(96 + change.key.size());
    line += kVersion;
    line += '\t';
    line += change.computer;
    line += '\t';
    line += std::to_string(change.serial);
    line += '\t';
    line += std::to_string(change.clock);
    line += '\t';
    line += std::to_string(change.written);
    line += '\t';
    line += kKindNames[static_cast<size_t>(change.kind)];
    line += '\t';
    line += Escape(change.key);
    for (const std::string& field : change.fields) {
        line += '\t';
        line += Escape(field);
    }
    const uint32_t crc = Crc32(line);
    line += '\t';
    AppendHex(line, crc);
    line += '\n';
    return line;
}

LineStatus DecodeLine(std::string_view line, Change& change) {
    const size_t lastTab = line.rfind('\t');
    if (lastTab == std::string_view::npos || line.size() - lastTab - 1 != 8)
        return LineStatus::Damaged;
    const std::string_view body = line.substr(0, lastTab);
    std::string expected;
    AppendHex(expected, Crc32(body));
    if (line.substr(lastTab + 1) != expected) return LineStatus::Damaged;

    std::vector<std::string_view> parts;
    for (size_t from = 0;;) {
        const size_t tab = body.find('\t', from);
        parts.push_back(body.substr(from, tab == std::string_view::npos ? tab : tab - from));
        if (tab == std::string_view::npos) break;
        from = tab + 1;
    }
    if (parts.size() < 7 || parts[0] != kVersion || !IsComputerId(parts[1]))
        return LineStatus::Damaged;
    size_t kind = 0;
    while (kind < kKindNames.size() && kKindNames[kind] != parts[5]) ++kind;
    if (kind == kKindNames.size()) return LineStatus::Damaged;
    change.kind = static_cast<Kind>(kind);
    if (parts.size() != 7 + FieldCount(change.kind)) return LineStatus::Damaged;
    change.computer.assign(parts[1]);
    if (!ParseNumber(parts[2], change.serial, uint64_t{1}, kMostCount) ||
        !ParseNumber(parts[3], change.clock, uint64_t{0}, kMostCount) ||
        !ParseNumber(parts[4], change.written, int64_t{0}, kLatestWritten) ||
        !Unescape(parts[6], change.key))
        return LineStatus::Damaged;
    change.fields.resize(FieldCount(change.kind));
    for (size_t i = 0; i < change.fields.size(); ++i)
        if (!Unescape(parts[7 + i], change.fields[i])) return LineStatus::Damaged;
    return LineStatus::Complete;
}

}  // namespace qv::sync
