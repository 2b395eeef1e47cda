// A person's action on the program's windows, as a script or a test describes it. Hosts turn it
// into the gestures of the input layer; refusals name it the way the person wrote it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/calendar.h"
#include "platform/ui/ui_types.h"

namespace qv {

struct UserAction {
    enum class Kind {
        Command,  // id: a menu item or menu bar button of the main window
        Project,  // id, text: choose an entry of the main window's own drop-down list `id`
        Click,    // id: a button; 1 is the shell's Done button
        Type,     // id, text: replace an edit field's text as typed
        Choose,   // id, text: the drop-down or list box entry equal to text
        Check,    // id
        Uncheck,  // id
        Date,     // id, date (none: no valid date)
        Tap,      // id, index: a row of a list view or list box
        Enter,    // id, index: select a row of a list view and press Enter
        Header,   // id, index: a column header of a list view
        Help,
        Close,   // the shell's close request to the main window
        Answer,  // yes: the answer to the open question
        Screen,  // screen: the new screen size
        Kill,    // ends the program at once, without exit steps
    };
    Kind kind = Kind::Help;
    int id = 0;
    int index = 0;
    std::u16string text;
    std::optional<CalendarDate> date;
    bool yes = false;
    Size screen;

    static UserAction Of(Kind kind, int id = 0, int index = 0) {
        UserAction a;
        a.kind = kind;
        a.id = id;
        a.index = index;
        return a;
    }
    static UserAction WithText(Kind kind, int id, std::u16string text) {
        UserAction a = Of(kind, id);
        a.text = std::move(text);
        return a;
    }
    static UserAction MakeCommand(int id) { return Of(Kind::Command, id); }
    static UserAction MakeProject(int comboId, std::u16string name) {
        return WithText(Kind::Project, comboId, std::move(name));
    }
    static UserAction MakeClick(int id) { return Of(Kind::Click, id); }
    static UserAction MakeType(int id, std::u16string text) {
        return WithText(Kind::Type, id, std::move(text));
    }
    static UserAction MakeChoose(int id, std::u16string text) {
        return WithText(Kind::Choose, id, std::move(text));
    }
    static UserAction MakeCheck(int id) { return Of(Kind::Check, id); }
    static UserAction MakeUncheck(int id) { return Of(Kind::Uncheck, id); }
    static UserAction MakeDate(int id, std::optional<CalendarDate> date) {
        UserAction a = Of(Kind::Date, id);
        a.date = date;
        return a;
    }
    static UserAction MakeTap(int id, int row) { return Of(Kind::Tap, id, row); }
    static UserAction MakeEnter(int id, int row) { return Of(Kind::Enter, id, row); }
    static UserAction MakeHeader(int id, int column) { return Of(Kind::Header, id, column); }
    static UserAction MakeHelp() { return Of(Kind::Help); }
    static UserAction MakeClose() { return Of(Kind::Close); }
    static UserAction MakeAnswer(bool yes) {
        UserAction a = Of(Kind::Answer);
        a.yes = yes;
        return a;
    }
    static UserAction MakeScreen(int width, int height) {
        UserAction a = Of(Kind::Screen);
        a.screen = {width, height};
        return a;
    }
    static UserAction MakeKill() { return Of(Kind::Kill); }
};

// "click 1058", "type 1025", "project \"Alpha\"", "answer yes": the action as a refusal names it.
std::string DescribeAction(const UserAction& action);

// A text in double quotes, UTF-8, with \" and \\ escaped.
std::string QuoteText(std::u16string_view text);

}  // namespace qv
