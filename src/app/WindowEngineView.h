#pragma once

#include <QString>
#include <functional>

#include "engine/EngineView.h"

class QAction;
class QTabWidget;

namespace vekaton {

class DashboardController;
class DebugPage;
class GraphsPage;
class PlaybackController;
class RecordingController;
class StatusPanel;

// The engine's view in the window: the status strip, the "Debug" trace, the chart, the Run/Pause
// command's caption, the dashboard, messages; recording and playback hear how they end.
class WindowEngineView : public EngineView {
  public:
    struct Widgets {
        QTabWidget& pages;
        DebugPage& debug;
        StatusPanel& status;
        GraphsPage& graphs;
        QAction& pause;
        DashboardController& dashboard;
    };

    WindowEngineView(const Widgets& widgets, std::function<void(const QString&)> post)
        : widgets_(widgets), post_(std::move(post)) {}
    // The log rooms are made after the engine, which needs this view first.
    void AttachLogRooms(RecordingController& recording, PlaybackController& playback) {
        recording_ = &recording;
        playback_ = &playback;
    }

    bool DebugPageActive() const override;
    void TraceUpdated(const TraceUpdate& update) override;
    void ShowChecksumLabel(bool visible) override;
    void ShowSyncErrors(int count) override;
    void ShowElapsed(double seconds) override;
    void ShowPacket(int size, bool ledLit) override;
    void ShowRecordingLabel(std::string_view text) override;
    void RecordingStopped() override;
    void ShowRunState(std::string_view caption) override;
    void ShowMessage(std::string_view text) override;
    void FrameCompleted(const FrameSummary& frame) override;
    void PlaybackEnded() override;
    void PlaybackMoved(std::int64_t frame, std::int64_t frames) override;
    void PlaybackJumped() override;

  private:
    Widgets widgets_;
    std::function<void(const QString&)> post_;
    RecordingController* recording_ = nullptr;
    PlaybackController* playback_ = nullptr;
};

}  // namespace vekaton
