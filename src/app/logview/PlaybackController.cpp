#include "app/logview/PlaybackController.h"

#include <QFileDialog>
#include <QFileInfo>

#include "app/AppTexts.h"
#include "app/GraphsPage.h"
#include "app/MainWindow.h"
#include "app/logview/LogViewer.h"
#include "app/logview/PlaybackBar.h"
#include "widgets/TStripChart.h"

namespace vekaton {

PlaybackController::PlaybackController(TForm1& window, std::function<void(const QString&)> post)
    : QObject(&window), window_(window), post_(std::move(post)) {
    bar_ = new PlaybackBar;
    bar_->hide();
    window_.Graphs().AddBar(bar_);
    Engine& engine = window_.GetEngine();
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
    return window_.GetEngine().RealTimePlayback();
}

void PlaybackController::PlaybackClicked() {
    if (Playing()) {
        window_.GetEngine().StopPlayback();
        return;
    }
    QString path;
    if (chooseFile_) {
        path = chooseFile_();
    } else {
        path = QFileDialog::getOpenFileName(&window_, texts::kPlayDataLog,
                                            QString::fromStdString(window_.Set().Folder().string()),
                                            texts::kDataLogFilter);
    }
    if (!path.isEmpty()) {
        Start(path);
    }
}

bool PlaybackController::Start(const QString& path, std::int64_t startFrame) {
    Engine& engine = window_.GetEngine();
    if (engine.Recording()) {
        post_(tr("Stop recording before playing a data log."));
        return false;
    }
    // One log at a time in the chart: a log being viewed is closed first.
    window_.LogView().Close();
    window_.Graphs().ClearChart();
    if (auto error = engine.StartPlayback(path.toStdString(), startFrame)) {
        post_(QString::fromStdString(*error));
        return false;
    }
    engine.SetPlaybackSpeed(bar_->Speed());
    window_.Graphs().SetRecordEnabled(false);
    window_.Graphs().SetViewEnabled(false);
    window_.Graphs().SetPlaybackCaption(texts::kStopPlayback);
    window_.Graphs().Chart()->SetFollowing(true);
    window_.setWindowTitle(window_.BaseCaption() + texts::kFileCaption +
                           QFileInfo(path).absoluteFilePath());
    bar_->ShowPaused(false);
    bar_->ShowPosition(engine.PlaybackPosition(), engine.PlaybackFrames(),
                       engine.PlaybackIntervalMs());
    bar_->show();
    return true;
}

void PlaybackController::Ended() {
    window_.Graphs().SetRecordEnabled(true);
    window_.Graphs().SetViewEnabled(true);
    window_.Graphs().SetPlaybackCaption(texts::kPlayDataLog);
    window_.setWindowTitle(window_.BaseCaption());
    bar_->hide();
}

void PlaybackController::Moved(std::int64_t frame, std::int64_t frames) {
    const Engine& engine = window_.GetEngine();
    bar_->ShowPaused(engine.PlaybackPaused());
    bar_->ShowPosition(frame, frames, engine.PlaybackIntervalMs());
}

void PlaybackController::Jumped() {
    // The chart showed the frames played in order; after a jump it starts again from there.
    window_.Graphs().ClearChart();
}

}  // namespace vekaton
