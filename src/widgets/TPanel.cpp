#include "widgets/TPanel.h"

#include <QApplication>
#include <QFontInfo>
#include <QPainter>

namespace vekaton {

TPanel::TPanel(QWidget* parent) : InstrumentWidget(parent) {
    ResetToDefaults();
}

const PropertyTable& TPanel::Properties() const {
    return PropertyList();
}

const PropertyTable& TPanel::PropertyList() {
    static const PropertyTable table = [] {
        using P = TPanel;
        PropertyTable t;
        t.push_back(StringProperty<P>("Caption", QString(), &P::Caption, &P::SetCaption));
        t.push_back(ColourProperty<P>("Color", kColourBtnFace, &P::Color, &P::SetColor));
        t.push_back(ChoiceProperty<P>("BevelOuter", {"bvNone", "bvLowered", "bvRaised"},
                                      kBevelRaised, &P::BevelStyle, &P::SetBevelStyle));
        t.push_back(ChoiceProperty<P>("Alignment", {"taLeftJustify", "taRightJustify", "taCenter"},
                                      kAlignCenter, &P::TextAlignment, &P::SetTextAlignment));
        AppendFontProperties(t, FontDefaults{QStringLiteral("Sans Serif"), 0, kColourWindowText});
        return t;
    }();
    return table;
}

void TPanel::PaintStatic(QPainter& painter, const QRectF& bounds) {
    const QColor face = Shade(Color(), ColourRole::Face);
    painter.fillRect(bounds, face);
    if (bevel_ != kBevelNone) {
        const QColor light = face.lighter(150);
        const QColor dark = face.darker(170);
        const QColor& topLeft = bevel_ == kBevelRaised ? light : dark;
        const QColor& bottomRight = bevel_ == kBevelRaised ? dark : light;
        const QRectF edge = bounds.adjusted(0.5, 0.5, -0.5, -0.5);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(topLeft);
        painter.drawLine(edge.topLeft(), edge.topRight());
        painter.drawLine(edge.topLeft(), edge.bottomLeft());
        painter.setPen(bottomRight);
        painter.drawLine(edge.bottomLeft(), edge.bottomRight());
        painter.drawLine(edge.topRight(), edge.bottomRight());
        painter.setRenderHint(QPainter::Antialiasing, true);
    }
    painter.setFont(TextFont(QFontInfo(QApplication::font()).pixelSize()));
    painter.setPen(Shade(FontColor(), ColourRole::Ink));
    const Qt::Alignment horizontal = alignment_ == kAlignRight    ? Qt::AlignRight
                                     : alignment_ == kAlignCenter ? Qt::AlignHCenter
                                                                  : Qt::AlignLeft;
    painter.drawText(bounds.adjusted(2, 0, -2, 0), horizontal | Qt::AlignVCenter, caption_);
}

}  // namespace vekaton
