// Reading replay scripts: one action a line, blank-separated tokens, texts in double quotes,
// and the words of a line turned into the action a person takes on the program's windows.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/calendar.h"
#include "platform/ui/user_action.h"

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

// 0 for Sunday to 6 for Saturday.
uint16_t DayOfWeek(const CalendarDate& date);

// The action a line's words take on the program's windows ("click 1027", "type 1025 \"x\"",
// "answer yes", ...); none when they name no such action. Keywords and numbers are written
// bare, texts quoted; a date carries its day of the week. A control or command is given by
// number or by name ("click RegisterTime.Ok", "command CmdNew").
std::optional<UserAction> ParseWindowAction(const std::vector<Token>& words);

// The control a "show ID" line looks at, by number or name; none for any other line.
std::optional<int> LookTarget(const std::vector<Token>& words);

// Whether a line gives a control or command by name rather than by number.
bool NamesId(const std::vector<Token>& words);

// Why a line cannot be carried out when it names a control or command no constant has
// ("no control named X"); empty for any other line.
std::string UnknownName(const std::vector<Token>& words);

}  // namespace qv::replay
