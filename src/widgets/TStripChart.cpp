#include "widgets/TStripChart.h"

#include <cmath>

namespace vekaton {
namespace {

constexpr double kSmallestWidth = 1e-3;
constexpr double kLargestWidth = 1e9;

}  // namespace

TStripChart::TStripChart(QWidget* parent) : TStripChart(std::make_shared<ChartStore>(), parent) {}

TStripChart::TStripChart(std::shared_ptr<ChartStore> store, QWidget* parent)
    : InstrumentWidget(parent), store_(std::move(store)) {
    // Tracking, so that hovering a trace labels the value axis in its units.
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    ResetToDefaults();
    store_->SetWatcher([this](ChartChange change) { StoreChanged(change); });
}

TStripChart::~TStripChart() {
    store_->SetWatcher({});
}

const PropertyTable& TStripChart::Properties() const {
    return PropertyList();
}

const PropertyTable& TStripChart::PropertyList() {
    static const PropertyTable table = [] {
        using C = TStripChart;
        constexpr double kLimit = 1e12;
        PropertyTable t;
        t.push_back(StringProperty<C>("Title", QString(), &C::Title, &C::SetTitle));
        t.push_back(
            FloatProperty<C>("YMinimum", 0.0, -kLimit, kLimit, &C::YMinimum, &C::SetYMinimum));
        t.push_back(
            FloatProperty<C>("YMaximum", 255.0, -kLimit, kLimit, &C::YMaximum, &C::SetYMaximum));
        t.push_back(FloatProperty<C>("WindowSeconds", 60.0, kSmallestWidth, kLargestWidth,
                                     &C::WindowSeconds, &C::SetWindowSeconds));
        t.push_back(ColourProperty<C>("Color", RgbColour(32, 34, 40), &C::Color, &C::SetColor));
        t.push_back(
            ColourProperty<C>("PlotColor", RgbColour(14, 16, 20), &C::PlotColor, &C::SetPlotColor));
        t.push_back(
            ColourProperty<C>("GridColor", RgbColour(58, 62, 70), &C::GridColor, &C::SetGridColor));
        t.push_back(IntegerProperty<C>("TraceWidth", 1, 1, 6, &C::TraceWidth, &C::SetTraceWidth));
        t.push_back(BooleanProperty<C>("ShowLegend", true, &C::ShowLegend, &C::SetShowLegend));
        AppendFontProperties(
            t, FontDefaults{QStringLiteral("Sans Serif"), 0, RgbColour(205, 208, 214), 0});
        return t;
    }();
    return table;
}

int TStripChart::AddChannel(ChartChannel channel) {
    const int index = store_->AddChannel(std::move(channel));
    LegendChanged();
    return index;
}

void TStripChart::SetChannel(int index, ChartChannel channel) {
    store_->SetChannel(index, std::move(channel));
    LegendChanged();
}

void TStripChart::RemoveChannel(int index) {
    if (index < 0 || index >= ChannelCount()) {
        return;
    }
    store_->RemoveChannel(index);
    const auto follow = [index](int& channel) {
        if (channel == index) {
            channel = -1;
        } else if (channel > index) {
            --channel;
        }
    };
    follow(selectedChannel_);
    follow(hoveredChannel_);
    LegendChanged();
}

void TStripChart::ClearChannels() {
    store_->ClearChannels();
    selectedChannel_ = -1;
    hoveredChannel_ = -1;
    LegendChanged();
}

void TStripChart::LegendChanged() {
    headerValid_ = false;
    InvalidateStatic();
    RequestRepaint();
}

void TStripChart::StoreChanged(ChartChange change) {
    if (change == ChartChange::Cleared) {
        // The samples the cursors stood on are gone.
        const bool hadCursor = cursors_[0] || cursors_[1];
        cursors_ = {};
        if (hadCursor) {
            LegendChanged();
            emit cursorsChanged();
        }
        return;
    }
    RequestRepaint();
}

void TStripChart::Clear() {
    store_->Clear();
}

void TStripChart::SetYMinimum(double value) {
    if (!std::isfinite(value) || value == yMinimum_) {
        return;
    }
    yMinimum_ = value;
    yMaximum_ = std::max(yMaximum_, yMinimum_);
    ResetValueRange();
    InvalidateStatic();
}

void TStripChart::SetYMaximum(double value) {
    if (!std::isfinite(value) || value == yMaximum_) {
        return;
    }
    yMaximum_ = value;
    yMinimum_ = std::min(yMinimum_, yMaximum_);
    ResetValueRange();
    InvalidateStatic();
}

void TStripChart::SetWindowSeconds(double seconds) {
    if (!std::isfinite(seconds)) {
        return;
    }
    windowSeconds_ = std::clamp(seconds, kSmallestWidth, kLargestWidth);
    viewWidth_ = windowSeconds_;
    RequestRepaint();
}

void TStripChart::SetTraceWidth(int width) {
    width = std::clamp(width, 1, 6);
    if (width != traceWidth_) {
        traceWidth_ = width;
        RequestRepaint();
    }
}

void TStripChart::SetFollowing(bool follow) {
    if (follow == following_) {
        return;
    }
    if (!follow) {
        viewLeft_ = ViewLeft();
    }
    following_ = follow;
    RequestRepaint();
    emit viewChanged();
}

double TStripChart::ViewRight() const {
    if (!following_) {
        return viewLeft_ + viewWidth_;
    }
    const auto first = Data().FirstX();
    const auto last = Data().LastX();
    if (!first || !last) {
        return viewWidth_;
    }
    // Until the data fills the window it starts at the left edge.
    return std::max(*last, *first + viewWidth_);
}

double TStripChart::ViewLeft() const {
    return ViewRight() - viewWidth_;
}

void TStripChart::SetViewWindow(double left, double right) {
    if (!std::isfinite(left) || !std::isfinite(right) || !(right > left)) {
        return;
    }
    following_ = false;
    viewLeft_ = left;
    viewWidth_ = std::clamp(right - left, kSmallestWidth, kLargestWidth);
    RequestRepaint();
    emit viewChanged();
}

void TStripChart::ZoomX(double factor, double anchor) {
    if (!std::isfinite(factor) || factor <= 0 || !std::isfinite(anchor)) {
        return;
    }
    const double width = std::clamp(viewWidth_ * factor, kSmallestWidth, kLargestWidth);
    if (!following_) {
        viewLeft_ = anchor - (anchor - viewLeft_) * (width / viewWidth_);
    }
    viewWidth_ = width;
    RequestRepaint();
    emit viewChanged();
}

void TStripChart::ZoomY(double factor, double anchor) {
    if (!std::isfinite(factor) || factor <= 0 || !std::isfinite(anchor)) {
        return;
    }
    const double bottom = anchor - (anchor - viewBottom_) * factor;
    const double top = anchor + (viewTop_ - anchor) * factor;
    if (top - bottom > 1e-9 && top - bottom < 1e15) {
        viewBottom_ = bottom;
        viewTop_ = top;
        InvalidateStatic();
    }
}

void TStripChart::PanByPixels(double dx, double dy) {
    const QRectF plot = PlotArea(QRectF(rect()));
    if (plot.width() <= 0 || plot.height() <= 0) {
        return;
    }
    if (dx != 0) {
        const double left = ViewLeft() + dx * viewWidth_ / plot.width();
        following_ = false;
        viewLeft_ = left;
        RequestRepaint();
        emit viewChanged();
    }
    if (dy != 0) {
        const double shift = dy * (viewTop_ - viewBottom_) / ValueArea(plot).height();
        viewBottom_ += shift;
        viewTop_ += shift;
        InvalidateStatic();
    }
}

void TStripChart::ResetView() {
    ResetValueRange();
    if (homeWindow_) {
        SetViewWindow(homeWindow_->first, homeWindow_->second);
    } else {
        following_ = true;
        viewWidth_ = windowSeconds_;
        emit viewChanged();
    }
    InvalidateStatic();
}

void TStripChart::SetHomeWindow(std::optional<std::pair<double, double>> window) {
    homeWindow_ = window;
    RequestRepaint();  // the hint names where a double click goes
}

void TStripChart::ResetValueRange() {
    viewBottom_ = yMinimum_;
    // An empty range still needs some height to draw in.
    viewTop_ = yMaximum_ > yMinimum_ ? yMaximum_ : yMinimum_ + 1.0;
}

}  // namespace vekaton
