#pragma once

#include "warnings/WarningMonitor.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <vector>

namespace vekaton {

class InstrumentWidget;

// Gives instruments their warning look and keeps those whose alarm sounds flashing, all in step
// on one timer that runs only while something flashes.
class WarningFlasher : public QObject {
    Q_OBJECT
  public:
    static constexpr int kPeriodMs = 500;  // lit and dark halves of a flash

    explicit WarningFlasher(QObject* parent = nullptr);

    // Sets an instrument's warning level; a sounding one flashes while flashing is on.
    void Show(InstrumentWidget* instrument, WarningLevel level);
    // Off: a sounding alarm shows steadily, like any warning.
    void SetFlashing(bool on);
    bool Flashing() const { return flashing_; }
    bool Running() const { return timer_.isActive(); }
    // One flash step, as the timer takes it.
    void Tick();

  private:
    void Prune();

    QTimer timer_;
    std::vector<QPointer<InstrumentWidget>> sounding_;
    bool flashing_ = true;
    bool lit_ = true;
};

}  // namespace vekaton
