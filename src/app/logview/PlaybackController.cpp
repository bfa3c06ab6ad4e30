#include "app/logview/PlaybackController.h"

#include <QFileDialog>
#include <QFileInfo>

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
    // One log at a time in the chart: a log being viewed is closed first.
    parts_.logViewer.Close();
    parts_.graphs.ClearChart();
    if (auto error = engine.StartPlayback(path.toStdString(), startFrame)) {
        post_(QString::fromStdString(*error));
        return false;
    }
    engine.SetPlaybackSpeed(bar_->Speed());
    parts_.graphs.SetRecordEnabled(false);
    parts_.graphs.SetViewEnabled(false);
    parts_.graphs.SetPlaybackCaption(texts::kStopPlayback);
    parts_.graphs.Chart()->SetFollowing(true);
    parts_.caption.ShowFile(path);
    bar_->ShowPaused(false);
    bar_->ShowPosition(engine.PlaybackPosition(), engine.PlaybackFrames(),
                       engine.PlaybackIntervalMs());
    bar_->show();
    return true;
}

void PlaybackController::Ended() {
    parts_.graphs.SetRecordEnabled(true);
    parts_.graphs.SetViewEnabled(true);
    parts_.graphs.SetPlaybackCaption(texts::kPlayDataLog);
    parts_.caption.ShowBase();
    bar_->hide();
}

void PlaybackController::Moved(std::int64_t frame, std::int64_t frames) {
    const Engine& engine = parts_.engine;
    bar_->ShowPaused(engine.PlaybackPaused());
    bar_->ShowPosition(frame, frames, engine.PlaybackIntervalMs());
}

void PlaybackController::Jumped() {
    // The chart showed the frames played in order; after a jump it starts again from there.
    parts_.graphs.ClearChart();
}

}  // namespace vekaton
