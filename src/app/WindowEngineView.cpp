#include "app/WindowEngineView.h"

#include <QAction>
#include <QTabWidget>

#include "app/DebugPage.h"
#include "app/GraphsPage.h"
#include "app/MainWindow.h"
#include "app/StatusPanel.h"
#include "app/dashboard/DashboardController.h"
#include "app/logview/PlaybackController.h"
#include "app/logview/RecordingController.h"
#include "engine/EngineTexts.h"

namespace vekaton {
namespace {

QString FromStd(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

bool WindowEngineView::DebugPageActive() const {
    return window_.Pages().currentWidget() == &window_.Debug();
}

void WindowEngineView::TraceUpdated(const TraceUpdate& update) {
    window_.Debug().UpdateTrace(update.cleared, QString::fromLatin1(update.appended));
}

void WindowEngineView::ShowChecksumLabel(bool visible) {
    window_.Status().SetChecksumLabelVisible(visible);
}

void WindowEngineView::ShowSyncErrors(int count) {
    window_.Status().SetSyncErrors(count);
}

void WindowEngineView::ShowElapsed(double seconds) {
    window_.Status().SetElapsed(seconds);
}

void WindowEngineView::ShowPacket(int size, bool ledLit) {
    window_.Status().SetPacket(size, ledLit);
}

void WindowEngineView::ShowRecordingLabel(std::string_view text) {
    window_.Status().SetRecordingLabel(FromStd(text));
}

void WindowEngineView::RecordingStopped() {
    window_.Recording().RecordingStopped();
}

void WindowEngineView::ShowRunState(std::string_view caption) {
    window_.PauseAction()->setText(FromStd(caption));
    // A stop is a gap in time: the chart does not join the frames on either side of it.
    if (caption == kRunCaption) {
        window_.Graphs().MarkBreak();
    }
}

void WindowEngineView::ShowMessage(std::string_view text) {
    post_(FromStd(text));
}

void WindowEngineView::FrameCompleted(const FrameSummary& /*frame*/) {
    window_.Dashboard().FrameCompleted();
}

void WindowEngineView::PlaybackEnded() {
    window_.Playback().Ended();
}

void WindowEngineView::PlaybackMoved(std::int64_t frame, std::int64_t frames) {
    window_.Playback().Moved(frame, frames);
}

void WindowEngineView::PlaybackJumped() {
    window_.Playback().Jumped();
}

}  // namespace vekaton
