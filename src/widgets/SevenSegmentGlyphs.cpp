#include "widgets/SevenSegmentGlyphs.h"

#include <QTransform>

#include <algorithm>

namespace vekaton {
namespace {

constexpr double kSlant = 0.08;  // forward lean, as a share of the cell's height

double Thickness(const QRectF& box) {
    return std::min(box.width() * 0.2, box.height() * 0.11);
}

QPolygonF Horizontal(double left, double right, double y, double t) {
    const double gap = t * 0.14;
    const double half = t / 2;
    return QPolygonF({{left + gap, y},
                      {left + gap + half, y - half},
                      {right - gap - half, y - half},
                      {right - gap, y},
                      {right - gap - half, y + half},
                      {left + gap + half, y + half}});
}

QPolygonF Vertical(double x, double top, double bottom, double t) {
    const double gap = t * 0.14;
    const double half = t / 2;
    return QPolygonF({{x, top + gap},
                      {x + half, top + gap + half},
                      {x + half, bottom - gap - half},
                      {x, bottom - gap},
                      {x - half, bottom - gap - half},
                      {x - half, top + gap + half}});
}

QTransform Lean(const QRectF& box) {
    // Shear about the cell's middle so that the cell keeps its place.
    const double cy = box.center().y();
    return QTransform(1, 0, -kSlant, 1, kSlant * cy, 0);
}

}  // namespace

std::uint8_t SegmentsOf(QChar character) {
    static constexpr std::array<std::uint8_t, 10> kDigits{0x3F, 0x06, 0x5B, 0x4F, 0x66,
                                                          0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    const char16_t c = character.unicode();
    if (c >= u'0' && c <= u'9') {
        return kDigits[c - u'0'];
    }
    switch (c) {
        case u'-':
            return 0x40;
        case u'E':
            return 0x79;
        case u'r':
            return 0x50;
        case u'o':
            return 0x5C;
        case u'H':
            return 0x76;
        case u'L':
            return 0x38;
        case u'P':
            return 0x73;
        default:
            return 0;
    }
}

std::vector<SegmentCell> SegmentCells(const QString& text) {
    std::vector<SegmentCell> cells;
    for (const QChar c : text) {
        if (c == QLatin1Char('.')) {
            if (cells.empty() || cells.back().point) {
                cells.push_back(SegmentCell{0, false});
            }
            cells.back().point = true;
        } else {
            cells.push_back(SegmentCell{SegmentsOf(c), false});
        }
    }
    return cells;
}

std::array<QPolygonF, 7> SegmentShapes(const QRectF& box) {
    const double t = Thickness(box);
    const double left = box.left() + t / 2;
    const double right = box.right() - t / 2;
    const double top = box.top() + t / 2;
    const double middle = box.center().y();
    const double bottom = box.bottom() - t / 2;
    const QTransform lean = Lean(box);
    return {lean.map(Horizontal(left, right, top, t)),      // a
            lean.map(Vertical(right, top, middle, t)),      // b
            lean.map(Vertical(right, middle, bottom, t)),   // c
            lean.map(Horizontal(left, right, bottom, t)),   // d
            lean.map(Vertical(left, middle, bottom, t)),    // e
            lean.map(Vertical(left, top, middle, t)),       // f
            lean.map(Horizontal(left, right, middle, t))};  // g
}

QRectF PointShape(const QRectF& box) {
    const double t = Thickness(box);
    const double r = t * 0.62;
    const QPointF centre = Lean(box).map(QPointF(box.right() + t * 1.05, box.bottom() - r));
    return {centre.x() - r, centre.y() - r, 2 * r, 2 * r};
}

}  // namespace vekaton
