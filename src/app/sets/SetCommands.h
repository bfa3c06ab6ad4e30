#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace vekaton {

class DashboardController;
class GraphsPage;
class MessageQueue;
class RecoveryCopies;
class Session;
class StatusPanel;
class WindowCaption;
class WindowLifecycle;
class WindowQuestions;

// The set's commands in the window: Save, Save Config Info and Load Config Files, with their
// file dialogs and what they report. The session does the reading and writing.
class SetCommands : public QObject {
    Q_OBJECT

  public:
    struct Parts {
        Session& session;
        StatusPanel& status;
        GraphsPage& graphs;
        DashboardController& dashboard;
        MessageQueue& messages;
        RecoveryCopies& recovery;
        WindowCaption& caption;
        WindowQuestions& questions;
        WindowLifecycle& lifecycle;
        QWidget& window;
    };
    // The set file chosen for Save Config Info (forSave) or Load Config Files; nullopt cancels.
    // Replaceable so that tests can choose.
    using SetFileChooser = std::function<std::optional<QString>(bool forSave)>;

    // Takes the lock of a set folder the window moves to; the message when another window
    // holds it (the move is then refused).
    using FolderLocker = std::function<std::optional<QString>(const QString& folder)>;

    explicit SetCommands(const Parts& parts);

    void SetSetFileChooser(SetFileChooser chooser) { setFileChooser_ = std::move(chooser); }
    void SetFolderLocker(FolderLocker locker) { folderLocker_ = std::move(locker); }

    void SaveClick();
    void SaveConfigInfo1Click();
    void LoadConfigFiles1Click();
    // Loads a set as Load Config Files does once the file is chosen; a set in another folder
    // makes that folder the current one.
    void OpenSet(const QString& folder, const QString& setName);

  private:
    QStringList Saved(const std::vector<std::string>& errors);
    void ReportSaveErrors(const QStringList& errors);
    std::optional<QString> AskSetFile(bool forSave);
    bool ChooseSetFile(bool forSave, QString* setName);
    bool MoveToFolder(const QString& folder);
    void LoadSet(const QString& setName);

    Parts parts_;
    SetFileChooser setFileChooser_;
    FolderLocker folderLocker_;
};

}  // namespace vekaton
