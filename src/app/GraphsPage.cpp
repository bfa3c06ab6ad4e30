#include "app/GraphsPage.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>

#include "decode/ParameterTable.h"
#include "widgets/TStripChart.h"

namespace vekaton {

GraphsPage::GraphsPage(QWidget* parent) : QWidget(parent) {
    chart_ = new TStripChart;
    chart_->setObjectName("StripChart1");
    channelList_ = new QListWidget;
    channelList_->setToolTip(tr("Tick the values to plot"));
    recordButton_ = new QPushButton("Record to File");
    recordButton_->setObjectName("FileRecordButton");
    playbackButton_ = new QPushButton(tr("Play Data Log"));
    rawButton_ = new QPushButton("Raw Data");
    rawButton_->setObjectName("RawDataDisplay");
    rawButton_->setCheckable(true);
    auto* zero = new QPushButton(tr("Zero Start"));

    auto* side = new QWidget;
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addWidget(new QLabel(tr("Channels")));
    sideLayout->addWidget(channelList_, 1);
    sideLayout->addWidget(recordButton_);
    sideLayout->addWidget(playbackButton_);
    sideLayout->addWidget(rawButton_);
    sideLayout->addWidget(zero);

    auto* splitter = new QSplitter;
    splitter->addWidget(chart_);
    splitter->addWidget(side);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    side->setMinimumWidth(230);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(splitter);

    connect(recordButton_, &QPushButton::clicked, this, &GraphsPage::recordClicked);
    connect(playbackButton_, &QPushButton::clicked, this, &GraphsPage::playbackClicked);
    connect(rawButton_, &QPushButton::toggled, this, &GraphsPage::rawDataToggled);
    connect(zero, &QPushButton::clicked, this, &GraphsPage::ClearChart);
    connect(channelList_, &QListWidget::itemChanged, this, [this] { ChannelsEdited(); });
}

int GraphsPage::AddSample(double x) {
    return static_cast<int>(chart_->AddSample(x));
}

void GraphsPage::SetTitle(const QString& title) {
    chart_->SetTitle(title);
}

void GraphsPage::SetYRange(double minimum, double maximum) {
    chart_->SetYMinimum(minimum);
    chart_->SetYMaximum(maximum);
    chart_->ResetView();
}

void GraphsPage::ClearChart() {
    chart_->Clear();
}

void GraphsPage::RebuildChannelChoices(const ParameterTable& table) {
    std::vector<Choice> choices;
    for (int position = ParameterTable::kFirstPosition; position <= ParameterTable::kLastPosition;
         ++position) {
        const ParameterRecord& record = table.At(position);
        if (record.IsDigital) {
            for (int bit = 0; bit < 8; ++bit) {
                if (!record.Descriptions[bit].empty()) {
                    choices.push_back({position, bit, true,
                                       QString("%1.%2  %3")
                                           .arg(position)
                                           .arg(bit)
                                           .arg(QString::fromStdString(record.Descriptions[bit]))});
                }
            }
        } else if (!record.Descriptions[0].empty()) {
            choices.push_back({position, 0, false,
                               QString("%1  %2").arg(position).arg(
                                   QString::fromStdString(record.Descriptions[0]))});
        }
    }
    const QSignalBlocker blocker(channelList_);
    channelList_->clear();
    for (const Choice& choice : choices) {
        auto* item = new QListWidgetItem(choice.label, channelList_);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        const bool chosen = std::any_of(channels_.begin(), channels_.end(), [&](const auto& c) {
            return c.position == choice.position && (!choice.digital || c.bit == choice.bit);
        });
        item->setCheckState(chosen ? Qt::Checked : Qt::Unchecked);
    }
    choices_ = std::move(choices);
    ChannelsEdited();
}

void GraphsPage::ChooseChannel(int position, int bit) {
    for (int i = 0; i < static_cast<int>(choices_.size()); ++i) {
        if (choices_[i].position == position && (!choices_[i].digital || choices_[i].bit == bit)) {
            channelList_->item(i)->setCheckState(Qt::Checked);
        }
    }
}

void GraphsPage::ChannelsEdited() {
    std::vector<PlotChannel> channels;
    std::vector<const Choice*> chosen;
    for (int i = 0; i < static_cast<int>(choices_.size()); ++i) {
        if (channelList_->item(i)->checkState() == Qt::Checked) {
            channels.push_back({choices_[i].position, choices_[i].bit});
            chosen.push_back(&choices_[static_cast<std::size_t>(i)]);
        }
    }
    if (channels.size() == channels_.size() &&
        std::equal(channels.begin(), channels.end(), channels_.begin(),
                   [](const auto& a, const auto& b) {
                       return a.position == b.position && a.bit == b.bit;
                   })) {
        return;
    }
    channels_ = std::move(channels);
    chart_->ClearChannels();
    for (const Choice* choice : chosen) {
        ChartChannel channel;
        channel.name = choice->label.toStdString();
        channel.position = choice->position;
        channel.bit = choice->digital ? choice->bit : 8;
        chart_->AddChannel(channel);
    }
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

void GraphsPage::SetRawData(bool on) {
    rawButton_->setChecked(on);
}

void GraphsPage::BeginUpdate() {
    chart_->BeginUpdate();
}

void GraphsPage::EndUpdate() {
    chart_->EndUpdate();
}

PlotChannel GraphsPage::Channel(int index) const {
    return index >= 0 && index < ChannelCount() ? channels_[static_cast<std::size_t>(index)]
                                                : PlotChannel{};
}

void GraphsPage::AddPoint(int channel, int sampleIndex, double value) {
    chart_->AddPoint(channel, sampleIndex, value);
}

}  // namespace vekaton
