#include "app/logview/RecordingController.h"

#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "app/AppTexts.h"
#include "app/GraphsPage.h"
#include "app/StatusPanel.h"
#include "app/WindowCaption.h"
#include "engine/Engine.h"
#include "log/DataLog.h"
#include "set/ConfigurationSet.h"

namespace vekaton {

RecordingController::RecordingController(const Parts& parts,
                                         std::function<void(const QString&)> post)
    : QObject(&parts.window), parts_(parts), post_(std::move(post)) {}

void RecordingController::RecordClicked() {
    Engine& engine = parts_.engine;
    if (engine.Recording() && !engine.StopRequested()) {
        engine.StopRecording();
        parts_.graphs.SetRecordCaption(texts::kRecordToFile);
        parts_.caption.ShowBase();
        parts_.status.SetRecordingLabel(QString());
        return;
    }
    // The answer in flight is let in and dropped first, so the log starts on a frame boundary.
    engine.PrepareRecording([this] { Start(); });
}

QString RecordingController::ChooseFile() {
    if (chooseFile_) {
        return chooseFile_();
    }
    QString path = QFileDialog::getSaveFileName(
        &parts_.window, texts::kRecordToFile, QString::fromStdString(parts_.set.Folder().string()),
        texts::kDataLogFilter);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) {
        path += ".dat";
    }
    return path;
}

void RecordingController::Start() {
    Engine& engine = parts_.engine;
    NameChoice choice = NameChoice::Cancel;
    if (askName_) {
        choice = askName_();
    } else {
        const auto answer =
            QMessageBox::question(&parts_.window, parts_.window.windowTitle(), texts::kAutoNameFile,
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        choice = answer == QMessageBox::Yes  ? NameChoice::Automatic
                 : answer == QMessageBox::No ? NameChoice::Chosen
                                             : NameChoice::Cancel;
    }
    QString path;
    if (choice == NameChoice::Automatic) {
        const QDate today = QDate::currentDate();
        path = QString::fromStdString(
            MakeAutoLogName(parts_.set.Folder(), LogDate{today.year(), today.month(), today.day()})
                .string());
    } else if (choice == NameChoice::Chosen) {
        path = ChooseFile();
    }
    if (path.isEmpty()) {
        engine.CancelRecording();
        return;
    }
    if (auto error = engine.StartRecording(path.toStdString())) {
        engine.CancelRecording();
        post_(QString::fromStdString(*error));
        return;
    }
    parts_.graphs.SetRecordCaption(texts::kStopRecord);
    parts_.caption.ShowFile(path);
}

void RecordingController::RecordingStopped() {
    parts_.graphs.SetRecordCaption(texts::kRecordToFile);
    parts_.caption.ShowBase();
}

}  // namespace vekaton
