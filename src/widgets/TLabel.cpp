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
    // In page pixels: what layouts keep, whatever scale the page is drawn at.
    const QFontMetricsF metrics(TextFontAt(NaturalPixelHeight(), 1.0));
    const QString text = caption_.isEmpty() ? QStringLiteral(" ") : caption_;
    const QRectF box = metrics.boundingRect(QRectF(0, 0, 4000, 4000), Qt::AlignLeft, text);
    return {static_cast<int>(std::ceil(box.width())) + 2,
            static_cast<int>(std::ceil(box.height()))};
}

void TLabel::FitText() {
    if (!autoSize_) {
        return;
    }
    const QSize natural = sizeHint();
    if (!HasPageGeometry()) {
        resize(natural);
        return;
    }
    // On a scaled page the text's own size is page geometry, drawn at the page's scale.
    SetPageGeometry(QRect(PageGeometry().topLeft(), natural));
    resize(static_cast<int>(std::lround(natural.width() * PageScale())),
           static_cast<int>(std::lround(natural.height() * PageScale())));
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
    QFont font = TextFont(NaturalPixelHeight() * PageScale());
    if (autoSize_ && PageScale() != 1.0 && !caption_.isEmpty()) {
        // Glyphs do not grow quite in proportion with their size: a scaled text that came out
        // wider than its scaled box is drawn a little smaller rather than cut short.
        const QRectF box = bounds.adjusted(1, 0, -1, 0);
        const double wide = QFontMetricsF(font)
                                .boundingRect(QRectF(0, 0, 8000, 8000), Qt::AlignLeft, caption_)
                                .width();
        if (wide > box.width() && font.pixelSize() > 1) {
            font.setPixelSize(
                std::max(1, static_cast<int>(std::floor(font.pixelSize() * box.width() / wide))));
        }
    }
    painter.setFont(font);
    painter.setPen(Shade(FontColor(), ColourRole::Ink));
    const Qt::Alignment horizontal = alignment_ == kAlignRight    ? Qt::AlignRight
                                     : alignment_ == kAlignCenter ? Qt::AlignHCenter
                                                                  : Qt::AlignLeft;
    painter.drawText(bounds.adjusted(1, 0, -1, 0), horizontal | Qt::AlignTop, caption_);
}

}  // namespace vekaton
