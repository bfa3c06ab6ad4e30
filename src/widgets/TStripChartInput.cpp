// What the mouse and the keyboard do to the strip chart: zoom, scroll, cursors, and the channel
// the axis speaks for.
#include "widgets/TStripChart.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <cmath>

namespace vekaton {
namespace {

// A press and release closer than this is a click (a cursor), farther a drag (a pan).
constexpr double kClickSlop = 4.0;

}  // namespace

void TStripChart::wheelEvent(QWheelEvent* event) {
    const QRectF plot = PlotArea(QRectF(rect()));
    const double steps = event->angleDelta().y() / 120.0;
    if (steps == 0 || plot.width() <= 0 || plot.height() <= 0) {
        event->ignore();
        return;
    }
    const double factor = std::pow(0.8, steps);
    const QPointF at = event->position();
    const HeaderLayout& header = Header(QRectF(rect()));
    if (at.y() < plot.top() && header.rows > header.shownRows) {
        // Over a legend too long to show whole: scroll its rows.
        legendScroll_ =
            std::clamp(legendScroll_ + (steps > 0 ? -1 : 1), 0, header.rows - header.shownRows);
        LegendChanged();
        event->accept();
        return;
    }
    if ((event->modifiers() & Qt::ControlModifier) != 0) {
        const QRectF values = ValueArea(plot);
        const double value =
            viewBottom_ + (values.bottom() - at.y()) / values.height() * (viewTop_ - viewBottom_);
        ZoomY(factor, value);
    } else {
        const double x = ViewLeft() + (at.x() - plot.left()) / plot.width() * viewWidth_;
        ZoomX(factor, x);
    }
    event->accept();
}

void TStripChart::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragFrom_ = event->position();
        pressAt_ = event->position();
        dragged_ = false;
        event->accept();
        return;
    }
    InstrumentWidget::mousePressEvent(event);
}

void TStripChart::mouseMoveEvent(QMouseEvent* event) {
    if ((event->buttons() & Qt::LeftButton) == 0) {
        const int channel = ChannelAt(event->position());
        if (channel != hoveredChannel_) {
            hoveredChannel_ = channel;
            InvalidateStatic();  // the value axis speaks for another channel now
        }
        return;
    }
    if (!dragged_ && (event->position() - pressAt_).manhattanLength() < kClickSlop) {
        return;
    }
    dragged_ = true;
    const QPointF delta = event->position() - dragFrom_;
    dragFrom_ = event->position();
    // The data follows the mouse: dragging to the right shows earlier times.
    PanByPixels(-delta.x(), delta.y());
}

void TStripChart::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        InstrumentWidget::mouseReleaseEvent(event);
        return;
    }
    if (!dragged_) {
        const QRectF plot = PlotArea(QRectF(rect()));
        if (plot.contains(event->position())) {
            const std::int64_t sample = SampleAtPixel(event->position().x());
            if (sample != StripChartData::kNoSample) {
                const bool second = (event->modifiers() & Qt::ShiftModifier) != 0;
                SetCursor(second ? kCursorB : kCursorA, sample);
            }
        }
    }
    dragged_ = false;
    event->accept();
}

void TStripChart::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        ResetView();
    }
}

void TStripChart::leaveEvent(QEvent* event) {
    if (hoveredChannel_ != -1) {
        hoveredChannel_ = -1;
        InvalidateStatic();
    }
    InstrumentWidget::leaveEvent(event);
}

void TStripChart::keyPressEvent(QKeyEvent* event) {
    const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0;
    const double middle = ViewLeft() + viewWidth_ / 2;
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right: {
            const std::int64_t step = (event->key() == Qt::Key_Left ? -1 : 1) *
                                      ((event->modifiers() & Qt::ControlModifier) != 0 ? 10 : 1);
            MoveCursorBy(shift ? kCursorB : kCursorA, step);
            break;
        }
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            ZoomX(0.5, cursors_[0] ? Data().X(*cursors_[0]).value_or(middle) : middle);
            break;
        case Qt::Key_Minus:
            ZoomX(2.0, cursors_[0] ? Data().X(*cursors_[0]).value_or(middle) : middle);
            break;
        case Qt::Key_Home:
            ResetView();
            break;
        case Qt::Key_Escape:
        case Qt::Key_Delete:
            SetCursor(kCursorB, std::nullopt);
            SetCursor(kCursorA, std::nullopt);
            break;
        default:
            InstrumentWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

void TStripChart::MoveCursorBy(int which, std::int64_t samples) {
    if (Data().SampleCount() == 0) {
        return;
    }
    std::int64_t sample = cursors_[static_cast<std::size_t>(which)].value_or(
        Data().NearestSample(ViewLeft() + viewWidth_ / 2));
    sample = std::clamp(sample + samples, Data().FirstSample(), Data().EndSample() - 1);
    SetCursor(which, sample);
    // Keep the cursor in sight.
    if (const auto x = Data().X(sample); x && (*x < ViewLeft() || *x > ViewRight())) {
        SetViewWindow(*x - viewWidth_ / 2, *x + viewWidth_ / 2);
    }
}

void TStripChart::SetCursor(int which, std::optional<std::int64_t> sample) {
    if (which != kCursorA && which != kCursorB) {
        return;
    }
    if (sample && (*sample < Data().FirstSample() || *sample >= Data().EndSample())) {
        sample.reset();
    }
    auto& cursor = cursors_[static_cast<std::size_t>(which)];
    if (cursor == sample) {
        return;
    }
    cursor = sample;
    LegendChanged();
    emit cursorsChanged();
}

std::optional<std::int64_t> TStripChart::Cursor(int which) const {
    if (which != kCursorA && which != kCursorB) {
        return std::nullopt;
    }
    return cursors_[static_cast<std::size_t>(which)];
}

void TStripChart::SetSelectedChannel(int channel) {
    channel = channel >= 0 && channel < ChannelCount() ? channel : -1;
    if (channel != selectedChannel_) {
        selectedChannel_ = channel;
        InvalidateStatic();
    }
}

int TStripChart::HighlightedChannel() const {
    if (hoveredChannel_ >= 0 && hoveredChannel_ < ChannelCount()) {
        return hoveredChannel_;
    }
    return selectedChannel_ >= 0 && selectedChannel_ < ChannelCount() ? selectedChannel_ : -1;
}

std::int64_t TStripChart::SampleAtPixel(double x) const {
    const QRectF plot = PlotArea(QRectF(rect()));
    if (plot.width() <= 0) {
        return StripChartData::kNoSample;
    }
    return Data().NearestSample(ViewLeft() + (x - plot.left()) / plot.width() * viewWidth_);
}

}  // namespace vekaton
