// The transcript's lines for events and looks.
#include "tools/replay/transcript.h"

#include <cstdio>
#include <variant>

#include "app/main_window.h"
#include "app/project_bar.h"
#include "core/text.h"
#include "platform/ui/shell.h"
#include "platform/ui/user_action.h"

namespace qv::replay {
namespace {

const char* KindWord(ControlKind kind) {
    switch (kind) {
        case ControlKind::Static:
            return "static";
        case ControlKind::GroupBox:
            return "group";
        case ControlKind::Button:
            return "button";
        case ControlKind::CheckBox:
            return "check";
        case ControlKind::Radio:
            return "radio";
        case ControlKind::Edit:
            return "edit";
        case ControlKind::Combo:
            return "combo";
        case ControlKind::DatePicker:
            return "date";
        case ControlKind::ListBox:
            return "listbox";
        case ControlKind::ListView:
            return "list";
    }
    return "control";
}

std::string ImageText(int image) {
    return image < 0 ? std::string("[-]") : "[" + std::to_string(image) + "]";
}

std::string DateText(const CalendarDate& d) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04u-%02u-%02u", static_cast<unsigned>(d.year),
                  static_cast<unsigned>(d.month), static_cast<unsigned>(d.day));
    return buffer;
}

std::string IdOrDash(int id) {
    return id == kNoControl ? std::string("-") : std::to_string(id);
}

const char* IconWord(uint32_t flags) {
    switch (flags & 0xF0) {
        case MB_ICONSTOP:
            return "stop";
        case 0x20:
            return "question";
        case 0x40:
            return "information";
        default:
            return "exclamation";
    }
}

void AppendControl(Shown& shown, const ControlState& c, const Dialog& d, bool showFocus) {
    shown.lines.push_back(FormatControlLine(c, d, showFocus));
    if (c.kind == ControlKind::ListView) {
        for (std::string& row : FormatRowLines(c)) shown.lines.push_back(std::move(row));
    }
}

// "menu 40003 on 40054 grey ...": the menu items in the order the menus show them.
std::string MenuLine(const MainFrame& main) {
    std::string line = "menu";
    for (const MenuTemplate& menu : main.MenuBar().menus) {
        for (const MenuItemTemplate& item : menu.items) {
            if (item.command == 0) continue;
            line += " " + std::to_string(item.command) +
                    (main.IsMenuItemEnabled(item.command) ? " on" : " grey");
        }
    }
    return line;
}

std::string ButtonsLine(const MainFrame& main) {
    std::string line = "buttons";
    for (const MenuBarButton& button : main.MenuBar().buttons) {
        if (button.kind != MenuBarButton::Kind::Image) continue;
        line += " " + std::to_string(button.command) +
                (main.IsButtonEnabled(button.command) ? " on" : " grey");
    }
    return line;
}

// The balance line is the last text the project bar paints.
std::u16string BalanceText(const MainFrame& main, const Dialog& bar) {
    std::u16string balance;
    if (main.ChildBehaviour() == nullptr) return balance;
    PaintList paint;
    const Rect place = bar.WindowRect();
    main.ChildBehaviour()->OnPaint(bar, {place.w, place.h}, paint);
    for (const PaintOp& op : paint) {
        if (const auto* text = std::get_if<PaintText>(&op)) balance = text->text;
    }
    return balance;
}

}  // namespace

std::string EventLine(const HostEvent& e) {
    using K = HostEvent::Kind;
    switch (e.kind) {
        case K::Open:
            return "open " + std::to_string(e.templateId) + " " + QuoteText(e.text);
        case K::End:
            return "end " + std::to_string(e.templateId) + " " + std::to_string(e.result);
        case K::Message:
            return std::string("message ") + IconWord(e.flags) + " " + QuoteText(e.text);
        case K::Question:
            return "question " + QuoteText(e.text);
        case K::Beep:
            return "beep";
        case K::Sound:
            return "sound " + ToUtf8(e.text);
        case K::Help:
            return "help " + ToUtf8(e.text);
    }
    return "event";
}

