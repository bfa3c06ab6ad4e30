#include "widgets/TSliderSwitch.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace vekaton {

TSliderSwitch::TSliderSwitch(QWidget* parent) : InstrumentWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    ResetToDefaults();
}

const PropertyTable& TSliderSwitch::Properties() const {
    return PropertyList();
}

const PropertyTable& TSliderSwitch::PropertyList() {
    static const PropertyTable table = [] {
        using S = TSliderSwitch;
        PropertyTable t;
        t.push_back(
            IntegerProperty<S>("PositionCount", 2, 2, 10, &S::PositionCount, &S::SetPositionCount));
        t.push_back(IntegerProperty<S>("Position", 0, 0, 9, &S::Position, &S::SetPosition));
        t.push_back(
            StringProperty<S>("Captions", QStringLiteral("Off,On"), &S::Captions, &S::SetCaptions));
        t.push_back(ChoiceProperty<S>("Orientation", {"orHorizontal", "orVertical"}, kHorizontal,
                                      &S::SwitchOrientation, &S::SetSwitchOrientation));
        t.push_back(ColourProperty<S>("Color", RgbColour(70, 72, 78), &S::Color, &S::SetColor));
        t.push_back(ColourProperty<S>("ActiveColor", RgbColour(40, 170, 70), &S::ActiveColor,
                                      &S::SetActiveColor));
        t.push_back(ColourProperty<S>("ThumbColor", RgbColour(245, 245, 245), &S::ThumbColor,
                                      &S::SetThumbColor));
        AppendFontProperties(
            t, FontDefaults{QStringLiteral("Sans Serif"), 0, RgbColour(255, 255, 255), kFontBold});
        return t;
    }();
    return table;
}

void TSliderSwitch::SetPosition(int position) {
    position = std::clamp(position, 0, positionCount_ - 1);
    if (position != position_) {
        position_ = position;
        RequestRepaint();
    }
}

void TSliderSwitch::SetPositionCount(int count) {
    SetAppearance(positionCount_, std::clamp(count, 2, 10));
    SetPosition(position_);
}

void TSliderSwitch::SetActiveColor(ColourValue colour) {
    if (colour != activeColour_) {
        activeColour_ = colour;
        RequestRepaint();
    }
}

void TSliderSwitch::SetThumbColor(ColourValue colour) {
    if (colour != thumbColour_) {
        thumbColour_ = colour;
        RequestRepaint();
    }
}

QString TSliderSwitch::CaptionOf(int stop) const {
    const QStringList parts = captions_.split(QLatin1Char(','));
    return stop >= 0 && stop < parts.size() ? parts[stop].trimmed() : QString::number(stop);
}

QSize TSliderSwitch::sizeHint() const {
    return orientation_ == kHorizontal ? QSize(36 * positionCount_ + 8, 30)
                                       : QSize(48, 26 * positionCount_ + 8);
}

QSize TSliderSwitch::minimumSizeHint() const {
    return orientation_ == kHorizontal ? QSize(12 * positionCount_, 10)
                                       : QSize(14, 10 * positionCount_);
}

QRectF TSliderSwitch::Track(const QRectF& bounds) const {
    const double pad = std::max(1.0, std::min(bounds.width(), bounds.height()) * 0.06);
    return bounds.adjusted(pad, pad, -pad, -pad);
}

QRectF TSliderSwitch::StopRect(const QRectF& bounds, int stop) const {
    const QRectF track = Track(bounds);
    if (orientation_ == kHorizontal) {
        const double w = track.width() / positionCount_;
        return {track.left() + stop * w, track.top(), w, track.height()};
    }
    // Vertical switches count upwards, like a lever pushed up.
    const double h = track.height() / positionCount_;
    return {track.left(), track.bottom() - (stop + 1) * h, track.width(), h};
}

int TSliderSwitch::StopAt(const QPointF& point) const {
    const QRectF track = Track(QRectF(rect()));
    const double fraction = orientation_ == kHorizontal
                                ? (point.x() - track.left()) / track.width()
                                : (track.bottom() - point.y()) / track.height();
    return std::clamp(static_cast<int>(std::floor(fraction * positionCount_)), 0,
                      positionCount_ - 1);
}

void TSliderSwitch::PaintStatic(QPainter& painter, const QRectF& bounds) {
    const QRectF track = Track(bounds);
    const double corner = std::min(track.width(), track.height()) / 2;
    const QColor base = Shade(Color(), ColourRole::Face);
    QLinearGradient well(track.topLeft(), track.bottomLeft());
    well.setColorAt(0.0, base.darker(150));
    well.setColorAt(1.0, base.lighter(115));
    painter.setPen(QPen(base.darker(220), 1.0));
    painter.setBrush(well);
    painter.drawRoundedRect(track, corner, corner);
}

