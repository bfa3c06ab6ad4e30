#include "widgets/TLabel.h"

#include <QApplication>
#include <QEvent>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace vekaton {
namespace {

// The text height of a font of height 0: the application's own.
double NaturalPixelHeight() {
    return QFontInfo(QApplication::font()).pixelSize();
}

}  // namespace

TLabel::TLabel(QWidget* parent) : InstrumentWidget(parent) {
    ResetToDefaults();
    FitText();
}

const PropertyTable& TLabel::Properties() const {
    return PropertyList();
}

const PropertyTable& TLabel::PropertyList() {
    static const PropertyTable table = [] {
        using L = TLabel;
        PropertyTable t;
        t.push_back(StringProperty<L>("Caption", QString(), &L::Caption, &L::SetCaption));
        t.push_back(ColourProperty<L>("Color", kColourBtnFace, &L::Color, &L::SetColor));
        t.push_back(BooleanProperty<L>("Transparent", false, &L::Transparent, &L::SetTransparent));
        t.push_back(BooleanProperty<L>("AutoSize", true, &L::AutoSize, &L::SetAutoSize));
        t.push_back(ChoiceProperty<L>("Alignment", {"taLeftJustify", "taRightJustify", "taCenter"},
                                      kAlignLeft, &L::TextAlignment, &L::SetTextAlignment));
        AppendFontProperties(t, FontDefaults{QStringLiteral("Sans Serif"), 0, kColourWindowText});
        return t;
    }();
    return table;
}

QSize TLabel::sizeHint() const {
    const QFontMetricsF metrics(TextFont(NaturalPixelHeight()));
    const QString text = caption_.isEmpty() ? QStringLiteral(" ") : caption_;
    const QRectF box = metrics.boundingRect(QRectF(0, 0, 4000, 4000), Qt::AlignLeft, text);
    return {static_cast<int>(std::ceil(box.width())) + 2,
            static_cast<int>(std::ceil(box.height()))};
}

void TLabel::FitText() {
    if (autoSize_) {
        resize(sizeHint());
    }
}

void TLabel::changeEvent(QEvent* event) {
    InstrumentWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        FitText();
    }
}

void TLabel::PaintStatic(QPainter& painter, const QRectF& bounds) {
    if (!transparent_) {
        painter.fillRect(bounds, Shade(Color(), ColourRole::Face));
    }
    painter.setFont(TextFont(NaturalPixelHeight()));
    painter.setPen(Shade(FontColor(), ColourRole::Ink));
    const Qt::Alignment horizontal = alignment_ == kAlignRight    ? Qt::AlignRight
                                     : alignment_ == kAlignCenter ? Qt::AlignHCenter
                                                                  : Qt::AlignLeft;
    painter.drawText(bounds.adjusted(1, 0, -1, 0), horizontal | Qt::AlignTop, caption_);
}

}  // namespace vekaton
