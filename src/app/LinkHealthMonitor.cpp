#include "app/LinkHealthMonitor.h"

#include <QTimer>

#include "app/StatusPanel.h"
#include "engine/Clock.h"
#include "engine/Engine.h"

namespace vekaton {

LinkHealthMonitor::LinkHealthMonitor(const Engine& engine, const Clock& clock, StatusPanel& status,
                                     QObject* parent)
    : QObject(parent), engine_(engine), clock_(clock), status_(status) {
    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, &LinkHealthMonitor::Update);
    timer_->start(kIntervalMs);
    Update();
}

void LinkHealthMonitor::Update() {
    const LinkCounters& counters = engine_.Counters();
    health_.Update(counters, engine_.Running(), engine_.RealTimePlayback(), clock_.NowMs(),
                   engine_.Settings().sampleRate);
    status_.SetLinkHealth(health_.State(), health_.FramesPerSecond(), counters.checksumErrors,
                          counters.syncErrors);
    const bool noData = health_.State() == LinkState::NoData;
    if (noData != noData_) {
        noData_ = noData;
        emit noDataChanged(noData);
    }
    emit updated();
}

}  // namespace vekaton
