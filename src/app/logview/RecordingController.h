#pragma once

#include <QObject>
#include <QString>
#include <QWidget>
#include <functional>

namespace vekaton {

class ConfigurationSet;
class Engine;
class GraphsPage;
class StatusPanel;
class WindowCaption;

// "Record to File" / "STOP Record": the questions before a log is created, the captions while
// it records, and putting them back however recording ends.
class RecordingController : public QObject {
    Q_OBJECT

  public:
    enum class NameChoice { Automatic, Chosen, Cancel };

    // What recording shows and where it asks: the window is the dialogs' parent; logs are
    // named in the set's folder.
    struct Parts {
        Engine& engine;
        const ConfigurationSet& set;
        GraphsPage& graphs;
        StatusPanel& status;
        WindowCaption& caption;
        QWidget& window;
    };

    RecordingController(const Parts& parts, std::function<void(const QString&)> post);

    // The record button.
    void RecordClicked();
    // The engine closed the log (stop honoured, write failure, port lost, ...).
    void RecordingStopped();

    // Replaceable questions, so that tests can answer them: "Auto Name File ?" and the save
    // dialog (an empty name cancels).
    void SetAskName(std::function<NameChoice()> ask) { askName_ = std::move(ask); }
    void SetChooseFile(std::function<QString()> choose) { chooseFile_ = std::move(choose); }

  private:
    void Start();
    QString ChooseFile();

    Parts parts_;
    std::function<void(const QString&)> post_;
    std::function<NameChoice()> askName_;
    std::function<QString()> chooseFile_;
};

}  // namespace vekaton
