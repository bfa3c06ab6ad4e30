#include "app/sets/SetCommands.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <cstdio>

#include "app/AppTexts.h"
#include "app/GraphsPage.h"
#include "app/MessageQueue.h"
#include "app/StatusPanel.h"
#include "app/WindowCaption.h"
#include "app/WindowLifecycle.h"
#include "app/WindowQuestions.h"
#include "app/dashboard/DashboardController.h"
#include "app/sets/CrashRecovery.h"
#include "session/Session.h"

namespace vekaton {

SetCommands::SetCommands(const Parts& parts) : QObject(&parts.window), parts_(parts) {}

QStringList SetCommands::Saved(const std::vector<std::string>& errors) {
    QStringList list;
    for (const std::string& error : errors) {
        list.append(QString::fromStdString(error));
    }
    if (list.isEmpty()) {
        parts_.recovery.SetBaseline();  // the files hold it all now
    }
    return list;
}

void SetCommands::ReportSaveErrors(const QStringList& errors) {
    if (errors.isEmpty()) {
        return;
    }
    const QString text =
        tr("The configuration set was not saved completely; the files named below were left as "
           "they were, and the changes are kept for recovery:\n\n") +
        errors.join("\n");
    std::fprintf(stderr, "vekaton: %s\n", qPrintable(text));
    if (parts_.questions.Scripted() || QGuiApplication::platformName() == "offscreen") {
        parts_.messages.Post(text);
    } else {
        QMessageBox::warning(&parts_.window, parts_.window.windowTitle(), text);
    }
}

void SetCommands::SaveClick() {
    parts_.recovery.KeepNow();
    const QStringList errors = Saved(parts_.session.Save());
    ReportSaveErrors(errors);
    if (errors.isEmpty()) {
        const QString name = QString::fromStdString(parts_.session.Set().Names().setName);
        parts_.status.ShowNote(tr("Saved"),
                               tr("The configuration set \"%1\" was saved.").arg(name));
    }
}

std::optional<QString> SetCommands::AskSetFile(bool forSave) {
    if (setFileChooser_) {
        return setFileChooser_(forSave);
    }
    const ConfigurationSet& set = parts_.session.Set();
    const QString folder = QString::fromStdString(set.Folder().string());
    const QString start =
        QDir(folder).filePath(QString::fromStdString(set.Names().parameterFileName));
    QFileDialog dialog(&parts_.window, forSave ? tr("Save Config Info") : tr("Load Config Files"));
    dialog.setAcceptMode(forSave ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(forSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(texts::kConfigFilter);
    dialog.setDefaultSuffix("cfg");
    dialog.setDirectory(folder);
    if (forSave) {
        dialog.selectFile(start);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().first();
}

bool SetCommands::ChooseSetFile(bool forSave, QString* setName) {
    const std::optional<QString> picked = AskSetFile(forSave);
    if (!picked) {
        return false;
    }
    const QString chosen = *picked;
    const std::string name = SetNameFromChosenFile(chosen.toStdString());
    if (!IsUsableSetName(name)) {
        QMessageBox::warning(&parts_.window, parts_.window.windowTitle(),
                             tr("'%1' cannot name a configuration set. Choose a file name that "
                                "begins with a letter or digit.")
                                 .arg(QFileInfo(chosen).fileName()));
        return false;
    }
    if (!MoveToFolder(QFileInfo(chosen).absolutePath())) {
        return false;
    }
    *setName = QString::fromStdString(name);
    return true;
}

// A set chosen in another folder makes that folder the current one, unless another window
// holds that folder's set.
bool SetCommands::MoveToFolder(const QString& folder) {
    ConfigurationSet& set = parts_.session.Set();
    if (QDir(folder) != QDir(QString::fromStdString(set.Folder().string()))) {
        if (folderLocker_) {
            if (const auto refused = folderLocker_(folder)) {
                parts_.messages.Post(*refused);
                return false;
            }
        }
        QDir::setCurrent(folder);
        set.MoveToFolder(folder.toStdString());  // keeps what was read, such as the header
    }
    return true;
}

void SetCommands::SaveConfigInfo1Click() {
    QString setName;
    if (!ChooseSetFile(true, &setName)) {
        return;
    }
    parts_.caption.Append(" : " + setName);
    const bool wasRunning = parts_.session.Pause();
    parts_.recovery.KeepNow();
    const QStringList errors = Saved(parts_.session.SaveAs(setName.toStdString()));
    ReportSaveErrors(errors);
    // Saving keeps the link: acquisition goes on where it was.
    if (wasRunning) {
        parts_.session.GetEngine().PauseClick();
    }
}

void SetCommands::LoadConfigFiles1Click() {
    if (parts_.questions.YesNo(texts::kSaveChanges)) {
        SaveConfigInfo1Click();
    }
    QString setName;
    if (!ChooseSetFile(false, &setName)) {
        return;
    }
    LoadSet(setName);
}

void SetCommands::OpenSet(const QString& folder, const QString& setName) {
    if (MoveToFolder(QFileInfo(folder).absoluteFilePath())) {
        LoadSet(setName);
    }
}

void SetCommands::LoadSet(const QString& setName) {
    parts_.session.Pause();
    parts_.graphs.ClearChart();
    parts_.dashboard.Reset();
    parts_.lifecycle.Reopen([this, &setName] {
        // The pointer's error is shown before what reading the set says.
        if (auto error = parts_.session.Load(setName.toStdString())) {
            parts_.messages.Post(QString::fromStdString(*error));
        }
    });
}

}  // namespace vekaton
