#include "app/StatusPanel.h"

#include <QHBoxLayout>
#include <QLabel>

#include "app/AppTexts.h"
#include "widgets/InstrumentFactory.h"
#include "widgets/InstrumentWidget.h"

namespace vekaton {
namespace {

InstrumentWidget* MakeInstrument(const char* className, const char* name, QSize size,
                                 QWidget* parent) {
    InstrumentWidget* widget = CreateInstrument(className, parent).release();
    if (widget != nullptr) {
        widget->setObjectName(name);
        widget->setFixedSize(size);
    }
    return widget;
}

void Set(InstrumentWidget* widget, const char* property, const PropertyValue& value) {
    if (widget != nullptr) {
        widget->SetProperty(property, value);
    }
}

}  // namespace

StatusPanel::StatusPanel(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout_ = layout;
    layout->setContentsMargins(6, 2, 6, 2);

    sampleRateLabel_ = new QLabel;
    sampleRateLabel_->setObjectName("SampleRateLabel");
    modeLabel_ = new QLabel(texts::kLabelTalkListen);
    modeLabel_->setObjectName("Label4");
    portLabel_ = new QLabel(texts::kNoPort);  // until a port opens
    portLabel_->setObjectName("PortLabel");
    // The port's news comes and goes; the label takes the free width and never pushes the
    // rest of the strip (or the window) around.
    portLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    portLabel_->setMinimumWidth(80);
    portBackTimer_.setSingleShot(true);
    connect(&portBackTimer_, &QTimer::timeout, this,
            [this] { SetPortLabel(portDevice_, portDevice_, QString()); });
    badCheck_ = new QLabel(texts::kBadChecksum);
    badCheck_->setObjectName("badcheck");
    badCheck_->setStyleSheet(
        "QLabel { color: white; background: #c00000; font-weight: bold; "
        "padding: 1px 6px; border-radius: 3px; }");
    badCheck_->setVisible(false);

    linkState_ = new QLabel;
    linkState_->setObjectName("LinkState");
    frameRate_ = new QLabel;
    frameRate_->setObjectName("FrameRate");
    errors_ = new QLabel;
    errors_->setObjectName("LinkErrors");
    syncLabel_ = new QLabel;
    syncLabel_->setObjectName("SyncErrors");
    badSyncBar_ = MakeInstrument("TLedBar", "BadSyncBar", QSize(90, 18), this);

    byteCountPanel_ = new QWidget;
    byteCountPanel_->setObjectName("ByteCountPanel");
    auto* byteLayout = new QHBoxLayout(byteCountPanel_);
    byteLayout->setContentsMargins(0, 0, 0, 0);
    syncLed_ = MakeInstrument("TLedRectangle", "SyncLed1", QSize(22, 14), byteCountPanel_);
    testDisplay_ =
        MakeInstrument("TSevenSegmentInteger", "TestDisplay", QSize(64, 26), byteCountPanel_);
    byteLayout->addWidget(new QLabel(tr("Packet")));
    if (syncLed_ != nullptr) {
        byteLayout->addWidget(syncLed_);
    }
    if (testDisplay_ != nullptr) {
        byteLayout->addWidget(testDisplay_);
    }
    byteCountPanel_->setVisible(false);

    elapsedTime_ = MakeInstrument("TOdometer", "ElapsedTime", QSize(110, 26), this);
    recordingLabel_ = new QLabel;
    recordingLabel_->setObjectName("RecordingLabel");

    // On a small screen the strip's words give way (cut at their end) before the window grows
    // past the screen; the instruments keep their size.
    for (QLabel* label :
         {sampleRateLabel_, modeLabel_, linkState_, frameRate_, errors_, syncLabel_}) {
        label->setMinimumWidth(24);
    }
    layout->addWidget(sampleRateLabel_);
    layout->addSpacing(10);
    layout->addWidget(modeLabel_);
    layout->addSpacing(10);
    layout->addWidget(portLabel_, 1);
    layout->addSpacing(10);
    layout->addWidget(linkState_);
    layout->addWidget(frameRate_);
    layout->addWidget(errors_);
    layout->addSpacing(10);
    layout->addWidget(badCheck_);
    layout->addWidget(syncLabel_);
    if (badSyncBar_ != nullptr) {
        layout->addWidget(badSyncBar_);
    }
    layout->addWidget(byteCountPanel_);
    layout->addWidget(new QLabel(tr("Time")));
    if (elapsedTime_ != nullptr) {
        layout->addWidget(elapsedTime_);
    }
    layout->addWidget(recordingLabel_);
    SetSampleRate(500);
    SetLinkHealth(LinkState::Stopped, 0.0, 0, 0);
}

StatusPanel::~StatusPanel() = default;

void StatusPanel::SetSampleRate(int milliseconds) {
    sampleRateLabel_->setText("Sample Rate = " + QString::number(milliseconds) + " mS");
}

QString StatusPanel::SampleRateText() const {
    return sampleRateLabel_->text();
}

void StatusPanel::SetModeLabel(const QString& text) {
    modeLabel_->setText(text);
}

QString StatusPanel::ModeLabel() const {
    return modeLabel_->text();
}

void StatusPanel::SetChecksumLabelVisible(bool visible) {
    badCheck_->setVisible(visible);
}

bool StatusPanel::ChecksumLabelVisible() const {
    return !badCheck_->isHidden();
}

void StatusPanel::SetSyncErrors(int count) {
    Set(badSyncBar_, "Position", PropertyValue::Integer(count));
    if (badSyncBar_ != nullptr) {
        badSyncBar_->setToolTip(tr("%n listen-only frame(s) of the wrong length", "", count));
    }
}

void StatusPanel::SetPacket(int size, bool ledLit) {
    Set(testDisplay_, "Value", PropertyValue::Integer(size));
    Set(syncLed_, "Active", PropertyValue::Boolean(ledLit));
}

void StatusPanel::SetByteCountPanelVisible(bool visible) {
    byteCountPanel_->setVisible(visible);
}

void StatusPanel::SetElapsed(double seconds) {
    Set(elapsedTime_, "Value", PropertyValue::Float(seconds));
}

void StatusPanel::SetRecordingLabel(const QString& text) {
    recordingLabel_->setText(text);
}

QString StatusPanel::RecordingLabel() const {
    return recordingLabel_->text();
}

namespace {

constexpr char kProblemStyle[] = "QLabel { color: #c00000; font-weight: bold; }";
constexpr char kGoodNewsStyle[] = "QLabel { color: #007000; font-weight: bold; }";

}  // namespace

void StatusPanel::SetPortLabel(const QString& text, const QString& toolTip, const QString& style) {
    portLabel_->setText(text);
    portLabel_->setToolTip(toolTip);
    portLabel_->setStyleSheet(style);
}

void StatusPanel::SetPortState(const QString& text, bool problem) {
    portBackTimer_.stop();
    portDevice_ = problem ? QString() : text;
    SetPortLabel(text, text, problem ? kProblemStyle : QString());
}

void StatusPanel::ShowPortLost(const QString& device, const QString& message) {
    portBackTimer_.stop();
    portDevice_ = device;
    // The news first: a narrow window cuts the end of the label, never the word that matters.
    SetPortLabel(tr("Port lost: %1 - trying again every second").arg(device), message,
                 kProblemStyle);
}

void StatusPanel::ShowPortBack(const QString& device, const QString& message) {
    portDevice_ = device;
    SetPortLabel(tr("Port open again: %1").arg(device), message, kGoodNewsStyle);
    portBackTimer_.start(kPortBackShownMs);
}

void StatusPanel::ShowNote(const QString& text, const QString& toolTip) {
    // Shown where the port's news goes, for as long; then what the label said comes back.
    const QString before = portLabel_->text();
    const QString tip = portLabel_->toolTip();
    const QString style = portLabel_->styleSheet();
    SetPortLabel(text, toolTip.isEmpty() ? text : toolTip, kGoodNewsStyle);
    QTimer::singleShot(kPortBackShownMs, portLabel_, [this, text, before, tip, style] {
        if (portLabel_->text() == text) {
            SetPortLabel(before, tip, style);
        }
    });
}

QString StatusPanel::PortText() const {
    return portLabel_->text();
}

QString StatusPanel::PortToolTip() const {
    return portLabel_->toolTip();
}

void StatusPanel::AddIndicator(QWidget* indicator) {
    // After the link's state, frames per second and errors: the news about the car.
    layout_->insertWidget(layout_->indexOf(errors_) + 1, indicator);
}

}  // namespace vekaton

