#include "widgets/StreamColour.h"

namespace vekaton {
namespace {

// The platform colour indexes of the stream's system colours, mapped to the nearest role of
// the Qt palette.
QColor SystemPaletteColour(int index, const QPalette& palette) {
    switch (index) {
        case 0:  // clScrollBar
            return palette.color(QPalette::Mid);
        case 1:   // clBackground
        case 12:  // clAppWorkSpace
            return palette.color(QPalette::Dark);
        case 2:   // clActiveCaption
        case 13:  // clHighlight
            return palette.color(QPalette::Highlight);
        case 3:   // clInactiveCaption
        case 11:  // clInactiveBorder
            return palette.color(QPalette::Inactive, QPalette::Highlight);
        case 4:   // clMenu
        case 10:  // clActiveBorder
        case 15:  // clBtnFace
            return palette.color(QPalette::Window);
        case 5:  // clWindow
            return palette.color(QPalette::Base);
        case 6:   // clWindowFrame
        case 21:  // cl3DDkShadow
            return palette.color(QPalette::Shadow);
        case 7:  // clMenuText
        case 8:  // clWindowText
            return palette.color(QPalette::WindowText);
        case 9:   // clCaptionText
        case 14:  // clHighlightText
            return palette.color(QPalette::HighlightedText);
        case 16:  // clBtnShadow
            return palette.color(QPalette::Dark);
        case 17:  // clGrayText
        case 19:  // clInactiveCaptionText
            return palette.color(QPalette::Disabled, QPalette::Text);
        case 18:  // clBtnText
            return palette.color(QPalette::ButtonText);
        case 20:  // clBtnHighlight
            return palette.color(QPalette::Light);
        case 22:  // cl3DLight
            return palette.color(QPalette::Midlight);
        case 23:  // clInfoText
            return palette.color(QPalette::ToolTipText);
        case 24:  // clInfoBk
            return palette.color(QPalette::ToolTipBase);
        case 26:  // clHotLight
            return palette.color(QPalette::Link);
        default:
            return palette.color(QPalette::Window);
    }
}

}  // namespace

QColor ToQColor(ColourValue colour, const QPalette& palette) {
    if (IsSystemColour(colour)) {
        return SystemPaletteColour(colour & 0xFF, palette);
    }
    if (colour == kColourNone) {
        return QColor(Qt::transparent);
    }
    if (colour == kColourDefault) {
        return palette.color(QPalette::Window);
    }
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

ColourValue FromQColor(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return RgbColour(rgb.red(), rgb.green(), rgb.blue());
}

QColor DimmedColour(const QColor& lit, const QColor& background, double strength) {
    const QColor a = lit.toRgb();
    const QColor b = background.toRgb();
    const auto mix = [strength](int x, int y) {
        return static_cast<int>(y + (x - y) * strength + 0.5);
    };
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

QColor ContrastingColour(const QColor& background) {
    const QColor rgb = background.toRgb();
    const double luminance = 0.299 * rgb.red() + 0.587 * rgb.green() + 0.114 * rgb.blue();
    return luminance > 140.0 ? QColor(Qt::black) : QColor(Qt::white);
}

}  // namespace vekaton
