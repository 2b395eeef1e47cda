// Fonts, images and the zoomed style of the program for Qt.
#include "platform/qt/qt_text.h"

#include <QApplication>
#include <QFontDatabase>
#include <QGridLayout>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOption>
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
            case PM_MenuButtonIndicator:
                // A tool button's menu arrow sits in its corner, growing with the zoom.
                return base + 4 * (zoom_ - 1);
            default:
                return base;
        }
    }

    // A menu item's shortcut keeps a gap from its text as wide as two letters at the zoom;
    // the desktop's own gap stays a few pixels.
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override {
        QSize grown = QProxyStyle::sizeFromContents(type, option, size, widget);
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (type == CT_MenuItem && item != nullptr && item->text.contains(u'\t'))
            grown.rwidth() += item->fontMetrics.horizontalAdvance(QStringLiteral("MM"));
        return grown;
    }

    // Arrows as large as the text: the desktop's own stay small at every zoom.
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        switch (element) {
            case PE_IndicatorArrowUp:
            case PE_IndicatorArrowDown:
            case PE_IndicatorArrowLeft:
            case PE_IndicatorArrowRight:
                return Arrow(element, option->rect, option->palette, option->state, painter);
            default:
                break;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override {
        if (control == CC_ComboBox && qstyleoption_cast<const QStyleOptionComboBox*>(option)) {
            // The box without its small arrow, then an arrow of the text's size.
            QStyleOptionComboBox box;
            if (const auto* combo = qstyleoption_cast<const QStyleOptionComboBox*>(option)) {
                box = *combo;
            }
            box.palette.setColor(QPalette::ButtonText, Qt::transparent);
            QProxyStyle::drawComplexControl(control, &box, painter, widget);
            if (option->subControls & SC_ComboBoxArrow) {
                const QRect r = subControlRect(control, option, SC_ComboBoxArrow, widget);
                Arrow(PE_IndicatorArrowDown, r, option->palette, option->state, painter);
            }
            return;
        }
        if (control == CC_ScrollBar) return ScrollBar(option, painter, widget);
        QProxyStyle::drawComplexControl(control, option, painter, widget);
    }

  private:
    // A filled triangle of 4 to 7 handheld pixels across, centred in `r`.
    void Arrow(PrimitiveElement direction, const QRect& r, const QPalette& palette,
               QStyle::State state, QPainter* painter) const {
        const int side = std::min({r.width(), r.height(), 7 * zoom_});
        if (side <= 0) return;
        const QPointF c = QRectF(r).center();
        const qreal h = side / 2.0;
        const qreal q = side / 4.0;  // half the arrow's depth
        QPolygonF points;
        switch (direction) {
            case PE_IndicatorArrowUp:
                points << QPointF(c.x() - h, c.y() + q) << QPointF(c.x() + h, c.y() + q)
                       << QPointF(c.x(), c.y() - q);
                break;
            case PE_IndicatorArrowDown:
                points << QPointF(c.x() - h, c.y() - q) << QPointF(c.x() + h, c.y() - q)
                       << QPointF(c.x(), c.y() + q);
                break;
            case PE_IndicatorArrowLeft:
                points << QPointF(c.x() + q, c.y() - h) << QPointF(c.x() + q, c.y() + h)
                       << QPointF(c.x() - q, c.y());
                break;
            default:
                points << QPointF(c.x() - q, c.y() - h) << QPointF(c.x() - q, c.y() + h)
                       << QPointF(c.x() + q, c.y());
                break;
        }
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(palette.color(
            (state & State_Enabled) ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
        painter->drawPolygon(points);
        painter->restore();
    }

    // A light groove with a darker, raised handle: the handle is what stands out.
    void ScrollBar(const QStyleOptionComplex* option, QPainter* painter,
                   const QWidget* widget) const {
        const QPalette& pal = option->palette;
        const bool enabled = (option->state & State_Enabled) != 0;
        const QRect handle = subControlRect(CC_ScrollBar, option, SC_ScrollBarSlider, widget);
        painter->save();
        painter->fillRect(option->rect, pal.color(QPalette::Window).lighter(104));
        painter->setPen(Qt::NoPen);
        for (SubControl button : {SC_ScrollBarSubLine, SC_ScrollBarAddLine}) {
            const QRect r = subControlRect(CC_ScrollBar, option, button, widget);
            if (r.isEmpty()) continue;
            const bool pressed =
                (option->activeSubControls & button) && (option->state & State_Sunken);
            painter->fillRect(r.adjusted(zoom_, zoom_, -zoom_, -zoom_),
                              pal.color(QPalette::Button).darker(pressed ? 120 : 104));
            const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
            const bool horizontal = bar != nullptr && bar->orientation == Qt::Horizontal;
            const bool sub = button == SC_ScrollBarSubLine;
            Arrow(horizontal ? (sub ? PE_IndicatorArrowLeft : PE_IndicatorArrowRight)
                             : (sub ? PE_IndicatorArrowUp : PE_IndicatorArrowDown),
                  r.adjusted(r.width() / 4, r.height() / 4, -r.width() / 4, -r.height() / 4), pal,
                  option->state, painter);
        }
        if (enabled && !handle.isEmpty()) {
            const QRect body = handle.adjusted(zoom_, zoom_, -zoom_, -zoom_);
            const bool active = (option->activeSubControls & SC_ScrollBarSlider) != 0;
            painter->setBrush(
                QColor(active ? 0x70 : 0x90, active ? 0x70 : 0x90, active ? 0x70 : 0x90));
            painter->setPen(QPen(QColor(0x50, 0x50, 0x50), zoom_));
            painter->drawRect(
                QRectF(body).adjusted(zoom_ / 2.0, zoom_ / 2.0, -zoom_ / 2.0, -zoom_ / 2.0));
        }
        painter->restore();
    }

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