std::string FormatControlLine(const ControlState& c, const Dialog& dialog, bool showFocus) {
    std::string line = std::string(KindWord(c.kind)) + " " + std::to_string(c.id);
    switch (c.kind) {
        case ControlKind::DatePicker:
            line += " " + (c.date ? DateText(*c.date) : std::string("none"));
            break;
        case ControlKind::Combo:
        case ControlKind::ListBox: {
            const bool selected =
                c.selection >= 0 && c.selection < static_cast<int>(c.entries.size());
            line += " selected " + (selected ? QuoteText(c.entries[c.selection]) : "-");
            line += " entries";
            for (const std::u16string& e : c.entries) line += " " + QuoteText(e);
            break;
        }
        case ControlKind::ListView:
            line += " columns";
            for (const ListColumn& col : c.columns) {
                line += " " + QuoteText(col.header) + " " + ImageText(col.headerImage);
            }
            break;
        default:
            line += " " + QuoteText(c.text);
            break;
    }
    if (!c.visible) line += " hidden";
    if (!c.enabled) line += " disabled";
    if (showFocus && c.id != kUnnamedControl && dialog.Focus() == c.id) line += " focused";
    if (c.id != kUnnamedControl && dialog.DefaultButton() == c.id) line += " default";
    if (c.checked) line += " checked";
    return line;
}

std::vector<std::string> FormatRowLines(const ControlState& list) {
    std::vector<std::string> lines;
    lines.reserve(list.rows.size());
    for (size_t r = 0; r < list.rows.size(); ++r) {
        const ListRow& row = list.rows[r];
        std::string line = "row " + std::to_string(r) + " " + ImageText(row.image);
        for (std::u16string_view cell : row.cells) line += " " + QuoteText(cell);
        if (static_cast<int>(r) == list.selectedRow) line += " selected";
        lines.push_back(std::move(line));
    }
    return lines;
}

Shown ShowControl(const Dialog* window, int id, const std::string& where) {
    Shown shown;
    const ControlState* c = window != nullptr ? window->Find(id) : nullptr;
    if (c == nullptr || id == kUnnamedControl) {
        shown.error = "show " + std::to_string(id) + ": no such control in " + where;
        return shown;
    }
    AppendControl(shown, *c, *window, true);
    return shown;
}

Shown ShowDialog(const Dialog* d) {
    Shown shown;
    if (d == nullptr) {
        shown.error = "show dialog: no dialog is open";
        return shown;
    }
    shown.lines.push_back("dialog " + std::to_string(d->TemplateId()) + " " +
                          QuoteText(d->Caption()) + " focus " + IdOrDash(d->Focus()) + " default " +
                          IdOrDash(d->DefaultButton()));
    for (const ControlState& c : d->Controls()) AppendControl(shown, c, *d, true);
    return shown;
}

Shown ShowMain(const MainFrame* main, Size screen) {
    Shown shown;
    if (main == nullptr || main->IsDestroyed()) {
        shown.error = "show main: the program is not running";
        return shown;
    }
    shown.lines.push_back("main " + QuoteText(main->Title()) + " " + std::to_string(screen.width) +
                          "x" + std::to_string(screen.height));
    if (const Dialog* bar = main->Child()) {
        if (const ControlState* combo = bar->Find(kProjectCombo)) {
            const std::string line = FormatControlLine(*combo, *bar, false);
            shown.lines.push_back("bar" + line.substr(line.find(' ')));
        }
        shown.lines.push_back("balance " + QuoteText(BalanceText(*main, *bar)));
        if (const ControlState* list = bar->Find(kMainList))
            AppendControl(shown, *list, *bar, false);
    }
    shown.lines.push_back(MenuLine(*main));
    shown.lines.push_back(ButtonsLine(*main));
    return shown;
}

}  // namespace qv::replay