void TSliderSwitch::PaintDynamic(QPainter& painter, const QRectF& bounds) {
    const QRectF track = Track(bounds);
    const double corner = std::min(track.width(), track.height()) / 2;
    if (position_ > 0) {
        // The track lights up to the thumb.
        const QRectF stop = StopRect(bounds, position_);
        const QRectF lit = orientation_ == kHorizontal
                               ? QRectF(track.topLeft(), QPointF(stop.right(), track.bottom()))
                               : QRectF(QPointF(track.left(), stop.top()), track.bottomRight());
        painter.setPen(Qt::NoPen);
        painter.setBrush(Shade(activeColour_, ColourRole::Signal));
        painter.drawRoundedRect(lit, corner, corner);
    }
    const double textHeight =
        std::min(StopRect(bounds, 0).height() * 0.5, StopRect(bounds, 0).width() * 0.4);
    QFont font = TextFont(textHeight);
    if (FontHeight() == 0) {
        // Captions shrink until the longest fits its stop.
        double widest = 0;
        for (int stop = 0; stop < positionCount_; ++stop) {
            widest = std::max(widest, QFontMetricsF(font).horizontalAdvance(CaptionOf(stop)));
        }
        const double room = StopRect(bounds, 0).width() * 0.8;
        if (widest > room && widest > 0) {
            font.setPixelSize(std::max(5, static_cast<int>(font.pixelSize() * room / widest)));
        }
    }
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    QColor idleText = Shade(FontColor(), ColourRole::Ink);
    idleText.setAlphaF(0.6f);
    for (int stop = 0; stop < positionCount_; ++stop) {
        if (stop == position_) {
            continue;
        }
        const QRectF box = StopRect(bounds, stop);
        painter.setPen(idleText);
        painter.drawText(box, Qt::AlignCenter,
                         metrics.elidedText(CaptionOf(stop), Qt::ElideRight, box.width() - 2));
    }

    const QRectF stop = StopRect(bounds, position_);
    const double inset = std::max(1.0, std::min(stop.width(), stop.height()) * 0.07);
    const QRectF thumb = stop.adjusted(inset, inset, -inset, -inset);
    const double thumbCorner = std::min(thumb.width(), thumb.height()) / 2;
    const QColor thumbColour = Shade(thumbColour_, ColourRole::Metal);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 70));
    painter.drawRoundedRect(thumb.translated(0, inset * 0.8), thumbCorner, thumbCorner);
    QLinearGradient shade(thumb.topLeft(), thumb.bottomLeft());
    shade.setColorAt(0.0, thumbColour.lighter(108));
    shade.setColorAt(1.0, thumbColour.darker(125));
    painter.setBrush(thumbColour.darker(170));
    painter.drawRoundedRect(thumb, thumbCorner, thumbCorner);
    painter.setBrush(shade);
    painter.drawRoundedRect(thumb.adjusted(0.8, 0.8, -0.8, -0.8), thumbCorner - 0.8,
                            thumbCorner - 0.8);
    painter.setPen(Night().on                       ? Shade(FontColor(), ColourRole::Ink)
                   : thumbColour.lightnessF() > 0.5 ? QColor(30, 30, 30)
                                                    : QColor(240, 240, 240));
    painter.drawText(thumb, Qt::AlignCenter,
                     metrics.elidedText(CaptionOf(position_), Qt::ElideRight, thumb.width() - 2));
}

void TSliderSwitch::MoveByUser(int position) {
    position = std::clamp(position, 0, positionCount_ - 1);
    if (position != position_) {
        SetPosition(position);
        emit PositionChanged(position_);
    }
}

void TSliderSwitch::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        InstrumentWidget::mousePressEvent(event);
        return;
    }
    // A two-way switch flips on any click, like a real one; others go to the stop clicked.
    if (positionCount_ == 2) {
        MoveByUser(1 - position_);
    } else {
        MoveByUser(StopAt(event->position()));
    }
}

void TSliderSwitch::mouseMoveEvent(QMouseEvent* event) {
    if ((event->buttons() & Qt::LeftButton) != 0 && positionCount_ > 2) {
        MoveByUser(StopAt(event->position()));
    }
}

void TSliderSwitch::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Right:
        case Qt::Key_Up:
            MoveByUser(position_ + 1);
            break;
        case Qt::Key_Left:
        case Qt::Key_Down:
            MoveByUser(position_ - 1);
            break;
        case Qt::Key_Space:
            MoveByUser(position_ + 1 < positionCount_ ? position_ + 1 : 0);
            break;
        default:
            InstrumentWidget::keyPressEvent(event);
    }
}

}  // namespace vekaton
