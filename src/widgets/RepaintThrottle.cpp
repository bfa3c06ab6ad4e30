#include "widgets/RepaintThrottle.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace vekaton {

RepaintThrottle::RepaintThrottle(QWidget* widget) : QObject(widget), widget_(widget) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, widget_, [this] { widget_->update(); });
}

int RepaintThrottle::FrameIntervalMs() const {
    const QScreen* screen = widget_->screen();
    const double rate = screen != nullptr ? screen->refreshRate() : 60.0;
    if (!(rate >= 20.0 && rate <= 500.0)) {
        return 16;
    }
    return std::max(2, static_cast<int>(std::floor(1000.0 / rate)));
}

void RepaintThrottle::Request() {
    if (pending_) {
        return;  // a repaint is already on its way and will show the newest value
    }
    pending_ = true;
    const int interval = FrameIntervalMs();
    const qint64 elapsed = sinceLastPaint_.isValid() ? sinceLastPaint_.elapsed() : interval;
    if (elapsed >= interval) {
        widget_->update();
    } else {
        timer_.start(static_cast<int>(interval - elapsed));
    }
}

void RepaintThrottle::Painted() {
    pending_ = false;
    timer_.stop();
    sinceLastPaint_.start();
}

}  // namespace vekaton
