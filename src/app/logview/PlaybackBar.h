#pragma once

#include <QWidget>
#include <cstdint>

class QComboBox;
class QLabel;
class QSlider;
class QToolButton;

namespace vekaton {

// The controls of real-time playback under the chart: play/pause, single step, stop, the
// position slider (drag to seek), where playback stands, and the speed.
class PlaybackBar : public QWidget {
    Q_OBJECT

  public:
    explicit PlaybackBar(QWidget* parent = nullptr);

    void ShowPosition(std::int64_t frame, std::int64_t frames, int intervalMs);
    void ShowPaused(bool paused);
    void ResetSpeed();
    double Speed() const;
    QSlider* Slider() const { return slider_; }

  signals:
    void playPauseClicked();
    void stepClicked();
    void stopClicked();
    // The user dragged the slider or clicked beside its handle: go to this frame.
    void seekRequested(std::int64_t frame);
    void speedChanged(double speed);

  private:
    QToolButton* playPause_ = nullptr;
    QToolButton* step_ = nullptr;
    QToolButton* stop_ = nullptr;
    QSlider* slider_ = nullptr;
    QLabel* position_ = nullptr;
    QComboBox* speed_ = nullptr;
    bool showing_ = false;  // the slider is being set, not dragged
};

}  // namespace vekaton