namespace vekaton {

void StatusPanel::SetLinkHealth(LinkState state, double framesPerSecond,
                                std::uint64_t checksumErrors, std::uint64_t syncErrors) {
    if (state != shownState_) {
        shownState_ = state;
        const char* style = "";
        switch (state) {
            case LinkState::Stopped:
                linkState_->setText(texts::kLinkStopped);
                style =
                    "QLabel { color: white; background: #707070; padding: 1px 6px; "
                    "border-radius: 3px; }";
                break;
            case LinkState::Running:
                linkState_->setText(texts::kLinkRunning);
                style =
                    "QLabel { color: white; background: #1f8a3a; padding: 1px 6px; "
                    "border-radius: 3px; }";
                break;
            case LinkState::NoData:
                linkState_->setText(texts::kLinkNoData);
                style =
                    "QLabel { color: white; background: #d07000; font-weight: bold; "
                    "padding: 1px 6px; border-radius: 3px; }";
                break;
            case LinkState::Playback:
                linkState_->setText(texts::kLinkPlayback);
                style =
                    "QLabel { color: white; background: #2860b0; padding: 1px 6px; "
                    "border-radius: 3px; }";
                break;
        }
        linkState_->setStyleSheet(style);
        linkState_->setToolTip(state == LinkState::NoData ? tr(texts::kLinkNoDataHint) : QString());
    }
    const bool live = state == LinkState::Running || state == LinkState::NoData;
    frameRate_->setText(live ? tr("%1 frames/s").arg(framesPerSecond, 0, 'f', 1) : QString());
    errors_->setText(tr("Checksum errors %1").arg(checksumErrors));
    errors_->setToolTip(tr("Frames whose checksum failed since the program started"));
    syncLabel_->setText(tr("Sync errors %1").arg(syncErrors));
    errors_->setStyleSheet(checksumErrors > 0 ? "QLabel { color: #b00000; }" : QString());
}

QString StatusPanel::LinkStateText() const {
    return linkState_->text();
}

QString StatusPanel::FrameRateText() const {
    return frameRate_->text();
}

QString StatusPanel::ErrorsText() const {
    return errors_->text() + "  " + syncLabel_->text();
}

}  // namespace vekaton
