#pragma once

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

#include "dashboard/DashboardModel.h"
#include "decode/Decoder.h"
#include "decode/FormulaFrontEnd.h"
#include "decode/ParameterTable.h"
#include "engine/Engine.h"
#include "set/ConfigurationSet.h"
#include "set/RecoveryStore.h"

class QAction;
class QTabWidget;

namespace vekaton {

class DashboardController;
class DashboardFileIo;
class LayoutReadPrompts;
class RecoveryKeeper;
class DebugPage;
class FirmwareLoader;
class GraphsPage;
class LogViewer;
class PlaybackController;
class RecordingController;
class LinkHealthMonitor;
class MessageQueue;
class PortController;
class QtClock;
class StatusPanel;
class WindowEngineView;

// The main window: owns the engine, the decoder with its parameter table, the dashboard model
// and the configuration set, and runs start-up and shutdown in their fixed order.
class TForm1 : public QMainWindow {
    Q_OBJECT

  public:
    // holdsInstanceLock: this process holds the single-instance lock, so no other copy can be
    // saving, and what killed saves left beside the set's files may be removed.
    explicit TForm1(bool demo = false, QWidget* parent = nullptr, bool holdsInstanceLock = false);
    ~TForm1() override;

    // Start-up: bindings emptied, engine defaults, set files read, chart set up.
    void FormCreate();
    // Window first shown: start-up messages, then AutoRun.
    void FormActivate();
    // The close-time save: port flushed and closed, then the set's files. Returns the errors.
    QStringList FormClose();
    // The program's exit code once the window closed: 1 when a file of the closing sequence
    // could not be written, else 0.
    int ExitCode() const { return saveFailedAtClose_ ? 1 : 0; }
    // Shows a message to the user: at once when the window is up, else once it shows.
    void ShowMessage(const QString& text);

    Engine& GetEngine() { return *engine_; }
    Decoder& GetDecoder() { return *decoder_; }
    const ParameterTable& Table() const { return table_; }
    ConfigurationSet& Set() { return *set_; }
    StatusPanel& Status() { return *status_; }
    DebugPage& Debug() { return *debugPage_; }
    GraphsPage& Graphs() { return *graphsPage_; }
    DashboardController& Dashboard() { return *dashboardUi_; }
    LinkHealthMonitor& LinkHealth() { return *linkHealth_; }
    QTabWidget& Pages() { return *tabs_; }
    PortController& Ports() { return *port_; }
    MessageQueue& Messages() { return *messages_; }
    QString BaseCaption() const { return baseCaption_; }
    QAction* PauseAction() const { return pauseAction_; }
    // The rooms of the chart page: recording, playback and the log viewer (whose
    // cursorFrameChanged signal says which frame the table's values come from).
    RecordingController& Recording() { return *recording_; }
    PlaybackController& Playback() { return *playback_; }
    LogViewer& LogView() { return *logViewer_; }
    FirmwareLoader& Loader() { return *loader_; }
    // Opens the port of the settings in force again (after the firmware loader had it).
    void ReopenPort();
    DashboardFileIo& DashboardFiles() { return *dashboardFiles_; }

    // Keeps copies of unsaved changes in `folder` from now on, for the next start after a crash.
    // Only the holder of the single-instance lock does this; tests pass a folder of their own.
    void KeepRecoveryCopiesIn(const QString& folder);
    RecoveryKeeper* Recovery() const { return recovery_; }
    // What the set's files would hold if it were saved now.
    RecoverySnapshot SetSnapshot() const;

    // Questions the window asks, replaceable so that tests can answer them.
    // The port would not open: show the message with the port list, once; true with the
    // chosen device in settings.portName.
    using PortPrompt = std::function<bool(const QString& message, LinkSettings& settings)>;
    void SetPortPrompt(PortPrompt prompt) { portPrompt_ = std::move(prompt); }
    using Confirm = std::function<bool(const QString& question)>;
    void SetConfirm(Confirm confirm) { confirm_ = std::move(confirm); }
    QStringList PostedMessages() const;
    // The set file chosen for Save Config Info (forSave) or Load Config Files; nullopt cancels.
    using SetFileChooser = std::function<std::optional<QString>(bool forSave)>;
    void SetSetFileChooser(SetFileChooser chooser) { setFileChooser_ = std::move(chooser); }
    // The questions and messages of reading a damaged layout file.
    void SetLayoutPrompts(LayoutReadPrompts* prompts) { layoutPrompts_ = prompts; }

    // Menu commands.
    void PauseClick();
    void SetupClick();
    void SaveClick();
    void SaveConfigInfo1Click();
    void LoadConfigFiles1Click();
    void AutoRun1Click();
    void ExitNoAutoSave1Click();
    void Exit1Click();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildPages();
    void BuildMenus();
    void InitEngineDefaults();
    void ReadSettings();
    void ApplyLinkSettings(const LinkSettings& settings, bool touchReceivePath);
    void OpenPort(const LinkSettings& settings, bool offerChoice);
    void OfferPortChoice();
    void AutoRunIfSet();
    bool AskPortChoice(const QString& message, LinkSettings& settings);
    bool AskYesNo(const QString& question);
    void ShowModeLabel(SyncMode mode);
    void ReadDashboardFiles();
    void SaveWholeSet(QStringList& errors);
    void ReportSaveErrors(const QStringList& errors);
    std::optional<QString> AskSetFile(bool forSave);
    bool ChooseSetFile(bool forSave, QString* setName);
    void RawDataToggled(bool on);
    void TracingToggled(bool on);
    void PageChanged(int index);
    void ReportPortLost(const QString& message);
    void ReportPortRestored(const QString& message);

    bool demo_ = false;
    bool activated_ = false;
    bool skipSave_ = false;
    bool closing_ = false;
    bool holdsInstanceLock_ = false;
    bool saveFailedAtClose_ = false;
    bool resumeAfterRestore_ = false;
    QString pendingPortChoice_;  // why the set's port did not open at start-up
    QString baseCaption_;
    QStringList startupMessages_;
    PortPrompt portPrompt_;
    Confirm confirm_;
    SetFileChooser setFileChooser_;
    LayoutReadPrompts* layoutPrompts_ = nullptr;

    ParameterTable table_;
    FormulaFrontEnd formulas_;
    DashboardModel dashboard_;
    std::unique_ptr<Decoder> decoder_;
    std::unique_ptr<ConfigurationSet> set_;

    QTabWidget* tabs_ = nullptr;
    DashboardController* dashboardUi_ = nullptr;
    LinkHealthMonitor* linkHealth_ = nullptr;
    DebugPage* debugPage_ = nullptr;
    GraphsPage* graphsPage_ = nullptr;
    StatusPanel* status_ = nullptr;
    MessageQueue* messages_ = nullptr;
    QAction* pauseAction_ = nullptr;
    QAction* autoRunAction_ = nullptr;

    QtClock* clock_ = nullptr;
    PortController* port_ = nullptr;
    std::unique_ptr<WindowEngineView> view_;
    std::unique_ptr<Engine> engine_;
    std::unique_ptr<DashboardFileIo> dashboardFiles_;
    RecoveryKeeper* recovery_ = nullptr;
    RecordingController* recording_ = nullptr;
    PlaybackController* playback_ = nullptr;
    LogViewer* logViewer_ = nullptr;
    FirmwareLoader* loader_ = nullptr;
};

}  // namespace vekaton
