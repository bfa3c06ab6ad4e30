#pragma once

#include <QElapsedTimer>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QToolButton>
#include <functional>
#include <memory>
#include <vector>

#include "warnings/WarningMonitor.h"
#include "widgets/NightColours.h"

class QWidget;

namespace vekaton {

class AlarmSound;
class DashboardController;
class Session;
class StatusPanel;
class ToneSink;
class WarningFlasher;

// Warnings while frames come in, received or played: values beyond the limits their details
// give turn their instruments and value-table rows red, the status strip counts them (a click
// lists them), and an alarm sounds until acknowledged by that click or by Space. Space
// acknowledges only while an alarm sounds; otherwise it does what it always did (pauses
// playback). The watched values follow the definitions, their details and the frame length.
class WarningsRoom : public QObject {
    Q_OBJECT

  public:
    struct Parts {
        Session& session;
        DashboardController& dashboard;
        StatusPanel& status;
        QWidget& window;
    };

    explicit WarningsRoom(const Parts& parts);
    ~WarningsRoom() override;
    // The window is going: no event of its half-destroyed widgets reaches this room.
    void StopWatching();

    // A frame was decoded: its values are checked, and what shows them follows.
    void FrameCompleted();
    // Acquisition started or stopped: stopped, nothing warns any more and the alarm is quiet.
    void RunStateChanged(bool running);
    // The values watched again when their definitions, details or the frame length changed
    // (warnings of values still watched as before are kept).
    void RefreshWatches();
    // Silences the sounding alarms until their values come back; true when one was silenced.
    bool Acknowledge();
    // The strip's indicator clicked: acknowledges, then lists the warnings under it.
    void IndicatorClicked(QToolButton* indicator);

    // The indicators in the night's colours: nothing white glares from the strip at night.
    void SetNightColours(const NightColours& night);

    // Another indicator kept in step with the strip's (full screen shows one in its corner).
    QToolButton* MakeIndicator(QWidget* parent);

    const WarningMonitor& Monitor() const { return monitor_; }
    // One line per active warning, as the list shows them.
    QStringList WarningLines() const;
    QToolButton& StripIndicator() const { return *indicators_.front(); }
    QMenu* List() const { return list_; }
    bool AlarmSounding() const;

    // For tests: the clock in seconds (else the engine's elapsed time, never running back),
    // and where the alarm's tone goes (else the system's sound device).
    void SetClock(std::function<double()> clock) { clock_ = std::move(clock); }
    void SetToneSink(std::unique_ptr<ToneSink> sink);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    double Now();
    void ShowState();
    void ShowInstruments();
    void ShowIndicators();
    void FollowAlarm();
    bool InThisWindow(QObject* object) const;

    Parts parts_;
    WarningMonitor monitor_;
    std::unique_ptr<AlarmSound> sound_;  // made when first needed: opening the device takes time
    std::unique_ptr<ToneSink> pendingSink_;
    WarningFlasher* flasher_ = nullptr;
    std::vector<QPointer<QToolButton>> indicators_;
    QPointer<QMenu> list_;
    std::function<double()> clock_;
    double elapsedSeen_ = 0.0;
    double seconds_ = 0.0;
    QElapsedTimer sinceWatchCheck_;
    std::uint64_t shownRevision_ = 0;
    NightColours night_;
};

}  // namespace vekaton
