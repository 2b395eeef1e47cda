// The dialog templates: every control with its kind, text, style and both layouts.
#pragma once

#include <span>

#include "platform/ui/ui_types.h"

namespace qv {

// The template with this resource number, or null.
const DialogTemplate* FindDialogTemplate(int id);

// Every template number, ascending.
std::span<const int> DialogTemplateIds();

// Dialog units to pixels for the templates laid out in dialog units (one horizontal unit is
// 1.5 pixels, one vertical unit 13/8 pixels, rounded as the dialog manager rounds).
constexpr int DluToPixelsX(int x) {
    return (x * 6 + (x >= 0 ? 2 : -2)) / 4;
}
constexpr int DluToPixelsY(int y) {
    return (y * 13 + (y >= 0 ? 4 : -4)) / 8;
}
constexpr Rect DluRect(int x, int y, int w, int h) {
    return {DluToPixelsX(x), DluToPixelsY(y), DluToPixelsX(w), DluToPixelsY(h)};
}

}  // namespace qv
