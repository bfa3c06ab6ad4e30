#pragma once

#include "widgets/InstrumentWidget.h"
#include "widgets/StripChartData.h"

#include <QPointF>

namespace vekaton {

// A strip chart of several channels against time. It shows a window of the latest
// WindowSeconds while it follows the data; the mouse wheel zooms (with Ctrl: the value
// axis), dragging pans and stops following, a double click goes back to following.
// Each trace is drawn from per-pixel minimum and maximum, so a million points cost one pass.
class TStripChart : public InstrumentWidget {
    Q_OBJECT
  public:
    explicit TStripChart(QWidget* parent = nullptr);

    const char* ClassName() const override { return "TStripChart"; }
    const PropertyTable& Properties() const override;
    static const PropertyTable& PropertyList();

    // Channels.
    int AddChannel(ChartChannel channel);
    void SetChannel(int index, ChartChannel channel);
    void ClearChannels();
    int ChannelCount() const { return data_.ChannelCount(); }
    const ChartChannel& Channel(int index) const { return data_.Channel(index); }

    // Data. Between BeginUpdate and EndUpdate (which nest) nothing is repainted; the last
    // EndUpdate shows everything added in between at once.
    void BeginUpdate();
    void EndUpdate();
    int UpdateDepth() const { return updateDepth_; }
    std::int64_t AddSample(double x);
    bool AddPoint(int channel, std::int64_t sample, double value);
    // Empties the chart of samples (the channels stay).
    void Clear();
    const StripChartData& Data() const { return data_; }
    void SetCapacity(std::size_t samples) { data_.SetCapacity(samples); }

    // Appearance.
    QString Title() const { return title_; }
    void SetTitle(const QString& title) { SetAppearance(title_, title); }
    double YMinimum() const { return yMinimum_; }
    void SetYMinimum(double value);
    double YMaximum() const { return yMaximum_; }
    void SetYMaximum(double value);
    double WindowSeconds() const { return windowSeconds_; }
    void SetWindowSeconds(double seconds);
    ColourValue GridColor() const { return gridColour_; }
    void SetGridColor(ColourValue colour) { SetAppearance(gridColour_, colour); }
    ColourValue PlotColor() const { return plotColour_; }
    void SetPlotColor(ColourValue colour) { SetAppearance(plotColour_, colour); }
    int TraceWidth() const { return traceWidth_; }
    void SetTraceWidth(int width);
    bool ShowLegend() const { return showLegend_; }
    void SetShowLegend(bool show) { SetAppearance(showLegend_, show); }

    // The view: the X window shown and the value range shown.
    bool Following() const { return following_; }
    void SetFollowing(bool follow);
    double ViewLeft() const;
    double ViewRight() const;
    double ViewBottom() const { return viewBottom_; }
    double ViewTop() const { return viewTop_; }
    // Shows a fixed X window (and stops following).
    void SetViewWindow(double left, double right);
    // Zooms X by factor (< 1 zooms in) about an X value; while following, the right edge stays.
    void ZoomX(double factor, double anchor);
    void ZoomY(double factor, double anchor);
    // Moves the view by a distance in pixels (positive: to later times and higher values).
    void PanByPixels(double dx, double dy);
    // Follow the data again, with the configured window and value range.
    void ResetView();

    QSize sizeHint() const override { return {480, 260}; }
    QSize minimumSizeHint() const override { return {160, 90}; }

  protected:
    void PaintStatic(QPainter& painter, const QRectF& bounds) override;
    void PaintDynamic(QPainter& painter, const QRectF& bounds) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    QRectF PlotArea(const QRectF& bounds) const;
    QFont ChartFont() const;
    void DataChanged();
    void ResetValueRange();
    void PaintTrace(QPainter& painter, const QRectF& plot, int channel, double ratio);
    void PaintTimeAxis(QPainter& painter, const QRectF& plot) const;
    void PaintLegend(QPainter& painter, const QRectF& header) const;

    StripChartData data_;
    DecimatedTrace scratch_;  // reused between repaints to avoid allocations
    int updateDepth_ = 0;
    bool changedInUpdate_ = false;

    QString title_;
    double yMinimum_ = 0.0;
    double yMaximum_ = 255.0;
    double windowSeconds_ = 60.0;
    ColourValue gridColour_ = RgbColour(58, 62, 70);
    ColourValue plotColour_ = RgbColour(14, 16, 20);
    int traceWidth_ = 1;
    bool showLegend_ = true;

    bool following_ = true;
    double viewWidth_ = 60.0;
    double viewLeft_ = 0.0;  // used when not following
    double viewBottom_ = 0.0;
    double viewTop_ = 255.0;
    QPointF dragFrom_;
};

}  // namespace vekaton
