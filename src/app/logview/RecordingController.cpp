#include "app/logview/RecordingController.h"

#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "app/AppTexts.h"
#include "app/GraphsPage.h"
#include "app/MainWindow.h"
#include "app/StatusPanel.h"
#include "log/DataLog.h"

namespace vekaton {

RecordingController::RecordingController(TForm1& window, std::function<void(const QString&)> post)
    : QObject(&window), window_(window), post_(std::move(post)) {}

void RecordingController::RecordClicked() {
    Engine& engine = window_.GetEngine();
    if (engine.Recording() && !engine.StopRequested()) {
        engine.StopRecording();
        window_.Graphs().SetRecordCaption(texts::kRecordToFile);
        window_.setWindowTitle(window_.BaseCaption());
        window_.Status().SetRecordingLabel(QString());
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
        &window_, texts::kRecordToFile, QString::fromStdString(window_.Set().Folder().string()),
        texts::kDataLogFilter);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) {
        path += ".dat";
    }
    return path;
}

void RecordingController::Start() {
    Engine& engine = window_.GetEngine();
    NameChoice choice = NameChoice::Cancel;
    if (askName_) {
        choice = askName_();
    } else {
        const auto answer =
            QMessageBox::question(&window_, window_.windowTitle(), texts::kAutoNameFile,
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        choice = answer == QMessageBox::Yes  ? NameChoice::Automatic
                 : answer == QMessageBox::No ? NameChoice::Chosen
                                             : NameChoice::Cancel;
    }
    QString path;
    if (choice == NameChoice::Automatic) {
        const QDate today = QDate::currentDate();
        path = QString::fromStdString(
            MakeAutoLogName(window_.Set().Folder(),
                            LogDate{today.year(), today.month(), today.day()})
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
    window_.Graphs().SetRecordCaption(texts::kStopRecord);
    window_.setWindowTitle(window_.BaseCaption() + texts::kFileCaption +
                           QFileInfo(path).absoluteFilePath());
}

void RecordingController::RecordingStopped() {
    window_.Graphs().SetRecordCaption(texts::kRecordToFile);
    window_.setWindowTitle(window_.BaseCaption());
}

}  // namespace vekaton
