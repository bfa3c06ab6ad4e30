#include "app/WindowEngineView.h"

#include <QAction>
#include <QTabWidget>

#include "app/DebugPage.h"
#include "app/GraphsPage.h"
#include "app/StatusPanel.h"
#include "app/dashboard/DashboardController.h"
#include "app/logview/PlaybackController.h"
#include "app/logview/RecordingController.h"
#include "engine/EngineTexts.h"
#include "io/QtText.h"

namespace vekaton {

bool WindowEngineView::DebugPageActive() const {
    return widgets_.pages.currentWidget() == &widgets_.debug;
}

void WindowEngineView::TraceUpdated(const TraceUpdate& update) {
    widgets_.debug.UpdateTrace(update.cleared, QString::fromLatin1(update.appended));
}

void WindowEngineView::ShowChecksumLabel(bool visible) {
    widgets_.status.SetChecksumLabelVisible(visible);
}

void WindowEngineView::ShowSyncErrors(int count) {
    widgets_.status.SetSyncErrors(count);
}

void WindowEngineView::ShowElapsed(double seconds) {
    widgets_.status.SetElapsed(seconds);
}

void WindowEngineView::ShowPacket(int size, bool ledLit) {
    widgets_.status.SetPacket(size, ledLit);
}

void WindowEngineView::ShowRecordingLabel(std::string_view text) {
    widgets_.status.SetRecordingLabel(FromStd(text));
}

void WindowEngineView::RecordingStopped() {
    if (recording_ != nullptr) {
        recording_->RecordingStopped();
    }
}

void WindowEngineView::ShowRunState(std::string_view caption) {
    widgets_.pause.setText(FromStd(caption));
    // A stop is a gap in time: the chart does not join the frames on either side of it.
    if (caption == kRunCaption) {
        widgets_.graphs.MarkBreak();
    }
}

void WindowEngineView::ShowMessage(std::string_view text) {
    post_(FromStd(text));
}

void WindowEngineView::FrameCompleted(const FrameSummary& /*frame*/) {
    widgets_.dashboard.FrameCompleted();
}

void WindowEngineView::PlaybackEnded() {
    if (playback_ != nullptr) {
        playback_->Ended();
    }
}

void WindowEngineView::PlaybackMoved(std::int64_t frame, std::int64_t frames) {
    if (playback_ != nullptr) {
        playback_->Moved(frame, frames);
    }
}

void WindowEngineView::PlaybackJumped() {
    if (playback_ != nullptr) {
        playback_->Jumped();
    }
}

}  // namespace vekaton
