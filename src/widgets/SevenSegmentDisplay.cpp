#include "widgets/SevenSegmentDisplay.h"

#include "widgets/StreamColour.h"

#include <QPainter>

#include <cmath>

namespace vekaton {
namespace {

constexpr double kCellAspect = 0.54;  // width of a digit to its height
constexpr double kCellPitch = 1.38;   // distance between digits, in digit widths

// Fits text into a number of cells: right-aligned, padded with blanks; text that does not
// fit shows dashes in every cell rather than wrong digits.
std::vector<SegmentCell> FitCells(const QString& text, int count) {
    std::vector<SegmentCell> cells = SegmentCells(text);
    if (static_cast<int>(cells.size()) > count) {
        return std::vector<SegmentCell>(static_cast<size_t>(count), SegmentCell{0x40, false});
    }
    cells.insert(cells.begin(), static_cast<size_t>(count) - cells.size(), SegmentCell{});
    return cells;
}

}  // namespace

SevenSegmentDisplay::SevenSegmentDisplay(QWidget* parent) : InstrumentWidget(parent) {}

void SevenSegmentDisplay::SetLeadingZeros(bool on) {
    if (on != leadingZeros_) {
        leadingZeros_ = on;
        RequestRepaint();
    }
}

std::vector<SegmentCell> SevenSegmentDisplay::ShownCells() const {
    return FitCells(DisplayText(), digits_);
}

QColor SevenSegmentDisplay::LitColour() const {
    // Digits read like text: at night they take the night's ink.
    return WarningShown() ? WarningColour() : Shade(onColour_, ColourRole::Ink);
}

QColor SevenSegmentDisplay::UnlitColour() const {
    return autoOffColour_ || Night().on
               ? DimmedColour(LitColour(), Shade(Color(), ColourRole::Face), 0.13)
               : ColourOf(offColour_);
}

QSize SevenSegmentDisplay::sizeHint() const {
    const int height = 56;
    const double cell = height * 0.72 * kCellAspect * kCellPitch;
    return {static_cast<int>(std::ceil(digits_ * cell + height * 0.3)), height};
}

QSize SevenSegmentDisplay::minimumSizeHint() const {
    return {digits_ * 8 + 6, 16};
}

void SevenSegmentDisplay::ValueChanged() {
    RequestRepaint();
}

std::vector<QRectF> SevenSegmentDisplay::CellBoxes(const QRectF& bounds) const {
    const double padding = std::min(bounds.height() * 0.14, bounds.width() * 0.06);
    const QRectF area = bounds.adjusted(padding, padding, -padding, -padding);
    const double cellWidth =
        std::min(area.height() * kCellAspect, area.width() / (digits_ * kCellPitch));
    const double cellHeight = cellWidth / kCellAspect;
    const double pitch = cellWidth * kCellPitch;
    const double total = pitch * digits_;
    const double left = area.center().x() - total / 2 + (pitch - cellWidth) * 0.35;
    const double top = area.center().y() - cellHeight / 2;
    std::vector<QRectF> boxes;
    for (int i = 0; i < digits_; ++i) {
        boxes.emplace_back(left + i * pitch, top, cellWidth, cellHeight);
    }
    return boxes;
}

void SevenSegmentDisplay::PaintStatic(QPainter& painter, const QRectF& bounds) {
    const QColor background = Shade(Color(), ColourRole::Face);
    const double radius = std::min(bounds.width(), bounds.height()) * 0.1;
    // A dark bezel with a recessed window.
    QLinearGradient bezel(bounds.topLeft(), bounds.bottomLeft());
    bezel.setColorAt(0.0, Shade(QColor(70, 72, 76), ColourRole::Metal));
    bezel.setColorAt(1.0, Shade(QColor(18, 18, 20), ColourRole::Metal));
    painter.setPen(Qt::NoPen);
    painter.setBrush(bezel);
    painter.drawRoundedRect(bounds, radius, radius);
    const double inset = std::max(1.5, std::min(bounds.width(), bounds.height()) * 0.05);
    const QRectF window = bounds.adjusted(inset, inset, -inset, -inset);
    QLinearGradient glass(window.topLeft(), window.bottomLeft());
    glass.setColorAt(0.0, background.darker(125));
    glass.setColorAt(0.25, background);
    glass.setColorAt(1.0, background.lighter(110));
    painter.setBrush(glass);
    painter.drawRoundedRect(window, radius * 0.6, radius * 0.6);

    painter.setBrush(UnlitColour());
    for (const QRectF& box : CellBoxes(bounds)) {
        for (const QPolygonF& segment : SegmentShapes(box)) {
            painter.drawPolygon(segment);
        }
        painter.drawEllipse(PointShape(box));
    }
}

void SevenSegmentDisplay::PaintDynamic(QPainter& painter, const QRectF& bounds) {
    const std::vector<SegmentCell> cells = ShownCells();
    const std::vector<QRectF> boxes = CellBoxes(bounds);
    const QColor lit = LitColour();
    painter.setPen(Qt::NoPen);
    painter.setBrush(lit);
    for (size_t i = 0; i < cells.size() && i < boxes.size(); ++i) {
        if (cells[i].segments != 0) {
            const auto shapes = SegmentShapes(boxes[i]);
            for (int s = 0; s < 7; ++s) {
                if ((cells[i].segments & (1 << s)) != 0) {
                    painter.drawPolygon(shapes[static_cast<size_t>(s)]);
                }
            }
        }
        if (cells[i].point) {
            painter.drawEllipse(PointShape(boxes[i]));
        }
    }
}

}  // namespace vekaton
