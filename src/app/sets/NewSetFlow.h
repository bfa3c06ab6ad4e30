#pragma once

#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

#include "app/sets/NewSetDialog.h"

class QDialog;
class QTabWidget;
class QWidget;

namespace vekaton {

struct AdxImport;
class LinkCommands;
class MessageQueue;
class PortController;
class Session;
class SetCommands;
class StatusPanel;
class WindowQuestions;

// File > New Set, File > Import ADX Definition and the first start in a folder without a set:
// the choice of source, port and name (NewSetDialog), the set written (a library stream with
// a dashboard made for the window's real page size, an ADX import with its report, the demo, or
// an empty set), loaded as Load Config Files loads a set, and acquisition started.
class NewSetFlow : public QObject {
    Q_OBJECT

  public:
    struct Parts {
        Session& session;
        SetCommands& setCommands;
        LinkCommands& link;
        PortController& port;
        QTabWidget& pages;
        MessageQueue& messages;
        WindowQuestions& questions;
        StatusPanel& status;
        QWidget& window;
    };
    // Dialogs and the ADX file's choice, replaceable so that tests can answer them.
    using DialogRunner = std::function<int(QDialog&)>;
    using FileChooser = std::function<std::optional<QString>()>;

    explicit NewSetFlow(const Parts& parts);

    void SetDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }
    void SetAdxFileChooser(FileChooser chooser) { chooseAdxFile_ = std::move(chooser); }

    void NewSetClick();
    void ImportAdxClick();
    // When the set's folder holds no set (FolderHoldsNoSet), offers the new set once the
    // start-up messages are read; true when it does.
    bool OfferAtFirstStart();

    // The room of a dashboard page now, which a generated dashboard is made for.
    QSize PageSize() const;

  private:
    NewSetDialog::Inputs Inputs(bool firstStart);
    void Run(NewSetDialog& dialog, bool firstStart);
    QString ReadAdx(const QString& file);
    std::optional<QString> AskAdxFile();
    void ShowReport(const NewSetChoice& choice);
    void OpenAndStart(const NewSetChoice& choice, const QStringList& notes);
    void StartIfReady();
    void Warn(const QString& text);
    int RunDialog(QDialog& dialog);

    Parts parts_;
    DialogRunner runDialog_;
    FileChooser chooseAdxFile_;
    std::shared_ptr<AdxImport> adx_;  // the file read last, until its set is written
};

}  // namespace vekaton
