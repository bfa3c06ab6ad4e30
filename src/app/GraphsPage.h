#pragma once

#include <QWidget>
#include <vector>

#include "decode/ChartSink.h"

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace vekaton {

class ParameterTable;
class TStripChart;

// The "Graphs" page: the strip chart of chosen positions, the channel list, recording to a data
// log, playback of one, and raw data display. It is also the decoder's chart.
class GraphsPage : public QWidget, public ChartSink {
    Q_OBJECT

  public:
    explicit GraphsPage(QWidget* parent = nullptr);

    // The chart's add-sample operation: X in seconds; returns the sample index.
    int AddSample(double x);
    void SetTitle(const QString& title);
    void SetYRange(double minimum, double maximum);
    // "Zero Start": empties the chart.
    void ClearChart();
    // Offers every described analog position and bit as a channel; keeps the chosen ones that
    // still exist.
    void RebuildChannelChoices(const ParameterTable& table);
    void ChooseChannel(int position, int bit);

    void SetRecordCaption(const QString& caption);
    void SetRecordEnabled(bool enabled);
    void SetPlaybackCaption(const QString& caption);
    void SetRawData(bool on);

    TStripChart* Chart() const { return chart_; }

    // ChartSink
    void BeginUpdate() override;
    void EndUpdate() override;
    int ChannelCount() const override { return static_cast<int>(channels_.size()); }
    PlotChannel Channel(int index) const override;
    void AddPoint(int channel, int sampleIndex, double value) override;

  signals:
    void recordClicked();
    void playbackClicked();
    void rawDataToggled(bool on);

  private:
    struct Choice {
        int position = 0;
        int bit = 0;
        bool digital = false;
        QString label;
    };
    void ChannelsEdited();

    TStripChart* chart_ = nullptr;
    QListWidget* channelList_ = nullptr;
    QPushButton* recordButton_ = nullptr;
    QPushButton* playbackButton_ = nullptr;
    QPushButton* rawButton_ = nullptr;
    std::vector<Choice> choices_;
    std::vector<PlotChannel> channels_;
};

}  // namespace vekaton
