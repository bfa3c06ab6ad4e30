#include "app/car/IdleCursor.h"

#include <QCursor>
#include <QWidget>

namespace vekaton {

IdleCursor::IdleCursor(QWidget& window) : QObject(&window), window_(window) {
    idle_.setSingleShot(true);
    idle_.setInterval(kHideAfterMs);
    connect(&idle_, &QTimer::timeout, this, &IdleCursor::Hide);
    // Moves over widgets that do not track the mouse send no events: the position is watched.
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, &IdleCursor::Poll);
}

void IdleCursor::SetActive(bool on) {
    if (on == active_) {
        return;
    }
    active_ = on;
    if (on) {
        last_ = QCursor::pos();
        poll_.start();
        idle_.start();
    } else {
        poll_.stop();
        idle_.stop();
        Reveal();
    }
}

void IdleCursor::Moved() {
    if (!active_) {
        return;
    }
    last_ = QCursor::pos();
    Reveal();
    idle_.start();
}

void IdleCursor::Poll() {
    if (QCursor::pos() != last_) {
        Moved();
    }
}

void IdleCursor::Hide() {
    if (active_ && !hidden_) {
        hidden_ = true;
        window_.setCursor(Qt::BlankCursor);
    }
}

void IdleCursor::Reveal() {
    if (hidden_) {
        hidden_ = false;
        window_.unsetCursor();
    }
}

}  // namespace vekaton
