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
            while (i < line.size() && line[i] != ' ' && line[i] != '\t')
                t.text.push_back(line[i++]);
        }
        tokens.push_back(std::move(t));
    }
    return tokens;
}

std::optional<int> ParseNumber(const std::string& text) {
    if (text.empty() || text[0] < '0' || text[0] > '9') return std::nullopt;
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

namespace {
std::optional<int> Digits(const std::string& text, size_t at, size_t count) {
    if (at + count > text.size()) return std::nullopt;
    for (size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
    }
    return ParseNumber(text.substr(at, count));
}

int DaysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}
}  // namespace

std::optional<CalendarDate> ParseDate(const std::string& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    auto y = Digits(text, 0, 4), m = Digits(text, 5, 2), d = Digits(text, 8, 2);
    if (!y || !m || !d || *y < 1601 || *m < 1 || *m > 12 || *d < 1 || *d > DaysInMonth(*y, *m)) {
        return std::nullopt;
    }
    return MakeDate(static_cast<uint16_t>(*y), static_cast<uint16_t>(*m),
                    static_cast<uint16_t>(*d));
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
