// Gestures reaching the widgets of the model's windows. A gesture's handler runs inside the
// signal of its widget, and a tap can open a dialog that stays open in there. A control the
// program takes away meanwhile (the main list, built anew when the screen turns behind the
// dialog its tap opened) may be that very widget: it is hidden at once and deleted only once
// the outermost gesture has returned.
#pragma once

class QWidget;

namespace qv {

void BeginGesture();
// Deletes the widgets taken away meanwhile once the outermost gesture has returned.
void EndGesture();

// Calls the input layer for a gesture that reached a widget, unless the model itself is
// updating the widget.
template <typename Gesture>
void RunGesture(bool syncing, Gesture&& gesture) {
    if (syncing) return;
    BeginGesture();
    gesture();
    EndGesture();
}

// Deletes a widget of a control the program took away, or retires it while a gesture runs.
void DeleteWidget(QWidget* w);

}  // namespace qv
