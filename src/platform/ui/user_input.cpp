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

// A control of one of the kinds a gesture takes, reached by the person's hand.
template <typename KindTest>
const ControlState* ReachKind(const Dialog& d, int id, Refusal& why, KindTest isKind,
                              const char* notKind) {
    const ControlState* c = Reach(d, id, why);
    if (c != nullptr && !isKind(c->kind)) {
        why = notKind;
        return nullptr;
    }
    return c;
}

const ControlState* ReachList(const Dialog& d, int id, Refusal& why) {
    return ReachKind(d, id, why, IsList, "not a list");
}

Refusal RowInRange(const ControlState& c, int row) {
    const int count = c.kind == ControlKind::ListView ? static_cast<int>(c.rows.size())
                                                      : static_cast<int>(c.entries.size());
    if (row < 0 || row >= count) return No("no row " + std::to_string(row));
    return std::nullopt;
}

void Tell(Dialog& d, int id, CommandCode code) {
    if (DialogBehaviour* b = d.Behaviour()) b->OnCommand(d, id, code);
}

void Tell(Dialog& d, int id, NotifyCode code, int item) {
    if (DialogBehaviour* b = d.Behaviour()) b->OnNotify(d, id, code, item);
}

}  // namespace

const ControlState* Reach(const Dialog& d, int id, Refusal& why) {
    const ControlState* c = d.Find(id);
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

Refusal CanClick(const Dialog& d, int id) {
    if (id == IDOK && HasShellDone(d)) return std::nullopt;
    Refusal why;
    ReachKind(
        d, id, why, [](ControlKind k) { return k == ControlKind::Button; }, "not a button");
    return why;
}

Refusal CanCheck(const Dialog& d, int id, bool checked) {
    Refusal why;
    const ControlState* c = ReachKind(
        d, id, why,
        [](ControlKind k) { return k == ControlKind::CheckBox || k == ControlKind::Radio; },
        "not a check box or radio button");
    if (c != nullptr && c->kind == ControlKind::Radio && !checked) {
        return No("a radio button is unchecked by checking another");
    }
    return why;
}

Refusal CanType(const Dialog& d, int id) {
    Refusal why;
    ReachKind(
        d, id, why, [](ControlKind k) { return k == ControlKind::Edit; }, "not an edit field");
    return why;
}

Refusal CanChoose(const Dialog& d, int id, std::u16string_view entry) {
    Refusal why;
    const ControlState* c = ReachList(d, id, why);
    if (c == nullptr) return why;
    // Entries are matched exactly, as the person reads them.
    if (std::find(c->entries.begin(), c->entries.end(), entry) == c->entries.end()) {
        return No("no entry " + QuoteText(entry));
    }
    return std::nullopt;
}

Refusal CanPickDate(const Dialog& d, int id) {
    Refusal why;
    ReachKind(
        d, id, why, [](ControlKind k) { return k == ControlKind::DatePicker; },
        "not a date picker");
    return why;
}

Refusal CanActOnRow(const Dialog& d, int id, int row, bool enter) {
    Refusal why;
    // List views take a tap and Enter, list boxes only the tap.
    const ControlState* c = ReachKind(
        d, id, why,
        [enter](ControlKind k) {
            return k == ControlKind::ListView || (k == ControlKind::ListBox && !enter);
        },
        "not a list view");
    return c == nullptr ? why : RowInRange(*c, row);
}

Refusal CanTapHeader(const Dialog& d, int id, int column) {
    Refusal why;
    const ControlState* c = ReachKind(
        d, id, why, [](ControlKind k) { return k == ControlKind::ListView; }, "not a list view");
    if (c == nullptr) return why;
    if (column < 0 || column >= static_cast<int>(c->columns.size())) {
        return No("no column " + std::to_string(column));
    }
    return std::nullopt;
}

Refusal Done(Dialog& d) {
    if (!HasShellDone(d)) return No("missing");
    Tell(d, IDOK, CommandCode::Clicked);
    return std::nullopt;
}

Refusal Click(Dialog& d, int id) {
    if (Refusal why = CanClick(d, id)) return why;
    if (id == IDOK && HasShellDone(d)) return Done(d);
    d.SetFocus(id);
    Tell(d, id, CommandCode::Clicked);
    return std::nullopt;
}

Refusal SetChecked(Dialog& d, int id, bool checked) {
    if (Refusal why = CanCheck(d, id, checked)) return why;
    const ControlState& c = *d.Find(id);
    if (c.checked == checked) return std::nullopt;
    const bool automatic = (c.style & kStyleAutoCheck) != 0;
    const bool radio = c.kind == ControlKind::Radio;
    d.SetFocus(id);
    if (automatic) {
        if (radio) {
            CheckRadioInGroup(d, id);
        } else {
            d.SetChecked(id, checked);
        }
    }
    Tell(d, id, CommandCode::Clicked);
    return std::nullopt;
}

Refusal Type(Dialog& d, int id, std::u16string_view text) {
    if (Refusal why = CanType(d, id)) return why;
    const int limit = d.Find(id)->editLimit;
    const size_t cut = limit > 0 ? static_cast<size_t>(limit) : kDefaultEditLimit;
    d.SetFocus(id);
    // Setting an edit field's text tells the behaviour of the change, as typing does.
    d.SetText(id, text.substr(0, std::min(cut, text.size())));
    return std::nullopt;
}

Refusal Choose(Dialog& d, int id, std::u16string_view entry) {
    if (Refusal why = CanChoose(d, id, entry)) return why;
    const std::vector<std::u16string>& entries = d.Find(id)->entries;
    const auto at = std::find(entries.begin(), entries.end(), entry) - entries.begin();
    return ChooseIndex(d, id, static_cast<int>(at));
}

Refusal ChooseIndex(Dialog& d, int id, int index) {
    Refusal why;
    const ControlState* c = ReachList(d, id, why);
    if (c == nullptr) return why;
    if (Refusal out = RowInRange(*c, index)) return out;
    if (c->kind == ControlKind::ListBox) return TapRow(d, id, index);
    if (Refusal refused = OpenDropDown(d, id)) return refused;
    if (Refusal refused = PickEntry(d, id, index)) return refused;
    return CloseDropDown(d, id);
}

Refusal OpenDropDown(Dialog& d, int id) {
    Refusal why;
    if (ReachKind(
            d, id, why, [](ControlKind k) { return k == ControlKind::Combo; },
            "not a drop-down list") == nullptr) {
        return why;
    }
    d.SetFocus(id);
    Tell(d, id, CommandCode::DropDown);
    return std::nullopt;
}

Refusal PickEntry(Dialog& d, int id, int index) {
    Refusal why;
    const ControlState* c = ReachList(d, id, why);
    if (c == nullptr) return why;
    if (Refusal out = RowInRange(*c, index)) return out;
    // A drop-down list always reports the pick; a list box only with its notify style.
    const bool notify = c->kind == ControlKind::Combo || (c->style & kStyleNotify) != 0;
    d.SetFocus(id);
    d.SetCurSel(id, index);
    if (notify) Tell(d, id, CommandCode::SelectionChange);
    return std::nullopt;
}

Refusal CloseDropDown(Dialog& d, int id) {
    const ControlState* c = d.Find(id);
    if (c == nullptr || c->kind != ControlKind::Combo) return No("not a drop-down list");
    Tell(d, id, CommandCode::CloseUp);
    return std::nullopt;
}

Refusal PickDate(Dialog& d, int id, std::optional<CalendarDate> date) {
    if (Refusal why = CanPickDate(d, id)) return why;
    d.SetFocus(id);
    if (date) {
        Tell(d, id, NotifyCode::DateDropDown, 0);
        d.SetDate(id, date);
        Tell(d, id, NotifyCode::DateChange, 0);
        Tell(d, id, NotifyCode::DateCloseUp, 0);
    } else {
        d.SetDate(id, std::nullopt);
        Tell(d, id, NotifyCode::DateChange, 0);
    }
    return std::nullopt;
}

namespace {

Refusal ActOnRow(Dialog& d, int id, int row, bool enter) {
    if (Refusal why = CanActOnRow(d, id, row, enter)) return why;
    d.SetFocus(id);
    const ControlState& c = *d.Find(id);
    if (c.kind == ControlKind::ListBox) {
        const bool notify = (c.style & kStyleNotify) != 0;
        d.SetCurSel(id, row);
        if (notify) Tell(d, id, CommandCode::SelectionChange);
        return std::nullopt;
    }
    d.SelectRow(id, row);
    d.SetFocusedRow(id, row);
    Tell(d, id, enter ? NotifyCode::Return : NotifyCode::Click, row);
    return std::nullopt;
}

}  // namespace

Refusal TapRow(Dialog& d, int id, int row) {
    return ActOnRow(d, id, row, false);
}

Refusal EnterRow(Dialog& d, int id, int row) {
    return ActOnRow(d, id, row, true);
}

Refusal TapHeader(Dialog& d, int id, int column) {
    if (Refusal why = CanTapHeader(d, id, column)) return why;
    Tell(d, id, NotifyCode::ColumnClick, column);
    return std::nullopt;
}

void Help(Dialog* topDialog, MainFrame* main) {
    if (topDialog != nullptr) {
        if (topDialog->Behaviour() != nullptr) topDialog->Behaviour()->OnHelp(*topDialog);
    } else if (main != nullptr && main->Behaviour() != nullptr) {
        main->Behaviour()->OnHelp(*main);
    }
}

Refusal CanCommand(const MainFrame& main, int command) {
    switch (main.StateOf(command)) {
        case MainFrame::CommandState::Missing:
            return No("missing");
        case MainFrame::CommandState::Grey:
            return No("grey");
        case MainFrame::CommandState::Enabled:
            break;
    }
    return std::nullopt;
}

Refusal Command(MainFrame& main, int command) {
    if (Refusal why = CanCommand(main, command)) return why;
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
