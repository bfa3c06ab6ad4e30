#pragma once

#include "chart/ChartStore.h"
#include "widgets/InstrumentWidget.h"

#include <QPointF>
#include <QRectF>

#include <array>
#include <memory>

namespace vekaton {

// A strip chart of several channels against time, drawn from a chart store that the program
// fills (its own, unless it is given one to share); the store tells it when to repaint. It shows a
// window of the latest WindowSeconds while it follows the data; the mouse wheel zooms (with Ctrl:
// the value axis), dragging pans and stops following, a double click goes back to following (or to
// the home window, when one is set). Each trace is drawn from per-pixel minimum and maximum, so a
// million points cost one pass.
//
// Channels placed by their own range (auto or fixed) are drawn normalised onto the value axis;
// hovering a trace or selecting a channel labels the axis in that channel's units. Digital
// channels are 0/1 steps in lanes of their own below the values. A click sets cursor A (with
// Shift: cursor B); the legend then reads every channel at the cursors and the header gives the
// time between them.
class TStripChart : public InstrumentWidget {
    Q_OBJECT
  public:
    static constexpr int kCursorA = 0;
    static constexpr int kCursorB = 1;

    explicit TStripChart(QWidget* parent = nullptr);
    explicit TStripChart(std::shared_ptr<ChartStore> store, QWidget* parent = nullptr);
    ~TStripChart() override;

    const char* ClassName() const override { return "TStripChart"; }
    const PropertyTable& Properties() const override;
    static const PropertyTable& PropertyList();

    // Channels.
    int AddChannel(ChartChannel channel);
    void SetChannel(int index, ChartChannel channel);
    // The channel and its values go; the others keep their history.
    void RemoveChannel(int index);
    void ClearChannels();
    int ChannelCount() const { return Data().ChannelCount(); }
    const ChartChannel& Channel(int index) const { return Data().Channel(index); }

    // Data: samples and points go into the store. Inside its update batches nothing is
    // repainted; the end of the last shows everything added in between at once. Emptying it
    // removes the cursors.
    ChartStore& Store() const { return *store_; }
    const StripChartData& Data() const { return store_->Data(); }
    // Empties the chart of samples (the channels stay) and removes the cursors.
    void Clear();

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
    // Follow the data again, with the configured window and value range; or, with a home
    // window set, show that window.
    void ResetView();
    // A window to go back to instead of following (a whole data log); none by default.
    void SetHomeWindow(std::optional<std::pair<double, double>> window);

    // Cursors: sample numbers of the data, or none.
    void SetCursor(int which, std::optional<std::int64_t> sample);
    std::optional<std::int64_t> Cursor(int which) const;
    // The channel whose value axis is labelled when nothing is hovered (-1: none).
    void SetSelectedChannel(int channel);
    int SelectedChannel() const { return selectedChannel_; }
    // The hovered channel, else the selected one, else -1.
    int HighlightedChannel() const;
    // What the legend says for a channel: its name and its values at the cursors.
    QString LegendText(int channel) const;
    // "A 12.30 s   B 15.60 s   Δt 3.30 s (33 frames)", or empty without a cursor.
    QString CursorReadout() const;
    // How the legend is laid out at the widget's size: its rows (0 when it shares the title's
    // row), the rows shown (the rest scroll) and the entries shown.
    struct LegendInfo {
        int rows = 0;
        int shownRows = 0;
        int entries = 0;
        int firstRow = 0;  // the first row shown, when scrolled
    };
    LegendInfo Legend() const;
    // The value range a channel is drawn over (its own for Auto and Fixed, else the axis').
    std::pair<double, double> ChannelRange(int channel) const;

    QSize sizeHint() const override { return {480, 260}; }
    QSize minimumSizeHint() const override { return {160, 90}; }

  signals:
    // A cursor was set, moved or removed (by the user or by SetCursor).
    void cursorsChanged();
    // The X window shown changed (zoom, scroll, follow).
    void viewChanged();

  protected:
    void PaintStatic(QPainter& painter, const QRectF& bounds) override;
    void PaintDynamic(QPainter& painter, const QRectF& bounds) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    struct LegendItem {
        int channel = 0;
        QString text;
        QRectF rect;  // swatch and text, in widget coordinates
    };
    struct HeaderLayout {
        double height = 0;
        int rows = 0;                   // legend rows laid out
        int shownRows = 0;              // rows that fit the height allowed
        int firstRow = 0;               // the first shown row, when scrolled
        std::vector<LegendItem> items;  // the shown items
    };

    QRectF PlotArea(const QRectF& bounds) const;
    // The part of the plot for analog values, and the lanes of the digital channels below it.
    QRectF ValueArea(const QRectF& plot) const;
    QRectF LaneOf(const QRectF& plot, int digitalIndex) const;
    int DigitalCount() const;
    bool AxisShowsShares() const;
    const HeaderLayout& Header(const QRectF& bounds) const;
    void LegendChanged();
    QFont ChartFont() const;
    void StoreChanged(ChartChange change);
    void ResetValueRange();
    // A channel's value as a value-axis value (before the view's transform).
    double AxisValue(const ChartChannel& channel, double lo, double hi, double value) const;
    void PaintTrace(QPainter& painter, const QRectF& plot, int channel, double ratio);
    void PaintDigital(QPainter& painter, const QRectF& lane, int channel, double ratio);
    void PaintTimeAxis(QPainter& painter, const QRectF& plot) const;
    void PaintValueLabels(QPainter& painter, const QRectF& bounds, const QRectF& area,
                          int channel) const;
    void PaintHeader(QPainter& painter, const QRectF& bounds, const QRectF& plot) const;
    void PaintCursors(QPainter& painter, const QRectF& plot) const;
    void PaintBreaks(QPainter& painter, const QRectF& plot) const;
    std::optional<double> XOfSample(std::int64_t sample, const QRectF& plot) const;
    int ChannelAt(const QPointF& at) const;
    std::int64_t SampleAtPixel(double x) const;
    void MoveCursorBy(int which, std::int64_t samples);

    std::shared_ptr<ChartStore> store_;
    DecimatedTrace scratch_;  // reused between repaints to avoid allocations

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
    std::optional<std::pair<double, double>> homeWindow_;
    QPointF dragFrom_;
    QPointF pressAt_;
    bool dragged_ = false;

    std::array<std::optional<std::int64_t>, 2> cursors_;
    int selectedChannel_ = -1;
    int hoveredChannel_ = -1;
    int legendScroll_ = 0;
    mutable HeaderLayout header_;
    mutable bool headerValid_ = false;
    mutable QSizeF headerSize_;
};

}  // namespace vekaton
