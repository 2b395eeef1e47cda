// Reading replay scripts: one action a line, blank-separated tokens, texts in double quotes.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/calendar.h"

namespace qv::replay {

struct Token {
    std::string text;
    bool quoted = false;
};

// The tokens of a line; none when a quoted text is not closed.
std::optional<std::vector<Token>> Tokenize(const std::string& line);

// YYYY-MM-DD, and HH:MM:SS for a clock.
std::optional<CalendarDate> ParseDate(const std::string& text);
bool ParseTime(const std::string& text, CalendarDate& date);
std::optional<int> ParseNumber(const std::string& text);

}  // namespace qv::replay
