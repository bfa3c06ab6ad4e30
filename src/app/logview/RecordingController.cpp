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
    if (Asking()) {
        question_->raise();
        question_->activateWindow();
        return;
    }
    AskName();
}

// Asked window-modal but without a loop of its own: the poll timer and the port go on
// meanwhile, so the strip keeps running and no frame is lost to the question.
void RecordingController::AskName() {
    auto* box =
        new QMessageBox(QMessageBox::Question, parts_.window.windowTitle(), texts::kAutoNameFile,
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, &parts_.window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setObjectName("AutoNameFile");
    connect(box, &QMessageBox::finished, this, [this, box](int) {
        const QMessageBox::StandardButton answer = box->standardButton(box->clickedButton());
        question_ = nullptr;
        NameChosen(answer == QMessageBox::Yes  ? NameChoice::Automatic
                   : answer == QMessageBox::No ? NameChoice::Chosen
                                               : NameChoice::Cancel);
    });
    question_ = box;
    box->open();
}

void RecordingController::NameChosen(NameChoice choice) {
    if (choice == NameChoice::Automatic) {
        const QDate today = QDate::currentDate();
        Start(QString::fromStdString(
            MakeAutoLogName(parts_.set.Folder(), LogDate{today.year(), today.month(), today.day()})
                .string()));
    } else if (choice == NameChoice::Chosen) {
        ChooseFile();
    }
}

void RecordingController::ChooseFile() {
    auto* dialog = new QFileDialog(&parts_.window, texts::kRecordToFile,
                                   QString::fromStdString(parts_.set.Folder().string()),
                                   texts::kDataLogFilter);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setObjectName("RecordFileDialog");
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    connect(dialog, &QFileDialog::finished, this, [this, dialog](int result) {
        question_ = nullptr;
        const QStringList chosen = dialog->selectedFiles();
        if (result != QDialog::Accepted || chosen.isEmpty() || chosen.front().isEmpty()) {
            return;  // cancelled: nothing recorded, acquisition never stopped
        }
        QString path = chosen.front();
        if (QFileInfo(path).suffix().isEmpty()) {
            path += ".dat";
        }
        Start(path);
    });
    question_ = dialog;
    dialog->open();
}

void RecordingController::Start(const QString& path) {
    if (parts_.engine.FileViewMode() || parts_.engine.RealTimePlayback()) {
        return;  // a log was opened while the question stood: the record button is off now
    }
    if (auto error = parts_.engine.StartRecording(path.toStdString())) {
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
