#include "app/logview/PlaybackController.h"

#include <QFileDialog>
#include <QFileInfo>
#include <algorithm>

#include "app/AppTexts.h"
#include "app/GraphsPage.h"
#include "app/WindowCaption.h"
#include "app/logview/LogViewer.h"
#include "app/logview/PlaybackBar.h"
#include "engine/Engine.h"
#include "set/ConfigurationSet.h"
#include "widgets/TStripChart.h"

namespace vekaton {

PlaybackController::PlaybackController(const Parts& parts, std::function<void(const QString&)> post)
    : QObject(&parts.window), parts_(parts), post_(std::move(post)) {
    bar_ = new PlaybackBar;
    bar_->hide();
    parts_.graphs.AddBar(bar_);
    Engine& engine = parts_.engine;
    connect(bar_, &PlaybackBar::playPauseClicked, this, [this, &engine] {
        engine.SetPlaybackPaused(!engine.PlaybackPaused());
        bar_->ShowPaused(engine.PlaybackPaused());
    });
    connect(bar_, &PlaybackBar::stepClicked, this, [&engine] { engine.StepPlayback(); });
    connect(bar_, &PlaybackBar::stopClicked, this, [&engine] { engine.StopPlayback(); });
    connect(bar_, &PlaybackBar::seekRequested, this,
            [&engine](std::int64_t frame) { engine.SeekPlayback(frame); });
    connect(bar_, &PlaybackBar::speedChanged, this,
            [&engine](double speed) { engine.SetPlaybackSpeed(speed); });
}

bool PlaybackController::Playing() const {
    return parts_.engine.RealTimePlayback();
}

void PlaybackController::PlaybackClicked() {
    if (Playing()) {
        parts_.engine.StopPlayback();
        return;
    }
    QString path;
    if (chooseFile_) {
        path = chooseFile_();
    } else {
        path = QFileDialog::getOpenFileName(&parts_.window, texts::kPlayDataLog,
                                            QString::fromStdString(parts_.set.Folder().string()),
                                            texts::kDataLogFilter);
    }
    if (!path.isEmpty()) {
        Start(path);
    }
}

bool PlaybackController::Start(const QString& path, std::int64_t startFrame) {
    Engine& engine = parts_.engine;
    if (engine.Recording()) {
        post_(tr("Stop recording before playing a data log."));
        return false;
    }
    // Playback runs inside the log viewer: the whole log is on the chart, and the viewer's bar
    // (Export, Close) stays through it and after it.
    LogViewer& viewer = parts_.logViewer;
    if (engine.RealTimePlayback()) {
        engine.StopPlayback();
    }
    if (!viewer.IsOpen() || QFileInfo(viewer.Path()) != QFileInfo(path)) {
        if (!viewer.Open(path)) {
            return false;
        }
    }
    viewer.BeginPlayback();
    if (auto error = engine.StartPlayback(path.toStdString(), startFrame)) {
        viewer.EndPlayback(-1);
        post_(QString::fromStdString(*error));
        return false;
    }
    startFrame_ = engine.PlaybackPosition();
    lastPlayed_ = startFrame_;
    engine.SetPlaybackSpeed(bar_->Speed());
    parts_.graphs.SetRecordEnabled(false);
    parts_.graphs.SetViewEnabled(false);
    parts_.graphs.SetPlaybackCaption(texts::kStopPlayback);
    parts_.caption.ShowFile(path);
    bar_->ShowPaused(false);
    bar_->ShowPosition(engine.PlaybackPosition(), engine.PlaybackFrames(),
                       engine.PlaybackIntervalMs());
    bar_->show();
    viewer.PlaybackMoved(engine.PlaybackPosition());
    return true;
}

void PlaybackController::Ended() {
    LogViewer& viewer = parts_.logViewer;
    parts_.graphs.SetRecordEnabled(!viewer.IsOpen());
    parts_.graphs.SetViewEnabled(true);
    parts_.graphs.SetPlaybackCaption(texts::kPlayDataLog);
    if (viewer.IsOpen()) {
        parts_.caption.ShowFile(viewer.Path());
    } else {
        parts_.caption.ShowBase();
    }
    bar_->hide();
    viewer.EndPlayback(lastPlayed_);
}

void PlaybackController::Moved(std::int64_t frame, std::int64_t frames) {
    const Engine& engine = parts_.engine;
    bar_->ShowPaused(engine.PlaybackPaused());
    bar_->ShowPosition(frame, frames, engine.PlaybackIntervalMs());
    // The frame played last; before the first one, the frame playback started at.
    lastPlayed_ = std::max(frame - 1, std::min(frame, startFrame_));
    parts_.logViewer.PlaybackMoved(frame);
}

void PlaybackController::Jumped() {
    // The viewer holds the whole log: after a jump it shows the history up to the new place
    // (Moved follows at once).
    startFrame_ = parts_.engine.PlaybackPosition();
}

}  // namespace vekaton
