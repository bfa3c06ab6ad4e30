#pragma once

#include <QString>
#include <functional>

#include "engine/EngineView.h"

namespace vekaton {

class TForm1;

// The engine's view in the window: the status strip, the "Debug" trace, the chart, messages.
class WindowEngineView : public EngineView {
  public:
    explicit WindowEngineView(TForm1& window, std::function<void(const QString&)> post)
        : window_(window), post_(std::move(post)) {}

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
    TForm1& window_;
    std::function<void(const QString&)> post_;
};

}  // namespace vekaton
