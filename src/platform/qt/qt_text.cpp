// Fonts, images and the zoomed style of the program for Qt.
#include "platform/qt/qt_text.h"

#include <QApplication>
#include <QFontDatabase>
#include <QGridLayout>
#include <QImage>
#include <QMessageBox>
#include <QProxyStyle>
#include <map>

namespace qv {

QFont ToQFont(const FontSpec& source) {
    QFont font(ToQString(source.face));
    // Where the face is missing, a font of the same widths and style stands in.
    font.setStyleHint(source.face.find(u"Times") != std::u16string::npos ? QFont::Serif
                                                                         : QFont::SansSerif);
    if (source.height != 0) font.setPixelSize(source.height < 0 ? -source.height : source.height);
    font.setWeight(static_cast<QFont::Weight>(std::clamp(source.weight / 10 * 10, 100, 900)));
    font.setItalic(source.italic);
    font.setUnderline(source.underline);
    font.setStrikeOut(source.strikeOut);
    return font;
}

void InstallFontStandIns() {
    // Tahoma's widths lie between the condensed and the ordinary sans faces; the first one
    // installed wins.
    QFont::insertSubstitutions(
        QStringLiteral("Tahoma"),
        {QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Liberation Sans"),
         QStringLiteral("Arimo"), QStringLiteral("Arial")});
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"),
                               {QStringLiteral("Liberation Serif"), QStringLiteral("Tinos")});
}

QFont HandheldFont(int pixels, bool bold) {
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

namespace {

// The desktop's own style, its indicators and scroll bars scaled like the text.
class ZoomStyle : public QProxyStyle {
  public:
    explicit ZoomStyle(int zoom) : zoom_(zoom) {}
    int Zoom() const { return zoom_; }
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        const int base = QProxyStyle::pixelMetric(metric, option, widget);
        switch (metric) {
            case PM_IndicatorWidth:
            case PM_IndicatorHeight:
            case PM_ExclusiveIndicatorWidth:
            case PM_ExclusiveIndicatorHeight:
            case PM_CheckBoxLabelSpacing:
            case PM_RadioButtonLabelSpacing:
            case PM_ScrollBarExtent:
            case PM_ScrollBarSliderMin:
            case PM_HeaderMarkSize:
            case PM_MessageBoxIconSize:
                return base * zoom_;
            default:
                return base;
        }
    }

  private:
    int zoom_;
};

}  // namespace

void InstallZoomStyle(int zoom) {
    if (const auto* current = dynamic_cast<const ZoomStyle*>(QApplication::style())) {
        if (current->Zoom() == zoom) return;
    }
    QApplication::setStyle(new ZoomStyle(zoom));
}

void FitCaption(QMessageBox& box, int zoom) {
    QFont title = box.font();
    title.setBold(true);
    const int wanted = QFontMetrics(title).horizontalAdvance(box.windowTitle()) + 48 * zoom;
    // The box sets its own size from its layout: a row as wide as the caption holds it open.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
}

namespace {

const Resources* installed = nullptr;
std::map<int, QImage> strips;  // the bitmap strips, read once

QImage LoadEmbedded(const std::string& name) {
    QImage image;
    if (installed == nullptr) return image;
    if (std::optional<std::string_view> file = installed->File(name)) {
        image.loadFromData(reinterpret_cast<const uchar*>(file->data()),
                           static_cast<int>(file->size()), "PNG");
    }
    return image;
}

}  // namespace

void InstallImages(const Resources& resources) {
    if (installed == &resources) return;
    installed = &resources;
    strips.clear();
}

QIcon StripImage(int bitmap, int index, int zoom) {
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
    QPixmap pixmap = QPixmap::fromImage(LoadEmbedded(name));
    return pixmap.isNull()
               ? pixmap
               : pixmap.scaled(pixels, pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

}  // namespace qv
