#include "app/GraphsPage.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>

#include "app/AppTexts.h"
#include "app/chart/ChannelListPanel.h"
#include "decode/ParameterTable.h"
#include "widgets/TStripChart.h"

namespace vekaton {
namespace {

constexpr double kRawMinimum = 0.0;
constexpr double kRawMaximum = 255.0;

}  // namespace

GraphsPage::GraphsPage(QWidget* parent) : QWidget(parent), store_(std::make_shared<ChartStore>()) {
    chart_ = new TStripChart(store_);
    chart_->setObjectName("StripChart1");
    chart_->setToolTip(
        tr("Click: cursor A, Shift+click: cursor B, arrows move cursor A, wheel: zoom, drag: "
           "scroll, Ctrl+wheel: zoom the values, double-click: back"));
    channelList_ = new ChannelListPanel;
    recordButton_ = new QPushButton(texts::kRecordToFile);
    recordButton_->setObjectName("FileRecordButton");
    viewButton_ = new QPushButton(tr("Open Data Log..."));
    viewButton_->setObjectName("ViewLogButton");
    viewButton_->setToolTip(tr("Look at a whole data log in the chart (Ctrl+L)"));
    playbackButton_ = new QPushButton(texts::kPlayDataLog);
    playbackButton_->setObjectName("PlaybackButton");
    playbackButton_->setToolTip(tr("Play a data log through the gauges and the chart"));
    rawButton_ = new QPushButton(texts::kRawData);
    rawButton_->setObjectName("RawDataDisplay");
    rawButton_->setCheckable(true);
    auto* zero = new QPushButton(tr("Zero Start"));
    zero->setToolTip(tr("Empty the chart"));

    auto* side = new QWidget;
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addWidget(channelList_, 1);
    sideLayout->addWidget(recordButton_);
    sideLayout->addWidget(viewButton_);
    sideLayout->addWidget(playbackButton_);
    sideLayout->addWidget(rawButton_);
    sideLayout->addWidget(zero);

    auto* chartSide = new QWidget;
    chartColumn_ = new QVBoxLayout(chartSide);
    chartColumn_->setContentsMargins(0, 0, 0, 0);
    chartColumn_->setSpacing(2);
    chartColumn_->addWidget(chart_, 1);

    auto* splitter = new QSplitter;
    splitter->addWidget(chartSide);
    splitter->addWidget(side);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    splitter->setCollapsible(0, false);
    side->setMinimumWidth(240);
    // The chart takes the room; the channel list starts near its smallest width whatever its
    // columns would like (the splitter shares these sizes out in proportion).
    splitter->setSizes({5 * side->minimumWidth(), side->minimumWidth()});
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(splitter);

    connect(recordButton_, &QPushButton::clicked, this, &GraphsPage::recordClicked);
    connect(viewButton_, &QPushButton::clicked, this, &GraphsPage::viewClicked);
    connect(playbackButton_, &QPushButton::clicked, this, &GraphsPage::playbackClicked);
    connect(rawButton_, &QPushButton::toggled, this, &GraphsPage::rawDataToggled);
    connect(zero, &QPushButton::clicked, this, &GraphsPage::ClearChart);
    connect(channelList_, &ChannelListPanel::channelToggled, this, &GraphsPage::Toggle);
    connect(channelList_, &ChannelListPanel::scaleEdited, this, &GraphsPage::EditScale);
    connect(channelList_, &ChannelListPanel::colourChosen, this, &GraphsPage::ChooseColour);
    connect(channelList_, &ChannelListPanel::channelSelected, this, &GraphsPage::SelectChannel);
}

void GraphsPage::SetTable(ParameterTable* table) {
    table_ = table;
    store_->SetTable(table);
}

void GraphsPage::SetTitle(const QString& title) {
    chart_->SetTitle(title);
}

void GraphsPage::SetYRange(double minimum, double maximum) {
    if (!rawMode_) {
        yRange_ = {minimum, maximum};
    }
    chart_->SetYMinimum(minimum);
    chart_->SetYMaximum(maximum);
    chart_->ResetView();
}

void GraphsPage::ClearChart() {
    chart_->Clear();
}

void GraphsPage::MarkBreak() {
    store_->MarkBreak();
}

bool GraphsPage::IsDigital(int position) const {
    return table_ != nullptr && ParameterTable::IsValidPosition(position) &&
           table_->At(position).IsDigital;
}

int GraphsPage::IndexOf(int position, int bit) const {
    for (int i = 0; i < ChannelCount(); ++i) {
        const ChartChannelSetting& s = settings_[static_cast<std::size_t>(i)];
        if (s.position == position && (!IsDigital(position) || s.bit == bit)) {
            return i;
        }
    }
    return -1;
}

void GraphsPage::RebuildChannelChoices(const ParameterTable& table) {
    channelList_->SetChoices(table, settings_);
    // Channels whose position or bit is no longer described go; the others keep their history.
    bool removed = false;
    for (int i = ChannelCount() - 1; i >= 0; --i) {
        const ChartChannelSetting& s = settings_[static_cast<std::size_t>(i)];
        if (channelList_->RowOf(s.position, s.bit) < 0) {
            settings_.erase(settings_.begin() + i);
            chart_->RemoveChannel(i);
            removed = true;
        } else {
            ApplyToChart(i);  // names and kinds may have been edited
        }
    }
    if (removed) {
        channelList_->ShowChosen(settings_);
        emit channelsEdited(false);
    }
}

void GraphsPage::ChooseChannel(int position, int bit) {
    const int row = channelList_->RowOf(position, bit);
    if (row >= 0) {
        channelList_->SetTicked(row, true);
    }
}

void GraphsPage::SetChannelSettings(const ChartChannelList& settings) {
    while (ChannelCount() > 0) {
        settings_.pop_back();
        chart_->RemoveChannel(ChannelCount());
    }
    for (const ChartChannelSetting& setting : settings) {
        if (channelList_->RowOf(setting.position, setting.bit) >= 0 &&
            IndexOf(setting.position, setting.bit) < 0) {
            AppendToChart(setting);
        }
    }
    channelList_->ShowChosen(settings_);
    emit channelsEdited(!settings_.empty());
}

void GraphsPage::AppendToChart(const ChartChannelSetting& wanted) {
    ChartChannelSetting setting = wanted;
    const bool digital = IsDigital(setting.position);
    if (!digital) {
        setting.bit = 0;
    }
    ParameterRecord* record = table_ != nullptr ? table_->Find(setting.position) : nullptr;
    if (setting.colour == 0 && record != nullptr && !digital) {
        setting.colour = record->ChartColour;
    }
    settings_.push_back(setting);
    ChartChannel channel;
    channel.colour = setting.colour;
    channel.position = setting.position;
    channel.bit = setting.bit;  // the bit the decoder plots (0 for an analog position)
    const int index = chart_->AddChannel(channel);
    // The colour the chart picked is kept, so the channel keeps it from now on.
    settings_.back().colour = chart_->Channel(index).colour;
    if (record != nullptr && !digital) {
        record->ChartColour = settings_.back().colour;
    }
    ApplyToChart(index);
}

void GraphsPage::ApplyToChart(int index) {
    const ChartChannelSetting& s = settings_[static_cast<std::size_t>(index)];
    ChartChannel channel = chart_->Channel(index);
    const int row = channelList_->RowOf(s.position, s.bit);
    if (row >= 0) {
        channel.name = channelList_->Choices()[static_cast<std::size_t>(row)].label.toStdString();
    }
    channel.colour = s.colour;
    channel.digital = IsDigital(s.position);
    channel.bit = s.bit;
    channel.scale = 1.0;
    channel.offset = 0.0;
    if (rawMode_ && !channel.digital) {
        channel.range = ChartRange::Chart;  // raw bytes all share the 0 to 255 axis
    } else {
        channel.range = s.autoScale ? ChartRange::Auto : ChartRange::Fixed;
        channel.rangeMinimum = s.minimum;
        channel.rangeMaximum = s.maximum;
    }
    chart_->SetChannel(index, channel);
}

void GraphsPage::Toggle(int position, int bit, bool on) {
    const int index = IndexOf(position, bit);
    if (on && index < 0) {
        ChartChannelSetting setting;
        setting.position = position;
        setting.bit = bit;
        setting.minimum = yRange_.first;
        setting.maximum = yRange_.second;
        AppendToChart(setting);
        channelList_->ShowChosen(settings_);
        emit channelsEdited(true);
    } else if (!on && index >= 0) {
        settings_.erase(settings_.begin() + index);
        chart_->RemoveChannel(index);
        channelList_->ShowChosen(settings_);
        emit channelsEdited(false);
    }
}

void GraphsPage::EditScale(int position, int bit, bool autoScale, double minimum, double maximum) {
    const int index = IndexOf(position, bit);
    if (index < 0) {
        // A scale typed for a channel not plotted yet plots it.
        Toggle(position, bit, true);
        if (IndexOf(position, bit) < 0) {
            return;
        }
        EditScale(position, bit, autoScale, minimum, maximum);
        return;
    }
    ChartChannelSetting& s = settings_[static_cast<std::size_t>(index)];
    s.autoScale = autoScale;
    if (!autoScale) {
        s.minimum = minimum;
        s.maximum = maximum;
    }
    ApplyToChart(index);
    channelList_->ShowChosen(settings_);
}

void GraphsPage::ChooseColour(int position, int bit, std::int32_t colour) {
    const int index = IndexOf(position, bit);
    if (index < 0 || colour == 0) {
        return;
    }
    settings_[static_cast<std::size_t>(index)].colour = colour;
    if (table_ != nullptr && !IsDigital(position)) {
        table_->At(position).ChartColour = colour;
    }
    ApplyToChart(index);
    channelList_->ShowChosen(settings_);
}

void GraphsPage::SelectChannel(int position, int bit) {
    chart_->SetSelectedChannel(position < 0 ? -1 : IndexOf(position, bit));
}

void GraphsPage::SetRawMode(bool on) {
    if (on == rawMode_) {
        return;
    }
    rawMode_ = on;
    store_->SetRawMode(on);
    SetTitle(on ? texts::kRawData : texts::kProcessedData);
    if (on) {
        chart_->SetYMinimum(kRawMinimum);
        chart_->SetYMaximum(kRawMaximum);
    } else {
        chart_->SetYMinimum(yRange_.first);
        chart_->SetYMaximum(yRange_.second);
    }
    for (int i = 0; i < ChannelCount(); ++i) {
        ApplyToChart(i);
    }
    SetRawData(on);
}

void GraphsPage::SetRecordCaption(const QString& caption) {
    recordButton_->setText(caption);
}

void GraphsPage::SetRecordEnabled(bool enabled) {
    recordButton_->setEnabled(enabled);
}

void GraphsPage::SetPlaybackCaption(const QString& caption) {
    playbackButton_->setText(caption);
}

void GraphsPage::SetPlaybackEnabled(bool enabled) {
    playbackButton_->setEnabled(enabled);
}

void GraphsPage::SetViewEnabled(bool enabled) {
    viewButton_->setEnabled(enabled);
}

void GraphsPage::SetRawData(bool on) {
    rawButton_->setChecked(on);
}

void GraphsPage::AddBar(QWidget* bar) {
    chartColumn_->addWidget(bar);
}

}  // namespace vekaton
