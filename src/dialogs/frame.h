// The frame every dialog shares: layout query, title band and font, input panel, help, name
// checks; the program's messages come with it (dialogs/messages.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/text.h"
#include "dialogs/messages.h"
#include "platform/ui/shell.h"
#include "platform/ui/ui_host.h"
#include "platform/ui/ui_types.h"

namespace qv {

// False only for a screen of exactly 240 x 320.
bool IsLandscapeLayout(const UiHost& host);
bool IsLandscapeLayout(Size screen);

// Height = -(points * pixels per inch) / 72, truncated toward zero; character set 1.
FontSpec CreateTitleFont(int pixelsPerInchY, std::u16string_view face, int points, int weight,
                         bool italic);
FontSpec CreateTitleFont(const UiHost& host, std::u16string_view face, int points, int weight,
                         bool italic);
// "Times New Roman", 10 points, weight 800: the font of title bands and the project bar.
FontSpec TitleBandFont(const UiHost& host);

void SetInputPanel(UiHost& host, bool on);

// The title band of a dialog as paint orders: nothing for a portrait-only band in landscape;
// the heading is skipped when the string table lacks it, the rule still drawn.
PaintList PaintTitleBand(const UiHost& host, const TitleBand& band);

// Help: "file:enquorvella.htm#" + anchor; About opens the contents file instead.
constexpr std::u16string_view kHelpFilePrefix = u"file:enquorvella.htm#";
constexpr std::u16string_view kHelpContents = u"\\Windows\\enquorvella.htc";
void ShowHelp(UiHost& host, std::u16string_view anchor);

// Every character a letter or decimal digit (Unicode classes) or the blank; false when empty.
// A text of blanks only passes: callers trim first.
bool IsValidName(std::u16string_view text);
// The first character is a letter or decimal digit; false for an empty text.
bool HasValidFirstChar(std::u16string_view text);

// The beep of a missing or unacceptable entry, with the focus moved to that field.
void RefuseEntry(UiHost& host, Dialog& dialog, int id);

// The entry of list or drop-down list `id` that is this very text, code unit for code unit.
// Project names differ by letter case alone (Alpha and alpha are two projects), so the list's
// own search, which ignores case, is only the fallback. -1 when neither finds one.
int FindEntryExact(const Dialog& dialog, int id, std::u16string_view text);

}  // namespace qv
