#include "app/logview/PlaybackBar.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <algorithm>
#include <cmath>

namespace vekaton {
namespace {

struct SpeedChoice {
    const char* label;
    double factor;
};
constexpr SpeedChoice kSpeeds[] = {{"1/4 x", 0.25}, {"1/2 x", 0.5}, {"1 x", 1.0},
                                   {"2 x", 2.0},    {"4 x", 4.0},   {"8 x", 8.0}};
constexpr int kNormalSpeed = 2;

QString TimeText(double seconds) {
    const int whole = static_cast<int>(seconds);
    return QStringLiteral("%1:%2.%3")
        .arg(whole / 60)
        .arg(whole % 60, 2, 10, QLatin1Char('0'))
        .arg(static_cast<int>((seconds - whole) * 10) % 10);
}

}  // namespace

PlaybackBar::PlaybackBar(QWidget* parent) : QWidget(parent) {
    setObjectName("PlaybackBar");
    const auto button = [this](QStyle::StandardPixmap icon, const QString& tip) {
        auto* b = new QToolButton;
        b->setIcon(style()->standardIcon(icon));
        b->setToolTip(tip);
        b->setAutoRaise(true);
        return b;
    };
    playPause_ = button(QStyle::SP_MediaPause, tr("Pause (Space)"));
    playPause_->setObjectName("PlayPause");
    playPause_->setShortcut(QKeySequence(Qt::Key_Space));
    step_ = button(QStyle::SP_MediaSkipForward, tr("One frame and pause (.)"));
    step_->setObjectName("StepFrame");
    step_->setShortcut(QKeySequence(Qt::Key_Period));
    stop_ = button(QStyle::SP_MediaStop, tr("Stop playback"));
    stop_->setObjectName("StopPlayback");
    slider_ = new QSlider(Qt::Horizontal);
    slider_->setObjectName("PlaybackPosition");
    slider_->setToolTip(tr("Drag to go to another place in the log"));
    slider_->setPageStep(50);
    position_ = new QLabel;
    position_->setMinimumWidth(position_->fontMetrics().horizontalAdvance(
        "000:00.0 / 000:00.0   frame 0000000 of 0000000"));
    speed_ = new QComboBox;
    speed_->setObjectName("PlaybackSpeed");
    speed_->setToolTip(tr("Playback speed"));
    for (const SpeedChoice& choice : kSpeeds) {
        speed_->addItem(QString::fromLatin1(choice.label), choice.factor);
    }
    speed_->setCurrentIndex(kNormalSpeed);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 0);
    layout->addWidget(new QLabel(tr("Playback")));
    layout->addWidget(playPause_);
    layout->addWidget(step_);
    layout->addWidget(stop_);
    layout->addWidget(slider_, 1);
    layout->addWidget(position_);
    layout->addWidget(speed_);

    connect(playPause_, &QToolButton::clicked, this, &PlaybackBar::playPauseClicked);
    connect(step_, &QToolButton::clicked, this, &PlaybackBar::stepClicked);
    connect(stop_, &QToolButton::clicked, this, &PlaybackBar::stopClicked);
    connect(slider_, &QSlider::valueChanged, this, [this](int value) {
        if (!showing_) {
            emit seekRequested(value);
        }
    });
    connect(speed_, &QComboBox::currentIndexChanged, this, [this] { emit speedChanged(Speed()); });
}

void PlaybackBar::ShowPosition(std::int64_t frame, std::int64_t frames, int intervalMs) {
    showing_ = true;
    // A slider holds an int; a log of more frames than that would be an 8 GB log of 4-byte
    // records, which is clamped rather than wrapped.
    const int last = static_cast<int>(std::clamp<std::int64_t>(frames, 0, INT32_MAX));
    if (slider_->maximum() != last) {
        slider_->setRange(0, last);
    }
    if (!slider_->isSliderDown()) {
        slider_->setValue(static_cast<int>(std::clamp<std::int64_t>(frame, 0, last)));
    }
    showing_ = false;
    const double interval = intervalMs / 1000.0;
    position_->setText(tr("%1 / %2   frame %3 of %4")
                           .arg(TimeText(static_cast<double>(frame) * interval),
                                TimeText(static_cast<double>(frames) * interval))
                           .arg(std::min(frame + 1, frames))
                           .arg(frames));
}

void PlaybackBar::ShowPaused(bool paused) {
    playPause_->setIcon(
        style()->standardIcon(paused ? QStyle::SP_MediaPlay : QStyle::SP_MediaPause));
    playPause_->setToolTip(paused ? tr("Play (Space)") : tr("Pause (Space)"));
}

void PlaybackBar::ResetSpeed() {
    speed_->setCurrentIndex(kNormalSpeed);
}

double PlaybackBar::Speed() const {
    return speed_->currentData().toDouble();
}

}  // namespace vekaton
