#include "app/sets/NewSetFlow.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QTabWidget>

#include "app/AppTexts.h"
#include "app/LinkCommands.h"
#include "app/MessageQueue.h"
#include "app/PortChooser.h"
#include "app/StatusPanel.h"
#include "app/WindowQuestions.h"
#include "app/sets/ImportReportDialog.h"
#include "app/sets/NewSetTexts.h"
#include "app/sets/NewSetWriter.h"
#include "app/sets/SetCommands.h"
#include "definitions/AdxImport.h"
#include "definitions/ImportedSet.h"
#include "io/InstalledData.h"
#include "io/PortController.h"
#include "session/Session.h"
#include "set/FolderSet.h"

namespace vekaton {
namespace {

using namespace newsettexts;

// Smaller pages than this get instruments too small to read; such a page scrolls instead.
constexpr QSize kSmallestPage(640, 400);

}  // namespace

NewSetFlow::NewSetFlow(const Parts& parts) : QObject(&parts.window), parts_(parts) {}

int NewSetFlow::RunDialog(QDialog& dialog) {
    return runDialog_ ? runDialog_(dialog) : dialog.exec();
}

void NewSetFlow::Warn(const QString& text) {
    QMessageBox box(QMessageBox::Warning, parts_.window.windowTitle(), text, QMessageBox::Ok,
                    &parts_.window);
    box.setObjectName("NewSetProblem");
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    RunDialog(box);
}

QSize NewSetFlow::PageSize() const {
    const QWidget* page = parts_.pages.currentWidget();
    const QSize size = page != nullptr && parts_.window.isVisible() ? page->size() : QSize();
    return size.expandedTo(kSmallestPage);
}

NewSetDialog::Inputs NewSetFlow::Inputs(bool firstStart) {
    NewSetDialog::Inputs inputs;
    inputs.library = ListLibrary(DefinitionsFolder().toStdString());
    inputs.ports = [] { return AvailablePortChoices(); };
    inputs.folder = QString::fromStdString(parts_.session.Set().Folder().string());
    inputs.firstStart = firstStart;
    inputs.chooseAdxFile = [this] { return AskAdxFile(); };
    inputs.readAdx = [this](const QString& file) { return ReadAdx(file); };
    inputs.chooseFolder = [this](const QString& start) -> std::optional<QString> {
        const QString folder =
            QFileDialog::getExistingDirectory(&parts_.window, tr("Folder of the new set"), start);
        return folder.isEmpty() ? std::nullopt : std::optional<QString>(folder);
    };
    return inputs;
}

std::optional<QString> NewSetFlow::AskAdxFile() {
    if (chooseAdxFile_) {
        return chooseAdxFile_();
    }
    const QString file = QFileDialog::getOpenFileName(
        &parts_.window, kChooseAdxTitle,
        QString::fromStdString(parts_.session.Set().Folder().string()), kAdxFilter);
    return file.isEmpty() ? std::nullopt : std::optional<QString>(file);
}

QString NewSetFlow::ReadAdx(const QString& file) {
    AdxImportResult result = ImportAdxFile(file.toStdString());
    if (!result.import) {
        adx_.reset();
        const QString error = QString::fromStdString(result.error);
        // A file that cannot be opened gets the reason as a clause after its name.
        return result.fileUnreadable
                   ? QString("\"%1\" %2.").arg(QDir::toNativeSeparators(file), error)
                   : QString(kNotAdx).arg(QDir::toNativeSeparators(file), error);
    }
    adx_ = std::move(result.import);
    return {};
}

void NewSetFlow::NewSetClick() {
    NewSetDialog dialog(Inputs(false), &parts_.window);
    Run(dialog, false);
}

void NewSetFlow::ImportAdxClick() {
    const std::optional<QString> file = AskAdxFile();
    if (!file) {
        return;
    }
    if (const QString error = ReadAdx(*file); !error.isEmpty()) {
        Warn(error);
        return;
    }
    NewSetDialog dialog(Inputs(false), &parts_.window);
    dialog.StartWithAdx(*file);
    Run(dialog, false);
}

bool NewSetFlow::OfferAtFirstStart() {
    if (!FolderHoldsNoSet(parts_.session.Set().Folder())) {
        return false;
    }
    parts_.messages.WhenIdle([this] {
        NewSetDialog dialog(Inputs(true), &parts_.window);
        Run(dialog, true);
    });
    return true;
}

void NewSetFlow::Run(NewSetDialog& dialog, bool firstStart) {
    if (RunDialog(dialog) != QDialog::Accepted) {
        return;
    }
    const NewSetChoice choice = dialog.Choice();
    // At the first start there is nothing of the old set worth keeping, and saving it would
    // leave a "Default" set beside the new one.
    if (!firstStart && parts_.questions.YesNo(texts::kSaveChanges)) {
        parts_.setCommands.SaveClick();
    }
    const NewSetWritten written =
        WriteNewSet(choice, choice.source == NewSetSource::Adx ? adx_.get() : nullptr, PageSize());
    if (!written.error.isEmpty()) {
        Warn(QString(kNotWritten).arg(written.error));
        return;
    }
    if (choice.source == NewSetSource::Adx) {
        ShowReport(choice);
        adx_.reset();
    }
    OpenAndStart(choice, written.notes);
}

void NewSetFlow::ShowReport(const NewSetChoice& choice) {
    const AdxImport& import = *adx_;
    QStringList lines;
    for (const std::string& line : import.report) {
        lines.append(QString::fromStdString(line));
    }
    const QString summary =
        QString(kReportSummary)
            .arg(choice.setName, QDir::toNativeSeparators(choice.folder))
            .arg(import.mappedValues)
            .arg(import.mappedBits)
            .arg(import.skipped)
            .arg(QString::fromStdString(ImportReportFileName(choice.setName.toStdString())));
    ImportReportDialog report(summary, lines, &parts_.window);
    RunDialog(report);
}

void NewSetFlow::OpenAndStart(const NewSetChoice& choice, const QStringList& notes) {
    QWidget& window = parts_.window;
    const QRect geometry = window.geometry();
    const Qt::WindowStates states = window.windowState();
    parts_.setCommands.OpenSet(choice.folder, choice.setName);
    // The new set opens in the window as it stands: the bounds its layout holds were made up
    // for it, not chosen by the user.
    window.setWindowState(states);
    if (!(states & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
        window.setGeometry(geometry);
    }
    for (const QString& note : notes) {
        parts_.messages.Post(note);
    }
    if (choice.source == NewSetSource::Empty) {
        parts_.status.ShowNote(kEmptyNote);
        return;
    }
    // After the port question start-up may ask, and after what loading had to say.
    parts_.messages.WhenIdle([this] { StartIfReady(); });
}

void NewSetFlow::StartIfReady() {
    const Engine& engine = parts_.session.GetEngine();
    const LinkSettings& settings = engine.Settings();
    const bool noStartString =
        settings.syncMode == SyncMode::Aldl160 && settings.requestString.empty();
    if (!engine.Running() && parts_.port.IsOpen() && settings.dataBytes > 0 && !noStartString) {
        parts_.link.PauseClick();
    }
}

}  // namespace vekaton
