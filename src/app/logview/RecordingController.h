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
// it records, and putting them back however recording ends. The questions are asked without
// holding up the link: acquisition goes on while they stand, and the log begins with the first
// whole frame after the answer.
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
    // A question ("Auto Name File ?" or the save dialog) stands open.
    bool Asking() const { return question_ != nullptr; }
    // The question that stands open, for tests that answer it as the user would.
    QWidget* Question() const { return question_; }

  private:
    void AskName();
    void NameChosen(NameChoice choice);
    void ChooseFile();
    void Start(const QString& path);

    Parts parts_;
    std::function<void(const QString&)> post_;
    QWidget* question_ = nullptr;  // deletes itself once answered
};

}  // namespace vekaton
