#pragma once

#include <QObject>

#include "engine/LinkHealth.h"

class QTimer;

namespace vekaton {

class Clock;
class Engine;
class StatusPanel;

// Looks at the engine's link counters four times a second and shows how the link is doing in
// the status strip: running, stopped, "no data" (running, but nothing for two seconds or three
// poll periods), frames per second, checksum and sync errors. Says when "no data" begins and
// ends, so that the dashboard can grey out what it can no longer vouch for.
class LinkHealthMonitor : public QObject {
    Q_OBJECT

  public:
    static constexpr int kIntervalMs = 250;

    LinkHealthMonitor(const Engine& engine, const Clock& clock, StatusPanel& status,
                      QObject* parent = nullptr);

    // One look now (the timer does it on its own).
    void Update();
    LinkState State() const { return health_.State(); }

  signals:
    void noDataChanged(bool noData);
    // After every look, for whatever else shows the link's health (full screen's indicator).
    void updated();

  private:
    const Engine& engine_;
    const Clock& clock_;
    StatusPanel& status_;
    LinkHealth health_;
    QTimer* timer_ = nullptr;
    bool noData_ = false;
};

}  // namespace vekaton
