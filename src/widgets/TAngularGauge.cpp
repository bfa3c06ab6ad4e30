#include "widgets/TAngularGauge.h"

#include "widgets/ScaleMath.h"
#include "widgets/StreamColour.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

namespace vekaton {
namespace {

constexpr double kFaceShare = 0.92;    // face radius as a share of the whole dial's radius
constexpr double kSmallestText = 7.0;  // pixels; smaller text is left out rather than smudged

double Radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

const QColor kMinimumMarker(30, 110, 255);
const QColor kMaximumMarker(255, 120, 0);

}  // namespace

TAngularGauge::TAngularGauge(QWidget* parent) : RangeInstrument(parent) {
    ResetToDefaults();
}

template <int N>
void TAngularGauge::AppendSection(PropertyTable& table, ColourValue colour) {
    const std::string prefix = "Section" + std::to_string(N);
    constexpr double kLimit = 1e12;
    table.push_back(FloatProperty<TAngularGauge>(prefix + "Start", 0.0, -kLimit, kLimit,
                                                 &TAngularGauge::SectionStartOf<N>,
                                                 &TAngularGauge::SetSectionStartOf<N>));
    table.push_back(FloatProperty<TAngularGauge>(prefix + "End", 0.0, -kLimit, kLimit,
                                                 &TAngularGauge::SectionEndOf<N>,
                                                 &TAngularGauge::SetSectionEndOf<N>));
    table.push_back(ColourProperty<TAngularGauge>(prefix + "Color", colour,
                                                  &TAngularGauge::SectionColorOf<N>,
                                                  &TAngularGauge::SetSectionColorOf<N>));
}

const PropertyTable& TAngularGauge::Properties() const {
    return PropertyList();
}

const PropertyTable& TAngularGauge::PropertyList() {
    static const PropertyTable table = [] {
        using G = TAngularGauge;
        PropertyTable t;
        AppendRangeProperties<G>(t, 100.0, 10, 5);
        t.push_back(ColourProperty<G>("Color", RgbColour(255, 255, 255), &G::Color, &G::SetColor));
        t.push_back(ColourProperty<G>("NeedleColor", RgbColour(220, 20, 20), &G::NeedleColor,
                                      &G::SetNeedleColor));
        t.push_back(IntegerProperty<G>("ArcAngle", 270, 90, 340, &G::ArcAngle, &G::SetArcAngle));
        t.push_back(BooleanProperty<G>("ShowValue", true, &G::ShowValue, &G::SetShowValue));
        t.push_back(IntegerProperty<G>("Decimals", 0, 0, 6, &G::Decimals, &G::SetDecimals));
        AppendSection<1>(t, RgbColour(0, 170, 60));
        AppendSection<2>(t, RgbColour(255, 190, 0));
        AppendSection<3>(t, RgbColour(230, 20, 20));
        AppendFontProperties(t, FontDefaults{QStringLiteral("Sans Serif"), 0, 0, 0});
        return t;
    }();
    return table;
}

void TAngularGauge::SetNeedleColor(ColourValue colour) {
    if (colour != needleColour_) {
        needleColour_ = colour;
        RequestRepaint();
    }
}

void TAngularGauge::SetDecimals(int decimals) {
    SetAppearance(decimals_, std::clamp(decimals, 0, 6));  // the readout is sized with them
}

double TAngularGauge::SectionStart(int section) const {
    return section >= 1 && section <= kSectionCount ? sections_[section - 1].start : 0.0;
}

double TAngularGauge::SectionEnd(int section) const {
    return section >= 1 && section <= kSectionCount ? sections_[section - 1].end : 0.0;
}

ColourValue TAngularGauge::SectionColor(int section) const {
    return section >= 1 && section <= kSectionCount ? sections_[section - 1].colour : 0;
}

void TAngularGauge::SetSection(int section, double start, double end, ColourValue colour) {
    if (section < 1 || section > kSectionCount || !std::isfinite(start) || !std::isfinite(end)) {
        return;
    }
    Section& target = sections_[section - 1];
    if (target.start != start || target.end != end || target.colour != colour) {
        target = Section{start, end, colour};
        InvalidateStatic();
    }
}

TAngularGauge::Dial TAngularGauge::DialIn(const QRectF& bounds) const {
    const double side = std::min(bounds.width(), bounds.height());
    return Dial{bounds.center(), std::max(1.0, side / 2.0 - 0.5) * kFaceShare};
}

double TAngularGauge::AngleOf(double value) const {
    return 90.0 + arcAngle_ / 2.0 - arcAngle_ * Fraction(value);
}

QPointF TAngularGauge::PointAt(const Dial& dial, double angle, double radius) const {
    const double a = Radians(angle);
    return {dial.centre.x() + radius * std::cos(a), dial.centre.y() - radius * std::sin(a)};
}

bool TAngularGauge::Legible(double automaticHeight) const {
    return FontHeight() != 0 || automaticHeight >= kSmallestText;
}

bool TAngularGauge::ReadoutShown(const Dial& dial) const {
    return showValue_ && Legible(ReadoutRect(dial).height() * 0.78);
}

QRectF TAngularGauge::ReadoutRect(const Dial& dial) const {
    const double f = dial.radius;
    const double top = HalfDial() ? 0.5 : 0.42;
    return {dial.centre.x() - 0.28 * f, dial.centre.y() + top * f, 0.56 * f, 0.21 * f};
}

void TAngularGauge::PaintStatic(QPainter& painter, const QRectF& bounds) {
    const Dial dial = DialIn(bounds);
    readoutFont_ = ReadoutFont(ReadoutRect(dial));
    PaintBezelAndFace(painter, dial);
    PaintSections(painter, dial);
    PaintTicksAndLabels(painter, dial);
    PaintTexts(painter, dial);
}

void TAngularGauge::PaintBezelAndFace(QPainter& painter, const Dial& dial) const {
    const double outer = dial.radius / kFaceShare;
    const QPointF c = dial.centre;
    const QRectF box(c.x() - outer, c.y() - outer, 2 * outer, 2 * outer);

    QLinearGradient bezel(box.topLeft(), box.bottomRight());
    bezel.setColorAt(0.0, Shade(QColor(245, 245, 248), ColourRole::Metal));
    bezel.setColorAt(0.45, Shade(QColor(150, 152, 158), ColourRole::Metal));
    bezel.setColorAt(1.0, Shade(QColor(45, 46, 50), ColourRole::Metal));
    painter.setPen(QPen(Shade(QColor(30, 30, 32), ColourRole::Metal), 1.0));
    painter.setBrush(bezel);
    painter.drawEllipse(c, outer - 0.5, outer - 0.5);

    QLinearGradient ring(box.topLeft(), box.bottomRight());
    ring.setColorAt(0.0, Shade(QColor(60, 61, 66), ColourRole::Metal));
    ring.setColorAt(1.0, Shade(QColor(230, 230, 234), ColourRole::Metal));
    painter.setPen(Qt::NoPen);
    painter.setBrush(ring);
    const double ringRadius = dial.radius + std::max(1.0, outer * 0.035);
    painter.drawEllipse(c, ringRadius, ringRadius);

    const QColor face = Shade(Color(), ColourRole::Face);
    QRadialGradient shade(c - QPointF(0, dial.radius * 0.3), dial.radius * 1.3);
    shade.setColorAt(0.0, face.lighter(104));
    shade.setColorAt(1.0, face.darker(118));
    painter.setBrush(shade);
    painter.drawEllipse(c, dial.radius, dial.radius);
}

void TAngularGauge::PaintSections(QPainter& painter, const Dial& dial) const {
    const double f = dial.radius;
    const double bandWidth = f * 0.075;
    const double bandRadius = f * 0.955 - bandWidth / 2.0;
    const QRectF arcBox(dial.centre.x() - bandRadius, dial.centre.y() - bandRadius, 2 * bandRadius,
                        2 * bandRadius);
    for (const Section& section : sections_) {
        if (section.start == section.end) {
            continue;
        }
        const double from = AngleOf(std::min(section.start, section.end));
        const double to = AngleOf(std::max(section.start, section.end));
        if (from == to) {
            continue;  // lies outside the range
        }
        painter.setPen(
            QPen(Shade(section.colour, ColourRole::Signal), bandWidth, Qt::SolidLine, Qt::FlatCap));
        painter.setBrush(Qt::NoBrush);
        painter.drawArc(arcBox, static_cast<int>(std::lround(from * 16)),
                        static_cast<int>(std::lround((to - from) * 16)));
    }
}

void TAngularGauge::PaintTicksAndLabels(QPainter& painter, const Dial& dial) const {
    const double f = dial.radius;
    const QColor tick = Shade(TickColor(), ColourRole::Ink);
    const int majors = MajorTicks();
    const int minors = std::max(1, MinorTicks());
    const double tickOuter = f * 0.955;

    QPen minorPen(tick, std::max(0.7, f * 0.011), Qt::SolidLine, Qt::FlatCap);
    painter.setPen(minorPen);
    for (int i = 0; i < majors; ++i) {
        for (int j = 1; j < minors; ++j) {
            const double fraction = (i + static_cast<double>(j) / minors) / majors;
            const double angle = 90.0 + arcAngle_ / 2.0 - arcAngle_ * fraction;
            painter.drawLine(PointAt(dial, angle, tickOuter), PointAt(dial, angle, f * 0.88));
        }
    }
    QPen majorPen(tick, std::max(1.2, f * 0.026), Qt::SolidLine, Qt::FlatCap);
    painter.setPen(majorPen);
    for (int i = 0; i <= majors; ++i) {
        const double angle = 90.0 + arcAngle_ / 2.0 - arcAngle_ * i / majors;
        painter.drawLine(PointAt(dial, angle, tickOuter), PointAt(dial, angle, f * 0.82));
    }

    // Labels as large as the gaps between them allow; where even that is too small to read,
    // only every second (fourth, ...) major tick is labelled.
    const int decimals = ScaleDecimals(Minimum(), Maximum(), majors);
    QStringList labels;
    for (int i = 0; i <= majors; ++i) {
        labels << FormatNumber(Minimum() + (Maximum() - Minimum()) * i / majors, decimals);
    }
    const double labelRadius = f * 0.64;
    const QFont base = TextFont(std::max(f * 0.16, kSmallestText));
    double widest = 0.0;
    for (const QString& label : labels) {
        widest = std::max(widest, QFontMetricsF(base).horizontalAdvance(label));
    }
    QFont font = base;
    int stride = 1;
    for (int candidate = 1; candidate <= majors && FontHeight() == 0; ++candidate) {
        if (majors % candidate != 0) {
            continue;
        }
        const double gap = 2.0 * labelRadius *
                           std::sin(Radians(std::min(170.0, arcAngle_ / 2.0 * candidate / majors)));
        const double room = std::min(gap * 0.92, f * 0.55);
        const double size = widest > room ? base.pixelSize() * room / widest
                                          : static_cast<double>(base.pixelSize());
        stride = candidate;
        font.setPixelSize(std::max(5, static_cast<int>(size)));
        if (size >= kSmallestText) {
            break;
        }
    }
    painter.setFont(font);
    painter.setPen(Shade(FontColor(), ColourRole::Ink));
    const QFontMetricsF metrics(font);
    for (int i = 0; i <= majors; i += stride) {
        const double angle = 90.0 + arcAngle_ / 2.0 - arcAngle_ * i / majors;
        const QPointF at = PointAt(dial, angle, labelRadius);
        const double w = metrics.horizontalAdvance(labels[i]);
        const QRectF box(at.x() - w / 2.0 - 2, at.y() - metrics.height() / 2.0, w + 4,
                         metrics.height());
        painter.drawText(box, Qt::AlignCenter, labels[i]);
    }
}

void TAngularGauge::PaintTexts(QPainter& painter, const Dial& dial) const {
    const double f = dial.radius;
    const QPointF c = dial.centre;
    painter.setPen(Shade(FontColor(), ColourRole::Ink));
    if (!Caption().isEmpty() && Legible(f * 0.14)) {
        QFont font = TextFont(f * 0.14);
        font.setBold(true);
        // Inside the ring of scale numbers: a long caption shrinks (down to what is still
        // legible) before it is cut, and never runs over the numbers beside it.
        const double top = HalfDial() ? 0.12 : -0.40;
        const double width = HalfDial() ? f * 1.1 : f * 0.76;
        const QRectF box(c.x() - width / 2.0, c.y() + top * f, width, f * 0.2);
        const double wide = QFontMetricsF(font).horizontalAdvance(Caption());
        if (FontHeight() == 0 && wide > box.width() && font.pixelSize() > 0) {
            const int fitting = static_cast<int>(font.pixelSize() * box.width() / wide);
            font.setPixelSize(std::max(static_cast<int>(kSmallestText), fitting));
        }
        painter.setFont(font);
        painter.drawText(box, Qt::AlignCenter,
                         QFontMetricsF(font).elidedText(Caption(), Qt::ElideRight, box.width()));
    }
    if (!Units().isEmpty() && Legible(f * 0.11)) {
        const QFont font = TextFont(f * 0.11);
        painter.setFont(font);
        const double top = HalfDial() ? 0.32 : 0.16;
        const QRectF box(c.x() - f * 0.5, c.y() + top * f, f * 1.0, f * 0.16);
        painter.drawText(box, Qt::AlignCenter,
                         QFontMetricsF(font).elidedText(Units(), Qt::ElideRight, box.width()));
    }
    if (ReadoutShown(dial)) {
        const QRectF box = ReadoutRect(dial);
        const QColor face = Shade(Color(), ColourRole::Face);
        const bool dark = face.lightnessF() < 0.35;
        painter.setPen(QPen(dark ? face.lighter(260) : face.darker(160), std::max(0.8, f * 0.01)));
        painter.setBrush(dark ? face.lighter(170) : face.darker(112));
        painter.drawRoundedRect(box, box.height() * 0.18, box.height() * 0.18);
    }
}

void TAngularGauge::PaintDynamic(QPainter& painter, const QRectF& bounds) {
    const Dial dial = DialIn(bounds);
    if (ShowMinMax()) {
        PaintMarker(painter, dial, CurrentMinimum(), Shade(kMinimumMarker, ColourRole::Signal));
        PaintMarker(painter, dial, CurrentMaximum(), Shade(kMaximumMarker, ColourRole::Signal));
    }
    if (ReadoutShown(dial)) {
        // The read-out tells the value itself, also where the needle is pegged.
        painter.setFont(readoutFont_);
        painter.setPen(WarningShown() ? WarningColour() : Shade(FontColor(), ColourRole::Ink));
        painter.drawText(ReadoutRect(dial), Qt::AlignCenter, FormatNumber(Reading(), decimals_));
    }
    PaintOverRange(painter, dial);
    PaintNeedle(painter, dial);
}

QFont TAngularGauge::ReadoutFont(const QRectF& box) const {
    // Sized once for the widest value the range can show, so that the digits keep their size
    // while the value changes.
    QFont font = TextFont(box.height() * 0.78);
    font.setBold(true);
    if (FontHeight() == 0) {
        const QFontMetricsF metrics(font);
        const double widest =
            std::max({metrics.horizontalAdvance(FormatNumber(Minimum(), decimals_)),
                      metrics.horizontalAdvance(FormatNumber(Maximum(), decimals_)),
                      metrics.horizontalAdvance(QStringLiteral("88"))});
        if (widest > box.width() * 0.9) {
            font.setPixelSize(
                std::max(5, static_cast<int>(font.pixelSize() * box.width() * 0.9 / widest)));
        }
    }
    return font;
}

void TAngularGauge::PaintMarker(QPainter& painter, const Dial& dial, double value,
                                const QColor& colour) const {
    const double f = dial.radius;
    const double angle = AngleOf(value);
    const double half = std::max(2.0, f * 0.045);
    const QPointF tip = PointAt(dial, angle, f * 0.83);
    const QPointF base = PointAt(dial, angle, f * 0.975);
    const double a = Radians(angle);
    const QPointF across(half * std::sin(a), half * std::cos(a));
    const QPointF points[3] = {tip, base + across, base - across};
    // Fills only: outlines cost a stroke on every repaint.
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(points, 3);
}

void TAngularGauge::PaintNeedle(QPainter& painter, const Dial& dial) const {
    const double f = dial.radius;
    const QColor colour =
        WarningShown() ? WarningColour() : Shade(needleColour_, ColourRole::Signal);
    const double tip = f * 0.86;
    const double tail = f * 0.2;
    const double root = std::max(1.5, f * 0.04);
    const double point = std::max(0.5, f * 0.008);

    painter.save();
    painter.translate(dial.centre);
    painter.rotate(-AngleOf(Position()));
    // Two halves in a lighter and a darker shade make a ridge along the needle.
    const QPointF upper[5] = {
        {-tail, 0}, {-tail, -root * 0.8}, {0, -root}, {tip, -point}, {tip, 0}};
    const QPointF lower[5] = {{-tail, 0}, {-tail, root * 0.8}, {0, root}, {tip, point}, {tip, 0}};
    const QPointF outline[5] = {
        {-tail, -root * 0.8}, {0, -root}, {tip, -point}, {tip, point}, {-tail, root * 0.8}};
    // An opaque shadow: translucent fills cost several times more on every repaint.
    painter.setPen(Qt::NoPen);
    painter.setBrush(DimmedColour(Shade(Color(), ColourRole::Face), QColor(0, 0, 0), 0.72));
    painter.translate(f * 0.02, f * 0.03);
    painter.drawPolygon(outline, 5);
    painter.translate(-f * 0.02, -f * 0.03);
    painter.setBrush(colour.lighter(125));
    painter.drawPolygon(upper, 5);
    painter.setBrush(colour.darker(125));
    painter.drawPolygon(lower, 5);
    painter.restore();

    const double hub = std::max(2.5, f * 0.085);
    const double rim = std::max(0.6, f * 0.01);
    painter.setBrush(Shade(QColor(10, 10, 12), ColourRole::Metal));
    painter.drawEllipse(dial.centre, hub, hub);
    QRadialGradient metal(dial.centre - QPointF(hub * 0.35, hub * 0.35), hub * 1.4);
    metal.setColorAt(0.0, Shade(QColor(150, 152, 158), ColourRole::Metal));
    metal.setColorAt(1.0, Shade(QColor(20, 20, 24), ColourRole::Metal));
    painter.setBrush(metal);
    painter.drawEllipse(dial.centre, hub - rim, hub - rim);
}

void TAngularGauge::PaintOverRange(QPainter& painter, const Dial& dial) const {
    const int over = OverRange();
    if (over == 0) {
        return;
    }
    // An arrow past the end of the scale, pointing on in the direction the value went: the
    // needle is pegged, the value is beyond.
    const double f = dial.radius;
    const double end = AngleOf(over > 0 ? Maximum() : Minimum());
    const double ahead = over > 0 ? -1.0 : 1.0;  // angles fall as values rise
    const double room = std::min(15.0, (360.0 - arcAngle_) / 2.0 - 1.0);
    const QPointF points[3] = {PointAt(dial, end + ahead * room, f * 0.88),
                               PointAt(dial, end + ahead * 1.5, f * 0.74),
                               PointAt(dial, end + ahead * 1.5, f * 1.02)};
    painter.setPen(Qt::NoPen);
    painter.setBrush(WarningColour());
    painter.drawPolygon(points, 3);
}

}  // namespace vekaton
