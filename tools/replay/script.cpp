// Tokens, dates and numbers of replay scripts.
#include "tools/replay/script.h"

#include <algorithm>
#include <charconv>
#include <iterator>

#include "app/project_bar.h"
#include "core/text.h"
#include "tools/replay/names.h"

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

uint16_t DayOfWeek(const CalendarDate& d) {
    static const int kOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    int y = d.year - (d.month < 3 ? 1 : 0);
    return static_cast<uint16_t>((y + y / 4 - y / 100 + y / 400 + kOffsets[d.month - 1] + d.day) %
                                 7);
}

std::optional<UserAction> ParseWindowAction(const std::vector<Token>& t) {
    using A = UserAction;
    const size_t n = t.size();
    if (n == 0 || t[0].quoted) return std::nullopt;
    const std::string& word = t[0].text;
    auto bare = [&](size_t i, const char* text) { return !t[i].quoted && t[i].text == text; };
    auto number = [&](size_t i) { return t[i].quoted ? std::nullopt : ParseNumber(t[i].text); };
    auto named = [&](size_t i) {
        if (t[i].quoted) return std::optional<int>();
        if (auto id = ParseNumber(t[i].text)) return id;
        return word == "command" ? CommandId(t[i].text) : ControlId(t[i].text);
    };
    auto text = [&](size_t i) { return FromUtf8(t[i].text); };
    if (n == 1 && word == "close") return A::MakeClose();
    if (n == 1 && word == "help") return A::MakeHelp();
    if (n == 2 && word == "answer" && (bare(1, "yes") || bare(1, "no"))) {
        return A::MakeAnswer(t[1].text == "yes");
    }
    if (n == 2 && word == "project" && t[1].quoted) return A::MakeProject(kProjectCombo, text(1));
    const std::optional<int> id = n >= 2 ? named(1) : std::nullopt;
    if (!id) return std::nullopt;
    if (n == 2 && word == "command") return A::MakeCommand(*id);
    if (n == 2 && word == "click") return A::MakeClick(*id);
    if (n == 2 && word == "check") return A::MakeCheck(*id);
    if (n == 2 && word == "uncheck") return A::MakeUncheck(*id);
    if (n == 3 && word == "type" && t[2].quoted) return A::MakeType(*id, text(2));
    if (n == 3 && word == "choose" && t[2].quoted) return A::MakeChoose(*id, text(2));
    if (n == 3 && word == "date") {
        if (bare(2, "none")) return A::MakeDate(*id, std::nullopt);
        std::optional<CalendarDate> d = t[2].quoted ? std::nullopt : ParseDate(t[2].text);
        if (!d) return std::nullopt;
        d->dayOfWeek = DayOfWeek(*d);
        return A::MakeDate(*id, d);
    }
    if (n == 3 && (word == "tap" || word == "enter" || word == "header")) {
        const std::optional<int> index = number(2);
        if (!index) return std::nullopt;
        if (word == "tap") return A::MakeTap(*id, *index);
        if (word == "enter") return A::MakeEnter(*id, *index);
        return A::MakeHeader(*id, *index);
    }
    return std::nullopt;
}

std::optional<int> LookTarget(const std::vector<Token>& t) {
    if (t.size() != 2 || t[0].quoted || t[0].text != "show" || t[1].quoted) return std::nullopt;
    if (auto id = ParseNumber(t[1].text)) return id;
    return ControlId(t[1].text);
}

bool NamesId(const std::vector<Token>& t) {
    static const char* const kTakingIds[] = {"command", "click",  "check", "uncheck",
                                             "type",    "choose", "date",  "tap",
                                             "enter",   "header", "show"};
    if (t.size() < 2 || t[0].quoted || t[1].quoted || ParseNumber(t[1].text)) return false;
    const std::string& name = t[1].text;
    if (t[0].text == "show" &&
        (name == "main" || name == "dialog" || name == "store" || name == "registry")) {
        return false;
    }
    return std::find(std::begin(kTakingIds), std::end(kTakingIds), t[0].text) !=
           std::end(kTakingIds);
}

std::string UnknownName(const std::vector<Token>& t) {
    if (!NamesId(t)) return {};
    const std::string& name = t[1].text;
    if (t[0].text == "command") return CommandId(name) ? "" : "no command named " + name;
    return ControlId(name) ? "" : "no control named " + name;
}

}  // namespace qv::replay
