// The gestures of the input layer, in the order the handheld's controls raise their events.
#include "platform/ui/user_input.h"

#include <algorithm>

#include "platform/ui/shell.h"
#include "platform/ui/user_action.h"

namespace qv::input {
namespace {

Refusal No(std::string why) {
    return Refusal(std::move(why));
}

// The behaviour of a dialog that still takes events; null once it has none.
DialogBehaviour* Listener(Dialog& d) {
    return d.Behaviour();
}

bool IsList(ControlKind kind) {
    return kind == ControlKind::Combo || kind == ControlKind::ListBox;
}

// Radio buttons form a group from one with the group style, or the first after another kind
// of control, up to the next such start.
void CheckRadioInGroup(Dialog& d, int id) {
    const std::vector<ControlState>& controls = d.Controls();
    size_t at = 0;
    while (at < controls.size() && controls[at].id != id) ++at;
    if (at == controls.size()) return;
    size_t first = at;
    while (first > 0 && (controls[first].style & kStyleGroup) == 0 &&
           controls[first - 1].kind == ControlKind::Radio) {
        --first;
    }
    std::vector<int> group;
    for (size_t i = first; i < controls.size() && controls[i].kind == ControlKind::Radio; ++i) {
        if (i > first && (controls[i].style & kStyleGroup) != 0) break;
        group.push_back(controls[i].id);
    }
    for (int member : group) d.SetChecked(member, member == id);
}

// A list control reached for a pick: there, usable and holding entries.
ControlState* ReachList(Dialog& d, int id, Refusal& why) {
    ControlState* c = Reach(d, id, why);
    if (c != nullptr && !IsList(c->kind)) {
        why = "not a list";
        return nullptr;
    }
    return c;
}

// Tap and Enter on a row: list views take both, list boxes only the tap.
Refusal ActOnRow(Dialog& d, int id, int row, bool enter) {
    Refusal why;
    ControlState* c = Reach(d, id, why);
    if (c == nullptr) return why;
    const ControlKind kind = c->kind;
    const int count = kind == ControlKind::ListView  ? static_cast<int>(c->rows.size())
                      : kind == ControlKind::ListBox ? static_cast<int>(c->entries.size())
                                                     : -1;
    if (count < 0 || (kind == ControlKind::ListBox && enter)) return No("not a list view");
    if (row < 0 || row >= count) return No("no row " + std::to_string(row));
    d.SetFocus(id);
    if (kind == ControlKind::ListBox) {
        const bool notify = (c->style & kStyleNotify) != 0;
        d.SetCurSel(id, row);
        if (notify && Listener(d)) Listener(d)->OnCommand(d, id, CommandCode::SelectionChange);
        return std::nullopt;
    }
    d.SelectRow(id, row);
    d.SetFocusedRow(id, row);
    if (Listener(d)) {
        Listener(d)->OnNotify(d, id, enter ? NotifyCode::Return : NotifyCode::Click, row);
    }
    return std::nullopt;
}

}  // namespace

ControlState* Reach(Dialog& d, int id, Refusal& why) {
    ControlState* c = d.Find(id);
    if (c == nullptr || c->id == kUnnamedControl) {
        why = "missing";
        return nullptr;
    }
    if (!c->visible) {
        why = "hidden";
        return nullptr;
    }
    if (!c->enabled) {
        why = "disabled";
        return nullptr;
    }
    return c;
}

bool HasShellDone(const Dialog& d) {
    return !d.Has(IDOK) && (d.Template().frameFlags & kFrameDoneButton) != 0;
}

Refusal Done(Dialog& d) {
    if (!HasShellDone(d)) return No("missing");
    if (Listener(d)) Listener(d)->OnCommand(d, IDOK, CommandCode::Clicked);
    return std::nullopt;
}

Refusal Click(Dialog& d, int id) {
    if (id == IDOK && HasShellDone(d)) return Done(d);
    Refusal why;
    ControlState* c = Reach(d, id, why);
    if (c == nullptr) return why;
    if (c->kind != ControlKind::Button) return No("not a button");
    d.SetFocus(id);
    if (Listener(d)) Listener(d)->OnCommand(d, id, CommandCode::Clicked);
    return std::nullopt;
}

Refusal SetChecked(Dialog& d, int id, bool checked) {
    Refusal why;
    ControlState* c = Reach(d, id, why);
    if (c == nullptr) return why;
    const ControlKind kind = c->kind;
    if (kind != ControlKind::CheckBox && kind != ControlKind::Radio) {
        return No("not a check box or radio button");
    }
    if (kind == ControlKind::Radio && !checked) {
        return No("a radio button is unchecked by checking another");
    }
    if (c->checked == checked) return std::nullopt;
    const bool automatic = (c->style & kStyleAutoCheck) != 0;
    d.SetFocus(id);
    if (automatic) {
        if (kind == ControlKind::Radio) {
            CheckRadioInGroup(d, id);
        } else {
            d.SetChecked(id, checked);
        }
    }
    if (Listener(d)) Listener(d)->OnCommand(d, id, CommandCode::Clicked);
    return std::nullopt;
}

Refusal Type(Dialog& d, int id, std::u16string_view text) {
    Refusal why;
    ControlState* c = Reach(d, id, why);
    if (c == nullptr) return why;
    if (c->kind != ControlKind::Edit) return No("not an edit field");
    const size_t limit = c->editLimit > 0 ? static_cast<size_t>(c->editLimit)
                                          : static_cast<size_t>(kDefaultEditLimit);
    d.SetFocus(id);
    // Setting an edit field's text tells the behaviour of the change, as typing does.
    d.SetText(id, text.substr(0, std::min(limit, text.size())));
    return std::nullopt;
}

Refusal Choose(Dialog& d, int id, std::u16string_view entry) {
    Refusal why;
    ControlState* c = ReachList(d, id, why);
    if (c == nullptr) return why;
    const auto found = std::find(c->entries.begin(), c->entries.end(), entry);
    if (found == c->entries.end()) return No("no entry " + QuoteText(entry));
    return ChooseIndex(d, id, static_cast<int>(found - c->entries.begin()));
}

Refusal ChooseIndex(Dialog& d, int id, int index) {
    Refusal why;
    ControlState* c = ReachList(d, id, why);
    if (c == nullptr) return why;
    if (index < 0 || index >= static_cast<int>(c->entries.size())) {
        return No("no row " + std::to_string(index));
    }
    if (c->kind == ControlKind::ListBox) return ActOnRow(d, id, index, false);
    if (auto refused = OpenDropDown(d, id)) return refused;
    if (auto refused = PickEntry(d, id, index)) return refused;
    return CloseDropDown(d, id);
}

Refusal OpenDropDown(Dialog& d, int id) {
    Refusal why;
    ControlState* c = ReachList(d, id, why);
    if (c == nullptr) return why;
    if (c->kind != ControlKind::Combo) return No("not a drop-down list");
    d.SetFocus(id);
    if (Listener(d)) Listener(d)->OnCommand(d, id, CommandCode::DropDown);
    return std::nullopt;
}

Refusal PickEntry(Dialog& d, int id, int index) {
    Refusal why;
    ControlState* c = ReachList(d, id, why);
    if (c == nullptr) return why;
    if (index < 0 || index >= static_cast<int>(c->entries.size())) {
        return No("no row " + std::to_string(index));
    }
    // A drop-down list always reports the pick; a list box only with its notify style.
    const bool notify = c->kind == ControlKind::Combo || (c->style & kStyleNotify) != 0;
    d.SetFocus(id);
    d.SetCurSel(id, index);
    if (notify && Listener(d)) Listener(d)->OnCommand(d, id, CommandCode::SelectionChange);
    return std::nullopt;
}

Refusal CloseDropDown(Dialog& d, int id) {
    const ControlState* c = d.Find(id);
    if (c == nullptr || c->kind != ControlKind::Combo) return No("not a drop-down list");
    if (Listener(d)) Listener(d)->OnCommand(d, id, CommandCode::CloseUp);
    return std::nullopt;
}

Refusal PickDate(Dialog& d, int id, std::optional<CalendarDate> date) {
    Refusal why;
    ControlState* c = Reach(d, id, why);
    if (c == nullptr) return why;
    if (c->kind != ControlKind::DatePicker) return No("not a date picker");
    d.SetFocus(id);
    DialogBehaviour* b = Listener(d);
    if (date) {
        if (b) b->OnNotify(d, id, NotifyCode::DateDropDown, 0);
        d.SetDate(id, date);
        if (Listener(d)) Listener(d)->OnNotify(d, id, NotifyCode::DateChange, 0);
        if (Listener(d)) Listener(d)->OnNotify(d, id, NotifyCode::DateCloseUp, 0);
    } else {
        d.SetDate(id, std::nullopt);
        if (b) b->OnNotify(d, id, NotifyCode::DateChange, 0);
    }
    return std::nullopt;
}

Refusal TapRow(Dialog& d, int id, int row) {
    return ActOnRow(d, id, row, false);
}

Refusal EnterRow(Dialog& d, int id, int row) {
    return ActOnRow(d, id, row, true);
}

Refusal TapHeader(Dialog& d, int id, int column) {
    Refusal why;
    ControlState* c = Reach(d, id, why);
    if (c == nullptr) return why;
    if (c->kind != ControlKind::ListView) return No("not a list view");
    if (column < 0 || column >= static_cast<int>(c->columns.size())) {
        return No("no column " + std::to_string(column));
    }
    if (Listener(d)) Listener(d)->OnNotify(d, id, NotifyCode::ColumnClick, column);
    return std::nullopt;
}

void Help(Dialog* topDialog, MainFrame* main) {
    if (topDialog != nullptr) {
        if (topDialog->Behaviour() != nullptr) topDialog->Behaviour()->OnHelp(*topDialog);
    } else if (main != nullptr && main->Behaviour() != nullptr) {
        main->Behaviour()->OnHelp(*main);
    }
}

Refusal Command(MainFrame& main, int command) {
    switch (main.StateOf(command)) {
        case MainFrame::CommandState::Missing:
            return No("missing");
        case MainFrame::CommandState::Grey:
            return No("grey");
        case MainFrame::CommandState::Enabled:
            break;
    }
    if (!main.DispatchCommand(command)) return No("the main window is not open");
    return std::nullopt;
}

void Close(MainFrame* main, std::span<Dialog* const> openDialogs) {
    for (Dialog* d : openDialogs) {
        if (!d->Ended()) d->End(IDCANCEL);
    }
    if (main != nullptr && !main->IsDestroyed()) main->PostClose();
}

void ChangeScreen(MainFrame* main, std::span<Dialog* const> openDialogs, bool landscape) {
    if (main != nullptr && !main->IsDestroyed() && main->Behaviour() != nullptr) {
        main->Behaviour()->OnWorkAreaChange(*main);
    }
    // A dialog may end or open others while it hears of the change: work on a copy.
    const std::vector<Dialog*> open(openDialogs.begin(), openDialogs.end());
    for (Dialog* d : open) {
        if (!d->Ended() && d->Behaviour() != nullptr) d->Behaviour()->OnSize(*d, landscape);
    }
}

}  // namespace qv::input
