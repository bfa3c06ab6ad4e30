#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QWidget;

namespace vekaton {

// Turns any number of "the value changed" calls into at most one repaint per screen refresh:
// values may arrive thousands of times a second, the eye needs one frame per refresh.
class RepaintThrottle : public QObject {
    Q_OBJECT
  public:
    explicit RepaintThrottle(QWidget* widget);

    // A new value is waiting to be shown.
    void Request();
    // The widget is being painted now (whatever asked for it).
    void Painted();

    bool Pending() const { return pending_; }
    int FrameIntervalMs() const;

  private:
    QWidget* widget_;
    QTimer timer_;
    QElapsedTimer sinceLastPaint_;
    bool pending_ = false;
};

}  // namespace vekaton
