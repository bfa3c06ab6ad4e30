#pragma once

#include <QWidget>
#include <memory>
#include <utility>
#include <vector>

#include "chart/ChartStore.h"
#include "dashboard/ChartChannelList.h"

class QPushButton;
class QVBoxLayout;

namespace vekaton {

class ChannelListPanel;
class ParameterTable;
class TStripChart;

// The "Graphs" page: the strip chart of chosen positions, the channel list, recording to a data
// log, viewing and playing one, and raw data display. It keeps the chart store's channels in step
// with the channel list; the engine and the decoder fill the store, the chart draws it.
class GraphsPage : public QWidget {
    Q_OBJECT

  public:
    explicit GraphsPage(QWidget* parent = nullptr);

    // The table the channels plot (its descriptions, ChartColour, byte counts and raw bytes).
    void SetTable(ParameterTable* table);

    // The samples and points the chart draws: where the engine's frames go.
    ChartStore& Store() const { return *store_; }
    void SetTitle(const QString& title);
    // The value axis; also the range a channel's "fixed" scale starts from.
    void SetYRange(double minimum, double maximum);
    // "Zero Start": empties the chart.
    void ClearChart();
    // A gap in time (a pause, a lost port): the next frame is not joined to the last.
    void MarkBreak();
    // Offers every described analog position and bit as a channel; keeps the chosen ones that
    // still exist, and their history.
    void RebuildChannelChoices(const ParameterTable& table);
    void ChooseChannel(int position, int bit);

    // The channel list as the set keeps it (the layout file's strip chart record): position,
    // bit, colour and scale of each plotted channel, in legend order.
    ChartChannelList ChannelSettings() const { return settings_; }
    // Plots exactly these channels (those the table still describes); colours go into the
    // positions' ChartColour.
    void SetChannelSettings(const ChartChannelList& settings);

    // "Raw Data": the title, the 0 to 255 axis for every value, and back.
    void SetRawMode(bool on);
    bool RawMode() const { return rawMode_; }

    void SetRecordCaption(const QString& caption);
    void SetRecordEnabled(bool enabled);
    void SetPlaybackCaption(const QString& caption);
    void SetPlaybackEnabled(bool enabled);
    void SetViewEnabled(bool enabled);
    void SetRawData(bool on);
    // Bars under the chart (the log viewer's, playback's).
    void AddBar(QWidget* bar);

    TStripChart* Chart() const { return chart_; }
    ChannelListPanel* ChannelList() const { return channelList_; }
    int ChannelCount() const { return static_cast<int>(settings_.size()); }

  signals:
    void recordClicked();
    void playbackClicked();
    void viewClicked();
    void rawDataToggled(bool on);
    // The plotted channels changed; `added` when a channel without history joined.
    void channelsEdited(bool added);

  private:
    void Toggle(int position, int bit, bool on);
    void EditScale(int position, int bit, bool autoScale, double minimum, double maximum);
    void ChooseColour(int position, int bit, std::int32_t colour);
    void SelectChannel(int position, int bit);
    int IndexOf(int position, int bit) const;
    bool IsDigital(int position) const;
    void ApplyToChart(int index);
    void AppendToChart(const ChartChannelSetting& setting);

    std::shared_ptr<ChartStore> store_;
    TStripChart* chart_ = nullptr;
    ChannelListPanel* channelList_ = nullptr;
    QVBoxLayout* chartColumn_ = nullptr;
    QPushButton* recordButton_ = nullptr;
    QPushButton* viewButton_ = nullptr;
    QPushButton* playbackButton_ = nullptr;
    QPushButton* rawButton_ = nullptr;
    ParameterTable* table_ = nullptr;
    ChartChannelList settings_;  // one per chart channel, same order
    bool rawMode_ = false;
    std::pair<double, double> yRange_{0.0, 100.0};  // the processed data's axis
};

}  // namespace vekaton
