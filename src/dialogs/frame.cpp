// The dialog frame: layout query, title band, help and name checks.
#include "dialogs/frame.h"

#include "platform/text/unicode_text.h"
#include "res/string_table.h"

namespace qv {
namespace {

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

bool IsLandscapeLayout(Size screen) {
    return !(screen.width == 240 && screen.height == 320);
}

bool IsLandscapeLayout(const UiHost& host) {
    return IsLandscapeLayout(host.ScreenSize());
}

FontSpec CreateTitleFont(int pixelsPerInchY, std::u16string_view face, int points, int weight,
                         bool italic) {
    FontSpec font;
    // Integer division truncates toward zero: 10 points at 96 pixels per inch give -13.
    font.height = -(points * pixelsPerInchY) / 72;
    font.weight = weight;
    font.italic = italic;
    font.charSet = 1;
    font.face = std::u16string(face);
    return font;
}

FontSpec CreateTitleFont(const UiHost& host, std::u16string_view face, int points, int weight,
                         bool italic) {
    return CreateTitleFont(host.PixelsPerInchY(), face, points, weight, italic);
}

FontSpec TitleBandFont(const UiHost& host) {
    return CreateTitleFont(host, u"Times New Roman", 10, 800, false);
}

void SetInputPanel(UiHost& host, bool on) {
    host.SetInputPanel(on);
}

PaintList PaintTitleBand(const UiHost& host, const TitleBand& band) {
    PaintList paint;
    if (band.kind == TitleBand::Kind::None) return paint;
    if (band.portraitOnly && IsLandscapeLayout(host)) return paint;
    if (std::optional<std::u16string> heading = LoadString(band.stringId)) {
        paint.push_back(
            PaintText{band.origin, std::move(*heading), band.colour, TitleBandFont(host)});
    }
    if (band.kind == TitleBand::Kind::Heading) {
        paint.push_back(PaintPolyline{{band.ruleFrom, band.ruleTo}, band.colour});
    }
    return paint;
}

void ShowHelp(UiHost& host, std::u16string_view anchor) {
    std::u16string commandLine(kHelpFilePrefix);
    commandLine += anchor;
    host.StartHelp(commandLine);
}

bool IsValidName(std::u16string_view text) {
    if (text.empty()) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u' ') continue;
        if (!IsLetterOrDigitAt(text, i)) return false;
        // A surrogate pair was judged as one character.
        if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) ++i;
    }
    return true;
}

bool HasValidFirstChar(std::u16string_view text) {
    return !text.empty() && IsLetterOrDigitAt(text, 0);
}

void RefuseEntry(UiHost& host, Dialog& dialog, int id) {
    host.MessageBeep(MB_BEEP);
    dialog.SetFocus(id);
}

int FindEntryExact(const Dialog& dialog, int id, std::u16string_view text) {
    const int count = dialog.Count(id);
    for (int i = 0; i < count; ++i) {
        if (dialog.GetLBText(id, i) == text) return i;
    }
    return dialog.FindStringExact(id, text);
}

}  // namespace qv
