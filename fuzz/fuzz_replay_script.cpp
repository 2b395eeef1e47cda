// Fuzzes the reading of replay scripts: lines split and trimmed as the replay tool reads them,
// then tokens, numbers, dates and clock times. Nothing faults, and what is read is what was
// written: re-quoted tokens read back the same, dates and times print back as given.
#include <algorithm>

#include "fuzz/fuzz_util.h"
#include "tools/replay/script.h"

namespace {

using namespace qv::replay;
using qv::fuzz::Check;
using qv::fuzz::Joined;

std::string Quote(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

void CheckToken(const Token& t) {
    Check(t.quoted || (!t.text.empty() && t.text.find_first_of(" \t") == std::string::npos));
    if (auto n = ParseNumber(t.text)) {
        // Leading zeros are allowed; the value is the digits as written.
        const size_t digits = std::min(t.text.find_first_not_of('0'), t.text.size() - 1);
        Check(*n >= 0 && std::to_string(*n) == t.text.substr(digits));
    }
    if (auto d = ParseDate(t.text)) Check(t.text == Joined(d->year, d->month, d->day, 4, '-'));
    qv::CalendarDate c{};
    if (ParseTime(t.text, c)) Check(t.text == Joined(c.hour, c.minute, c.second, 2, ':'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qv::fuzz::ForEachLine(data, size, [](std::string line) {
        // Trailing blanks and a carriage return go; blank lines and comments are skipped.
        line.erase(line.find_last_not_of(" \t\r") + 1);
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') return;
        auto tokens = Tokenize(line.substr(first));
        if (!tokens) return;
        Check(!tokens->empty());
        std::string again;
        for (const Token& t : *tokens) {
            CheckToken(t);
            again += (t.quoted ? Quote(t.text) : t.text) + " ";
        }
        auto reread = Tokenize(again);
        Check(reread && reread->size() == tokens->size());
        for (size_t i = 0; i < tokens->size(); ++i) {
            Check((*reread)[i].text == (*tokens)[i].text &&
                  (*reread)[i].quoted == (*tokens)[i].quoted);
        }
    });
    return 0;
}
