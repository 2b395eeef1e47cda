// Fuzzes the turning of a replay script line's words into an action on the program's windows.
// Nothing faults, and an action reads back from its own words: the line written again from the
// action (keywords and numbers bare, texts quoted, dates as YYYY-MM-DD) has as many words,
// quoted where the script's were, and gives the same action; quoting any one word the other way
// names no action; a date carries the day of the week the calendar gives it.
#include <algorithm>
#include <chrono>

#include "core/text.h"
#include "fuzz/fuzz_util.h"
#include "tools/replay/script.h"

namespace {

using namespace qv::replay;
using Kind = qv::UserAction::Kind;
using qv::fuzz::Check;

// Screen and kill are not window actions.
constexpr std::pair<Kind, const char*> kWords[] = {
    {Kind::Command, "command"}, {Kind::Project, "project"}, {Kind::Click, "click"},
    {Kind::Type, "type"},       {Kind::Choose, "choose"},   {Kind::Check, "check"},
    {Kind::Uncheck, "uncheck"}, {Kind::Date, "date"},       {Kind::Tap, "tap"},
    {Kind::Enter, "enter"},     {Kind::Header, "header"},   {Kind::Help, "help"},
    {Kind::Close, "close"},     {Kind::Answer, "answer"},
};

std::string Word(const qv::UserAction& a) {
    const auto* it = std::ranges::find(kWords, a.kind, &std::pair<Kind, const char*>::first);
    return it == std::end(kWords) ? "" : it->second;
}

// The action's script line, written the plain way.
std::string Line(const qv::UserAction& a) {
    const std::string word = Word(a);
    Check(!word.empty());
    const std::string id = word + " " + std::to_string(a.id);
    switch (a.kind) {
        case Kind::Project:
            return word + " " + qv::QuoteText(a.text);
        case Kind::Help:
        case Kind::Close:
            return word;
        case Kind::Answer:
            return word + (a.yes ? " yes" : " no");
        case Kind::Type:
        case Kind::Choose:
            return id + " " + qv::QuoteText(a.text);
        case Kind::Date:
            return id + " " +
                   (a.date ? qv::fuzz::Joined(a.date->year, a.date->month, a.date->day, 4, '-')
                           : "none");
        case Kind::Tap:
        case Kind::Enter:
        case Kind::Header:
            return id + " " + std::to_string(a.index);
        default:
            return id;
    }
}

// Dates compare with their day of the week.
bool Same(const qv::UserAction& a, const qv::UserAction& b) {
    return a.kind == b.kind && a.id == b.id && a.index == b.index && a.text == b.text &&
           a.yes == b.yes && a.date == b.date;
}

void CheckAction(const std::vector<Token>& words, const qv::UserAction& a) {
    // The keyword is written bare and names the action.
    Check(!words[0].quoted && words[0].text == Word(a));
    Check(a.id >= 0 && a.index >= 0);
    if (a.date) {
        using namespace std::chrono;
        const year_month_day ymd{year{a.date->year}, month{a.date->month}, day{a.date->day}};
        Check(ymd.ok() && a.date->dayOfWeek == weekday{sys_days{ymd}}.c_encoding());
    }
    // Keywords, numbers and dates are bare, texts quoted: a line with one word quoted the
    // other way names no action.
    for (size_t i = 0; i < words.size(); ++i) {
        std::vector<Token> other = words;
        other[i].quoted = !other[i].quoted;
        Check(!ParseWindowAction(other));
    }
    // Written again, the line has the same words, quoted where the script quoted them.
    const auto again = Tokenize(Line(a));
    Check(again.has_value() && again->size() == words.size());
    for (size_t i = 0; i < words.size(); ++i) Check((*again)[i].quoted == words[i].quoted);
    const auto reread = ParseWindowAction(*again);
    Check(reread && Same(*reread, a));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qv::fuzz::ForEachLine(data, size, [](const std::string& line) {
        auto words = Tokenize(line);
        if (words && !words->empty())
            if (auto action = ParseWindowAction(*words)) CheckAction(*words, *action);
    });
    return 0;
}
