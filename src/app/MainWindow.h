#pragma once

#include <QMainWindow>
#include <QStringList>
#include <memory>

#include "app/LinkCommands.h"
#include "app/WindowRooms.h"
#include "app/sets/SetCommands.h"

class QAction;
class QTabWidget;

namespace vekaton {

class LayoutReadPrompts;
class WindowEngineView;
class WindowSessionHost;

// The main window: the hall, not the house. It builds the pages and menus, owns the session
// (parameter table, decoder, dashboard model, configuration set, engine) and hands each room
// only what that room needs; the session runs start-up and shutdown in their fixed order.
class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    // holdsInstanceLock: this process holds the single-instance lock, so no other copy can be
    // saving, and what killed saves left beside the set's files may be removed.
    explicit MainWindow(bool demo = false, QWidget* parent = nullptr,
                        bool holdsInstanceLock = false);
    ~MainWindow() override;

    // Start-up: bindings emptied, engine defaults, set files read, chart set up.
    void FormCreate();
    // Window first shown: start-up messages, then AutoRun.
    void FormActivate();
    // The program's exit code once the window closed: 1 when a file of the closing sequence
    // could not be written, else 0.
    int ExitCode() const;
    // Shows a message to the user: at once when the window is up, else once it shows.
    void ShowMessage(const QString& text);
    // Opens a data log in the viewer, on the chart (a log named on the command line).
    bool OpenDataLog(const QString& path);
    // Keeps copies of unsaved changes in `folder` from now on, for the next start after a crash.
    // Only the holder of the single-instance lock does this; tests pass a folder of their own.
    void KeepRecoveryCopiesIn(const QString& folder);

    // The rooms, for tests that look inside; the window's own work never goes through here.
    const WindowRooms& Rooms() const { return *rooms_; }

    // Questions the window asks, replaceable so that tests can answer them.
    void SetPortPrompt(LinkCommands::PortPrompt prompt);
    void SetConfirm(std::function<bool(const QString& question)> confirm);
    void SetSetFileChooser(SetCommands::SetFileChooser chooser);
    void SetLayoutPrompts(LayoutReadPrompts* prompts);

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
    void BuildRooms();
    void BuildMenus();
    void Connect();
    void RawDataToggled(bool on);
    void PageChanged(int index);

    std::unique_ptr<Session> session_;
    std::unique_ptr<WindowCaption> caption_;
    std::unique_ptr<WindowQuestions> questions_;
    std::unique_ptr<WindowEngineView> view_;
    std::unique_ptr<WindowSessionHost> host_;
    std::unique_ptr<WindowRooms> rooms_;

    // Children of the window, made in the constructor.
    MessageQueue* messages_ = nullptr;
    QtClock* clock_ = nullptr;
    PortController* port_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    DashboardController* dashboard_ = nullptr;
    GraphsPage* graphs_ = nullptr;
    DebugPage* debug_ = nullptr;
    StatusPanel* status_ = nullptr;
    QAction* pauseAction_ = nullptr;
    QAction* autoRunAction_ = nullptr;
    RecoveryCopies* recovery_ = nullptr;
    RecordingController* recording_ = nullptr;
    LogViewer* logViewer_ = nullptr;
    PlaybackController* playback_ = nullptr;
    LinkCommands* link_ = nullptr;
    FirmwareLoader* loader_ = nullptr;
    LinkHealthMonitor* linkHealth_ = nullptr;
    WindowLifecycle* lifecycle_ = nullptr;
    SetCommands* setCommands_ = nullptr;
};

}  // namespace vekaton
