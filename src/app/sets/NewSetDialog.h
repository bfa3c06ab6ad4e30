#pragma once

#include <QDialog>
#include <QList>
#include <functional>
#include <optional>
#include <vector>

#include "app/SetupDialog.h"
#include "definitions/DefinitionLibrary.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace vekaton {

// What a new set starts from.
enum class NewSetSource { Demo, Library, Adx, Empty };

// What the user chose: the source, and where and under which name the set goes.
struct NewSetChoice {
    NewSetSource source = NewSetSource::Library;
    QString definitionId;  // from the library
    bool needsStartString = false;
    QString adxFile;  // an ADX file, read already
    QString folder;
    QString setName;
    QString port;         // the device, or the simulated module's name
    QString startString;  // an ALDL 160 interface's, hex as the setup panel takes it
};

// File > New Set and the first start: the first page chooses the source (the demo, a stream of
// the library found by ID, engine, year or ECM, an ADX file, or an empty set), the second the
// port, the set's name and its folder, and for a 160-baud stream the interface's start string.
// Start checks that the name is free in the folder; the caller writes the set.
class NewSetDialog : public QDialog {
    Q_OBJECT

  public:
    struct Inputs {
        std::vector<LibraryEntry> library;
        std::function<QList<PortChoice>()> ports;
        QString folder;  // where the set goes unless the user picks another
        bool firstStart = false;
        // The ADX file to import; nothing when the user cancels.
        std::function<std::optional<QString>()> chooseAdxFile;
        // Reads the file: why it cannot be imported, or "" when it can.
        std::function<QString(const QString& file)> readAdx;
        std::function<std::optional<QString>(const QString& folder)> chooseFolder;
    };

    NewSetDialog(Inputs inputs, QWidget* parent = nullptr);

    // Opens on the second page for an ADX file read already (File > Import ADX Definition).
    void StartWithAdx(const QString& file);

    // The inputs, for tests and for anyone who would rather not click.
    void ChooseSource(NewSetSource source);
    void SetSearch(const QString& text);
    QStringList ShownDefinitions() const;  // IDs, as listed now
    bool SelectDefinition(const QString& id);
    // Page one to two; false (and says why) when something is missing.
    bool Next();
    void Back();
    int PageIndex() const;
    QStringList PortLabels() const;
    bool SelectPort(const QString& device);
    void SetSetName(const QString& name);
    void SetFolder(const QString& folder);
    void SetStartString(const QString& text);
    bool StartStringShown() const;
    QString ProblemText() const;
    QString PortNote() const;
    NewSetChoice Choice() const;

    void accept() override;

  private:
    void BuildSourcePage(QStackedWidget* pages);
    void BuildPortPage(QStackedWidget* pages);
    void FillDefinitions();
    void FillPorts();
    void PortChanged();
    void ShowPage(int index);
    void ShowProblem(const QString& text);
    const LibraryEntry* SelectedEntry() const;

    Inputs inputs_;
    NewSetChoice choice_;
    QList<PortChoice> ports_;

    QStackedWidget* pages_ = nullptr;
    QRadioButton* demo_ = nullptr;
    QRadioButton* library_ = nullptr;
    QRadioButton* adx_ = nullptr;
    QRadioButton* empty_ = nullptr;
    QLineEdit* search_ = nullptr;
    QListWidget* definitions_ = nullptr;
    QLabel* summary_ = nullptr;
    QComboBox* port_ = nullptr;
    QPushButton* refresh_ = nullptr;
    QLabel* portNote_ = nullptr;
    QLabel* startStringNote_ = nullptr;
    QLineEdit* startString_ = nullptr;
    QLabel* startStringLabel_ = nullptr;
    QLineEdit* setName_ = nullptr;
    QLabel* folder_ = nullptr;
    QLabel* problem_ = nullptr;
    QPushButton* back_ = nullptr;
    QPushButton* next_ = nullptr;
};

}  // namespace vekaton
