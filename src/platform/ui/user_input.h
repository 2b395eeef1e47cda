// The input layer: one function per gesture a person makes on a window. Each checks that the
// control can take the gesture, changes the model and raises the behaviour's events in the
// handheld's order. Every host calls these; no host decides what a gesture means.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/calendar.h"
#include "platform/ui/dialog.h"
#include "platform/ui/main_frame.h"

namespace qv::input {

// Empty when the gesture was carried out; otherwise why a person could not make it
// ("disabled", "no row 4", ...). A refused gesture changes nothing.
using Refusal = std::optional<std::string>;

// The control as the person's hand finds it: there, visible and enabled. Null with the reason
// otherwise.
const ControlState* Reach(const Dialog& d, int id, Refusal& why);

// Whether a person could make a gesture, without making it: the refusal the gesture would
// give. A host that delivers gestures through widgets asks first, so it refuses exactly as
// the gestures do.
Refusal CanClick(const Dialog& d, int id);
Refusal CanCheck(const Dialog& d, int id, bool checked);
Refusal CanType(const Dialog& d, int id);
Refusal CanChoose(const Dialog& d, int id, std::u16string_view entry);
Refusal CanPickDate(const Dialog& d, int id);
Refusal CanActOnRow(const Dialog& d, int id, int row, bool enter);
Refusal CanTapHeader(const Dialog& d, int id, int column);

// Buttons, check boxes and radio buttons.
Refusal Click(Dialog& d, int id);
// The shell's Done button of a dialog that has one (command IDOK without a control of its own).
bool HasShellDone(const Dialog& d);
Refusal Done(Dialog& d);
// Checks or unchecks a check box, or checks a radio button (unchecking the others of its group).
Refusal SetChecked(Dialog& d, int id, bool checked);

// Edit fields: the new text replaces the old, cut to the field's limit; an empty text clears it.
Refusal Type(Dialog& d, int id, std::u16string_view text);

// Drop-down lists and list boxes. Choose is the whole gesture on a drop-down list (open, pick,
// close); a host whose widget reports the steps one by one uses the three parts.
Refusal Choose(Dialog& d, int id, std::u16string_view entry);
Refusal ChooseIndex(Dialog& d, int id, int index);
Refusal OpenDropDown(Dialog& d, int id);
Refusal PickEntry(Dialog& d, int id, int index);
Refusal CloseDropDown(Dialog& d, int id);

// Date pickers: a date picked from the calendar, or none (the picker reports no valid date).
Refusal PickDate(Dialog& d, int id, std::optional<CalendarDate> date);

// List views (and a tap on a list box row), and their headers.
Refusal TapRow(Dialog& d, int id, int row);
Refusal EnterRow(Dialog& d, int id, int row);
Refusal TapHeader(Dialog& d, int id, int column);

// The help request to the topmost window: the open dialog, else the main window.
void Help(Dialog* topDialog, MainFrame* main);

// The main window's menu items and menu bar buttons.
Refusal CanCommand(const MainFrame& main, int command);
Refusal Command(MainFrame& main, int command);

// The shell's close request: open dialogs end as cancelled, the main window closes when it
// next has control.
void Close(MainFrame* main, std::span<Dialog* const> openDialogs);

// The screen turned or was resized: the main window's work area changes, then every open
// dialog hears its new size.
void ChangeScreen(MainFrame* main, std::span<Dialog* const> openDialogs, bool landscape);

}  // namespace qv::input
