// Fonts and images of the program for Qt.
#include "platform/qt/qt_text.h"

#include <QFontDatabase>
#include <QImage>
#include <map>

#include "res/embedded.h"

namespace qv {

QFont ToQFont(const FontSpec& spec) {
    QFont font(ToQString(spec.face));
    // Where the face is missing, a font of the same widths and style stands in.
    font.setStyleHint(spec.face.find(u"Times") != std::u16string::npos ? QFont::Serif
                                                                       : QFont::SansSerif);
    if (spec.height != 0) font.setPixelSize(spec.height < 0 ? -spec.height : spec.height);
    font.setWeight(static_cast<QFont::Weight>(std::clamp(spec.weight / 10 * 10, 100, 900)));
    font.setItalic(spec.italic);
    font.setUnderline(spec.underline);
    font.setStrikeOut(spec.strikeOut);
    return font;
}

namespace {

QImage LoadEmbedded(const char* name) {
    QImage image;
    if (const EmbeddedFile* file = FindEmbedded(name)) {
        image.loadFromData(file->data, static_cast<int>(file->size), "PNG");
    }
    return image;
}

}  // namespace

QIcon StripImage(int bitmap, int index, int zoom) {
    static std::map<int, QImage> strips;
    auto it = strips.find(bitmap);
    if (it == strips.end()) {
        it = strips.emplace(bitmap, LoadEmbedded(bitmap == 106 ? "bitmap106.png" : "bitmap128.png"))
                 .first;
    }
    const QImage& strip = it->second;
    if (strip.isNull() || index < 0 || (index + 1) * 16 > strip.width()) return {};
    // Whole-number zoom keeps the pixels of the small images sharp.
    const QImage one = strip.copy(index * 16, 0, 16, 16);
    return QIcon(QPixmap::fromImage(
        one.scaled(16 * zoom, 16 * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation)));
}

QPixmap ProgramIcon(int pixels) {
    int best = 16;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        if (size <= pixels) best = size;
    }
    const std::string name = "icon101-" + std::to_string(best) + ".png";
    QPixmap pixmap = QPixmap::fromImage(LoadEmbedded(name.c_str()));
    return pixmap.isNull()
               ? pixmap
               : pixmap.scaled(pixels, pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

}  // namespace qv
