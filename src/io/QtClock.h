#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <map>

#include "engine/Clock.h"

namespace vekaton {

// The core's clock over Qt: time from a monotonic QElapsedTimer, callbacks from the GUI thread's
// event loop. One precise single-shot QTimer serves every pending call, so calls run in order of
// their due time, and calls due at the same time in the order they were asked for.
class QtClock : public QObject, public Clock {
    Q_OBJECT

  public:
    explicit QtClock(QObject* parent = nullptr);
    ~QtClock() override;
    QtClock(const QtClock&) = delete;
    QtClock& operator=(const QtClock&) = delete;

    std::int64_t NowMs() const override;
    TimerId CallLater(std::int64_t delayMs, std::function<void()> callback) override;
    void Cancel(TimerId id) override;

    std::size_t Pending() const { return calls_.size(); }

  private:
    struct Key {
        std::int64_t due;
        TimerId id;
        bool operator<(const Key& other) const {
            return due != other.due ? due < other.due : id < other.id;
        }
    };

    void RunDue();
    void ArmTimer();

    QElapsedTimer elapsed_;
    QTimer timer_;
    TimerId nextId_ = 1;
    std::map<Key, std::function<void()>> calls_;
    std::map<TimerId, std::int64_t> dueById_;
};

}  // namespace vekaton
