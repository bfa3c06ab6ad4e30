#include "io/QtClock.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace vekaton {

namespace {

// QTimer takes an int of milliseconds; longer waits are re-armed when this one ends.
constexpr std::int64_t kLongestArm = std::numeric_limits<int>::max() / 2;

}  // namespace

QtClock::QtClock(QObject* parent) : QObject(parent) {
    elapsed_.start();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &QtClock::RunDue);
}

QtClock::~QtClock() = default;

std::int64_t QtClock::NowMs() const {
    return elapsed_.elapsed();
}

Clock::TimerId QtClock::CallLater(std::int64_t delayMs, std::function<void()> callback) {
    const TimerId id = nextId_++;
    const std::int64_t now = NowMs();
    const std::int64_t delay =
        std::clamp<std::int64_t>(delayMs, 0, std::numeric_limits<std::int64_t>::max() / 2 - now);
    const std::int64_t due = now + delay;
    calls_.emplace(Key{due, id}, std::move(callback));
    dueById_.emplace(id, due);
    ArmTimer();
    return id;
}

void QtClock::Cancel(TimerId id) {
    const auto found = dueById_.find(id);
    if (found == dueById_.end()) {
        return;
    }
    calls_.erase(Key{found->second, id});
    dueById_.erase(found);
    ArmTimer();
}

void QtClock::ArmTimer() {
    if (calls_.empty()) {
        timer_.stop();
        return;
    }
    const std::int64_t wait =
        std::clamp<std::int64_t>(calls_.begin()->first.due - NowMs(), 0, kLongestArm);
    timer_.start(static_cast<int>(wait));
}

void QtClock::RunDue() {
    // Only calls already due when this pass starts run in it: a callback that asks to be called
    // again at once waits for the next pass, so the event loop is never starved.
    const std::int64_t now = NowMs();
    std::vector<Key> due;
    for (const auto& [key, callback] : calls_) {
        if (key.due > now) {
            break;
        }
        due.push_back(key);
    }
    for (const Key& key : due) {
        const auto found = calls_.find(key);
        if (found == calls_.end()) {
            continue;  // cancelled by an earlier callback of this pass
        }
        std::function<void()> callback = std::move(found->second);
        calls_.erase(found);
        dueById_.erase(key.id);
        if (callback) {
            callback();
        }
    }
    ArmTimer();
}

}  // namespace vekaton
