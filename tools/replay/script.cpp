// Tokens, dates and numbers of replay scripts.
#include "tools/replay/script.h"

#include <charconv>

namespace qv::replay {

std::optional<std::vector<Token>> Tokenize(const std::string& line) {
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
            continue;
        }
        Token t;
        if (line[i] == '"') {
            t.quoted = true;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\')) {
                    c = line[i++];
                }
                t.text.push_back(c);
            }
            if (!closed) return std::nullopt;
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t') t.text.push_back(line[i++]);
        }
        tokens.push_back(std::move(t));
    }
    return tokens;
}

std::optional<int> ParseNumber(const std::string& text) {
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

namespace {
std::optional<int> Digits(const std::string& text, size_t at, size_t count) {
    if (at + count > text.size()) return std::nullopt;
    return ParseNumber(text.substr(at, count));
}
}  // namespace

std::optional<CalendarDate> ParseDate(const std::string& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    auto y = Digits(text, 0, 4), m = Digits(text, 5, 2), d = Digits(text, 8, 2);
    if (!y || !m || !d || *m < 1 || *m > 12 || *d < 1 || *d > 31 || *y < 1601) return std::nullopt;
    return MakeDate(static_cast<uint16_t>(*y), static_cast<uint16_t>(*m), static_cast<uint16_t>(*d));
}

bool ParseTime(const std::string& text, CalendarDate& date) {
    if (text.size() != 8 || text[2] != ':' || text[5] != ':') return false;
    auto h = Digits(text, 0, 2), m = Digits(text, 3, 2), s = Digits(text, 6, 2);
    if (!h || !m || !s || *h > 23 || *m > 59 || *s > 59) return false;
    date.hour = static_cast<uint16_t>(*h);
    date.minute = static_cast<uint16_t>(*m);
    date.second = static_cast<uint16_t>(*s);
    return true;
}

}  // namespace qv::replay
