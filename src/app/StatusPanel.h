#pragma once

#include <QWidget>
#include <memory>

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

  private:
    QLabel* sampleRateLabel_ = nullptr;
    QLabel* modeLabel_ = nullptr;
    QLabel* portLabel_ = nullptr;
    QLabel* badCheck_ = nullptr;
    QLabel* recordingLabel_ = nullptr;
    QWidget* byteCountPanel_ = nullptr;
    InstrumentWidget* badSyncBar_ = nullptr;
    InstrumentWidget* syncLed_ = nullptr;
    InstrumentWidget* testDisplay_ = nullptr;
    InstrumentWidget* elapsedTime_ = nullptr;
};

}  // namespace vekaton
