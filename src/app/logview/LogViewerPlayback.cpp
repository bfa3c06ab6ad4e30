// Playback inside the log viewer: the chart holds the whole log, decoded once on opening, so
// following playback is only a matter of the window shown and of cursor A.
#include <algorithm>

#include "app/GraphsPage.h"
#include "app/logview/LogViewer.h"
#include "engine/Engine.h"
#include "widgets/TStripChart.h"

namespace vekaton {

namespace {

// Frames shown at least while following playback, so a short log still shows a stretch.
constexpr double kFewestFramesShown = 10.0;

}  // namespace

void LogViewer::BeginPlayback() {
    if (!IsOpen() || playing_) {
        return;
    }
    playing_ = true;
    // The frames played are the log's frames the chart holds already.
    parts_.engine.SetChart(nullptr);
    const TStripChart* chart = parts_.graphs.Chart();
    const double whole = TimeOf(log_.RecordCount());
    double width = chart->ViewRight() - chart->ViewLeft();
    if (width >= whole * 0.95) {
        width = std::min(whole, chart->WindowSeconds());  // zoomed out: a stretch, as live
    }
    playWidth_ = std::max(width, kFewestFramesShown * intervalMs_ / 1000.0);
}

void LogViewer::PlaybackMoved(std::int64_t position) {
    if (!playing_ || !IsOpen()) {
        return;
    }
    const std::int64_t last = std::clamp<std::int64_t>(position - 1, 0, log_.RecordCount() - 1);
    TStripChart* chart = parts_.graphs.Chart();
    chart->SetCursor(TStripChart::kCursorA, firstSample_ + last);
    // The history up to the frame played and nothing after it, as the live chart shows it.
    const double interval = intervalMs_ / 1000.0;
    const double right = TimeOf(last) + interval / 2.0;
    chart->SetViewWindow(right - playWidth_, right);
}

void LogViewer::EndPlayback(std::int64_t lastFrame) {
    if (!playing_) {
        return;
    }
    playing_ = false;
    parts_.engine.SetChart(&parts_.graphs.Store());
    if (!IsOpen()) {
        return;
    }
    parts_.graphs.Chart()->ResetView();
    // The cursor where playback stopped, with the values playing from the start gives there; a
    // log that could not be read any more has said so already.
    quiet_ = true;
    SetCursorFrame(lastFrame >= 0 ? lastFrame : std::max<std::int64_t>(CursorFrame(), 0));
    quiet_ = false;
}

}  // namespace vekaton
