// How an action names itself in a refusal, and the quoting of texts in transcripts.
#include "platform/ui/user_action.h"

#include "core/text.h"

namespace qv {

std::string QuoteText(std::u16string_view text) {
    std::string utf8 = ToUtf8(text);
    std::string quoted = "\"";
    for (char c : utf8) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string DescribeAction(const UserAction& a) {
    using K = UserAction::Kind;
    auto with = [&a](const char* word) { return std::string(word) + " " + std::to_string(a.id); };
    switch (a.kind) {
        case K::Command:
            return with("command");
        case K::Project:
            return "project " + QuoteText(a.text);
        case K::Click:
            return with("click");
        case K::Type:
            return with("type");
        case K::Choose:
            return with("choose");
        case K::Check:
            return with("check");
        case K::Uncheck:
            return with("uncheck");
        case K::Date:
            return with("date");
        case K::Tap:
            return with("tap");
        case K::Enter:
            return with("enter");
        case K::Header:
            return with("header");
        case K::Help:
            return "help";
        case K::Close:
            return "close";
        case K::Answer:
            return a.yes ? "answer yes" : "answer no";
        case K::Screen:
            return "screen " + std::to_string(a.screen.width) + " " +
                   std::to_string(a.screen.height);
        case K::Kill:
            return "kill";
    }
    return "action";
}

}  // namespace qv
