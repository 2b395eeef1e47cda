// Text, fonts, images and the zoomed look of the controls between the model and Qt.
#pragma once

#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <string>
#include <string_view>

#include "platform/ui/resources.h"
#include "platform/ui/ui_types.h"

class QMessageBox;

namespace qv {

inline QString ToQString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

inline std::u16string FromQString(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<size_t>(text.size()));
}

// A font of the program in handheld pixels: a negative height is the character height.
QFont ToQFont(const FontSpec& source);

// The handheld's faces resolve to installed faces of nearly the same widths, so texts fill
// the template rectangles as they did there. Once per program, before the first widget.
void InstallFontStandIns();
// The handheld's shell and dialog face ("Tahoma") at `pixels` desktop pixels.
QFont HandheldFont(int pixels, bool bold = false);
// The handheld's dialog font at 96 pixels per inch, before the zoom: controls and message boxes.
constexpr int kDialogFontPixels = 11;

// The application's style with check boxes, radio buttons and scroll bars `zoom` times their
// size, as the texts are. Keeps the style when it already has this zoom.
void InstallZoomStyle(int zoom);

// Widens a message box, in its font, so that the desktop's title bar shows its whole caption
// beside the frame's own buttons.
void FitCaption(QMessageBox& box, int zoom);

// The images below come from the built-in files of `resources`, which must outlive their use.
// Once per program, before the first image.
void InstallImages(const Resources& resources);

// Image `index` of a bitmap strip of 16 x 16 images (106: the menu bar's buttons, 128: the
// lists' header and row images), at `zoom`.
QIcon StripImage(int bitmap, int index, int zoom);
inline QIcon ListImage(int index, int zoom) {
    return StripImage(128, index, zoom);
}
// The program's icon at about this many pixels.
QPixmap ProgramIcon(int pixels);

}  // namespace qv
