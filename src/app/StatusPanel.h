#pragma once

#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <memory>

#include "engine/LinkHealth.h"

class QHBoxLayout;
class QLabel;

namespace vekaton {

class InstrumentWidget;

// The strip under the pages: update rate, link mode, "BAD CHECKSUM", sync errors, the packet
// display of the ALDL 160 interface mode, elapsed time and the recording label.
class StatusPanel : public QWidget {
    Q_OBJECT

  public:
    explicit StatusPanel(QWidget* parent = nullptr);
    ~StatusPanel() override;

    void SetSampleRate(int milliseconds);  // "Sample Rate = 500 mS"
    void SetModeLabel(const QString& text);
    QString ModeLabel() const;
    QString SampleRateText() const;
    void SetChecksumLabelVisible(bool visible);
    bool ChecksumLabelVisible() const;
    void SetSyncErrors(int count);
    void SetPacket(int size, bool ledLit);
    void SetByteCountPanelVisible(bool visible);
    void SetElapsed(double seconds);
    void SetRecordingLabel(const QString& text);
    QString RecordingLabel() const;
    void SetPortState(const QString& text, bool problem);
    // How the link is doing: its state, frames per second and error counts.
    void SetLinkHealth(LinkState state, double framesPerSecond, std::uint64_t checksumErrors,
                       std::uint64_t syncErrors);
    QString LinkStateText() const;
    QString FrameRateText() const;
    QString ErrorsText() const;
    // A lost port and its return, told here rather than in a box that would outlive them: the
    // loss stays until the return, which shows for a few seconds before the device's name.
    void ShowPortLost(const QString& device, const QString& message);
    void ShowPortBack(const QString& device, const QString& message);
    // A short note for a few seconds, such as that the set was saved (the strip may be narrow:
    // a word or two, with the whole sentence as its tool tip).
    void ShowNote(const QString& text, const QString& toolTip = QString());
    QString PortText() const;
    QString PortToolTip() const;
    // A room's own indicator, shown beside the link's state (the warnings' count).
    void AddIndicator(QWidget* indicator);

    static constexpr int kPortBackShownMs = 5000;

  private:
    void SetPortLabel(const QString& text, const QString& toolTip, const QString& style);

    QLabel* sampleRateLabel_ = nullptr;
    QLabel* modeLabel_ = nullptr;
    QLabel* portLabel_ = nullptr;
    QLabel* badCheck_ = nullptr;
    QLabel* recordingLabel_ = nullptr;
    QLabel* linkState_ = nullptr;
    QLabel* frameRate_ = nullptr;
    QLabel* errors_ = nullptr;
    QLabel* syncLabel_ = nullptr;
    LinkState shownState_ = LinkState::Playback;  // anything but the first state shown
    QWidget* byteCountPanel_ = nullptr;
    InstrumentWidget* badSyncBar_ = nullptr;
    InstrumentWidget* syncLed_ = nullptr;
    InstrumentWidget* testDisplay_ = nullptr;
    InstrumentWidget* elapsedTime_ = nullptr;
    QHBoxLayout* layout_ = nullptr;
    QTimer portBackTimer_;
    QString portDevice_;
};

}  // namespace vekaton
