#pragma once

#include <QPolygonF>
#include <QRectF>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace vekaton {

// One cell of a seven-segment display: which of the segments a to g (bits 0 to 6) are lit,
// and whether its decimal point is.
struct SegmentCell {
    std::uint8_t segments = 0;
    bool point = false;
    friend bool operator==(const SegmentCell&, const SegmentCell&) = default;
};

// The segments of a character: digits, '-', ' ', and the letters a seven-segment display can
// show (E, r, o, H, L, P). Anything else is blank.
std::uint8_t SegmentsOf(QChar character);

// Splits display text into cells; a '.' lights the point of the cell before it.
std::vector<SegmentCell> SegmentCells(const QString& text);

// The outlines of the seven segments of a cell drawn in box, with a slight forward slant.
std::array<QPolygonF, 7> SegmentShapes(const QRectF& box);
// Where the decimal point of a cell in box goes, and its radius.
QRectF PointShape(const QRectF& box);

}  // namespace vekaton
