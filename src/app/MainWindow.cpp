#include "app/MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>
#include <utility>

#include "app/AppTexts.h"
#include "app/DebugPage.h"
#include "app/FirmwareLoader.h"
#include "app/GraphsPage.h"
#include "app/HelpViewer.h"
#include "app/LinkHealthMonitor.h"
#include "app/MessageQueue.h"
#include "app/PortChooser.h"
#include "app/SetupDialog.h"
#include "app/StatusPanel.h"
#include "app/WindowEngineView.h"
#include "app/dashboard/DashboardController.h"
#include "app/dashboard/ValueTable.h"
#include "app/logview/LogViewBar.h"
#include "app/logview/LogViewer.h"
#include "app/logview/PlaybackController.h"
#include "app/logview/RecordingController.h"
#include "app/sets/CrashRecovery.h"
#include "app/sets/DashboardFileIo.h"
#include "app/sets/LayoutPromptBoxes.h"
#include "engine/EngineTexts.h"
#include "io/PortController.h"
#include "io/QtClock.h"
#include "set/SettingsFile.h"

namespace vekaton {
namespace {

QString FromStd(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

constexpr int kDashboardPages = 3;

}  // namespace

TForm1::TForm1(bool demo, QWidget* parent, bool holdsInstanceLock)
    : QMainWindow(parent), demo_(demo), holdsInstanceLock_(holdsInstanceLock) {
    setObjectName("Form1");
    resize(1024, 700);
    decoder_ = std::make_unique<Decoder>(table_, formulas_);
    set_ = std::make_unique<ConfigurationSet>(QDir::currentPath().toStdString());
    messages_ = new MessageQueue(this);
    clock_ = new QtClock(this);
    port_ = new PortController(this);

    BuildPages();
    BuildMenus();

    view_ = std::make_unique<WindowEngineView>(*this,
                                               [this](const QString& text) { ShowMessage(text); });
    engine_ = std::make_unique<Engine>(*port_, *clock_, *decoder_, *view_);
    const auto post = [this](const QString& text) { ShowMessage(text); };
    recording_ = new RecordingController(*this, post);
    playback_ = new PlaybackController(*this, post);
    logViewer_ = new LogViewer(*this, post);
    loader_ = new FirmwareLoader(*this, post);
    // The value table shows the frame under the log viewer's cursor.
    connect(logViewer_, &LogViewer::cursorFrameChanged, this, [this](qint64 frame) {
        if (frame >= 0 && dashboardUi_ != nullptr) {
            dashboardUi_->Values().Refresh();
        }
    });
    graphsPage_->SetTable(&table_);
    engine_->SetChart(&graphsPage_->Store());
    decoder_->SetItems(&dashboard_);
    decoder_->SetMessageHandler([this](const DecoderMessage& message) {
        messages_->Post(FromStd(message.text), FromStd(message.informative),
                        FromStd(message.details));
    });
    dashboardUi_->SetEngine(engine_.get());
    dashboardFiles_ =
        std::make_unique<DashboardFileIo>(*dashboardUi_, *decoder_, *graphsPage_, *this, *tabs_);
    dashboardUi_->SetMessageSink([this](const QString& text) { messages_->Post(text); });
    linkHealth_ = new LinkHealthMonitor(*engine_, *clock_, *status_, this);
    connect(linkHealth_, &LinkHealthMonitor::noDataChanged, dashboardUi_,
            &DashboardController::SetNoData);
    port_->SetReceiveHandler(
        [this](std::span<const std::uint8_t> bytes) { engine_->OnBytesReceived(bytes); });
    connect(port_, &PortController::PortLost, this, &TForm1::ReportPortLost);
    connect(port_, &PortController::PortRestored, this, &TForm1::ReportPortRestored);
    connect(port_, &PortController::TraceStopped, this, [this](const QString& message) {
        debugPage_->SetTracing(false, {});
        messages_->Post(message);
    });

    FormCreate();
}

TForm1::~TForm1() {
    // The engine's timers and callbacks refer to the port and the clock: it goes first.
    closing_ = true;  // no message box for a window on its way out
    engine_->CloseRecordingNow(kProgramEndsReason);
    engine_.reset();
    // The dashboard room listens to the model, a member that goes before the window's children.
    delete dashboardUi_;
    dashboardUi_ = nullptr;
    port_->Close();
}

void TForm1::BuildPages() {
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    tabs_ = new QTabWidget;
    tabs_->setObjectName("Tabsheet");
    dashboardUi_ =
        new DashboardController(dashboard_, *decoder_, table_, *this, *tabs_, kDashboardPages);
    graphsPage_ = new GraphsPage;
    graphsPage_->setObjectName("TabSheet6");
    tabs_->addTab(graphsPage_, "Graphs");
    debugPage_ = new DebugPage;
    tabs_->addTab(debugPage_, "Debug");
    status_ = new StatusPanel;
    layout->addWidget(tabs_, 1);
    setCentralWidget(central);
    // The status strip runs under the pages and the value table alike.
    auto* strip = new QDockWidget(this);
    strip->setObjectName("StatusStrip");
    strip->setTitleBarWidget(new QWidget(strip));
    strip->setFeatures(QDockWidget::NoDockWidgetFeatures);
    strip->setWidget(status_);
    addDockWidget(Qt::BottomDockWidgetArea, strip);

    connect(tabs_, &QTabWidget::currentChanged, this, &TForm1::PageChanged);
    connect(debugPage_, &DebugPage::getAldlClicked, this, [this] { engine_->GetAldl(); });
    connect(debugPage_, &DebugPage::loopBackToggled, this,
            [this](bool on) { engine_->SetLoopBackEnabled(on); });
    connect(debugPage_, &DebugPage::testDataChoiceChanged, this,
            [this](int choice) { engine_->SetTestDataChoice(choice); });
    connect(debugPage_, &DebugPage::tracingToggled, this, &TForm1::TracingToggled);
    connect(graphsPage_, &GraphsPage::recordClicked, this, [this] { recording_->RecordClicked(); });
    connect(graphsPage_, &GraphsPage::playbackClicked, this,
            [this] { playback_->PlaybackClicked(); });
    connect(graphsPage_, &GraphsPage::viewClicked, this, [this] { logViewer_->OpenClicked(); });
    connect(graphsPage_, &GraphsPage::rawDataToggled, this, &TForm1::RawDataToggled);
    connect(graphsPage_, &GraphsPage::channelsEdited, this, [this](bool added) {
        if (added && logViewer_->IsOpen()) {
            logViewer_->Redraw();  // the new channel gets the whole log, not a blank history
        }
    });
}

void TForm1::BuildMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    QAction* save = file->addAction(tr("Save"), this, &TForm1::SaveClick);
    save->setShortcut(QKeySequence::Save);
    save->setToolTip(tr("Write the configuration set's files now (Ctrl+S)"));
    QAction* saveAs = file->addAction(tr("Save Config Info"), this, &TForm1::SaveConfigInfo1Click);
    saveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    QAction* load = file->addAction(tr("Load Config Files"), this, &TForm1::LoadConfigFiles1Click);
    load->setShortcut(QKeySequence::Open);
    menuBar()->addMenu(dashboardUi_->EditMenu());
    file->addSeparator();
    QAction* openLog =
        file->addAction(tr("Open Data Log..."), this, [this] { logViewer_->OpenClicked(); });
    openLog->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    QAction* closeLog =
        file->addAction(tr("Close Data Log"), this, [this] { logViewer_->Close(); });
    closeLog->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    QAction* exportCsv =
        file->addAction(tr("Export CSV..."), this, [this] { logViewer_->ExportClicked(); });
    exportCsv->setObjectName("ExportCsv");
    QAction* play = file->addAction(texts::kPlayDataLog + QString("..."), this,
                                    [this] { playback_->PlaybackClicked(); });
    play->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));  // Ctrl+P: parameters
    connect(file, &QMenu::aboutToShow, this, [this, closeLog, exportCsv, play] {
        closeLog->setEnabled(logViewer_->IsOpen());
        exportCsv->setEnabled(logViewer_->IsOpen());
        play->setText(engine_->RealTimePlayback() ? QString(texts::kStopPlayback)
                                                  : texts::kPlayDataLog + QString("..."));
    });
    file->addSeparator();
    autoRunAction_ = file->addAction(tr("Auto Run at Startup"), this, &TForm1::AutoRun1Click);
    autoRunAction_->setCheckable(true);
    file->addSeparator();
    file->addAction(tr("Exit - No Auto Save"), this, &TForm1::ExitNoAutoSave1Click);
    QAction* exitNow = file->addAction(tr("Exit"), this, &TForm1::Exit1Click);
    exitNow->setObjectName("ExitNow");
    exitNow->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    pauseAction_ = menuBar()->addAction(texts::kRun, this, &TForm1::PauseClick);
    pauseAction_->setObjectName("Pause");
    pauseAction_->setShortcut(QKeySequence(Qt::Key_F5));
    pauseAction_->setToolTip(tr("Start or stop acquisition (F5)"));

    QAction* setup = menuBar()->addAction(tr("Setup"), this, &TForm1::SetupClick);
    setup->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));

    QMenu* tools = menuBar()->addMenu(tr("&Tools"));
    QAction* flash = tools->addAction(texts::kFlashUpdate, this, [this] { loader_->Run(); });
    flash->setObjectName("PICFlashUpdate");

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    QAction* manual = help->addAction(tr("Contents"), this, [this] { ShowManual(this); });
    manual->setShortcut(QKeySequence::HelpContents);
    help->addAction(tr("About"), this, [this] { vekaton::ShowAbout(this); });
}

void TForm1::FormCreate() {
    table_.ClearBindings();
    logViewer_->Close();
    dashboardFiles_->Forget();
    InitEngineDefaults();
    graphsPage_->SetRawMode(false);
    dashboardUi_->DefinitionsChanged();
    graphsPage_->SetTitle(texts::kProcessedData);
    graphsPage_->SetYRange(0, 100);
    graphsPage_->RebuildChannelChoices(table_);
    ReadDashboardFiles();
    if (recovery_ != nullptr) {
        recovery_->SetBaseline();  // what was just read is what the files hold
    }
}

// The gauge list creates the items, the layout gives them, the pages, the chart and the window
// their look; both come after the parameter file, whose positions the items are bound to.
void TForm1::ReadDashboardFiles() {
    LayoutPromptBoxes boxes(this);
    LayoutReadPrompts& prompts = layoutPrompts_ != nullptr ? *layoutPrompts_ : boxes;
    startupMessages_ += dashboardFiles_->Load(*set_, prompts);
    dashboardUi_->Undo().clear();  // what a set holds is the starting point, not an edit
    graphsPage_->RebuildChannelChoices(table_);
}

void TForm1::KeepRecoveryCopiesIn(const QString& folder) {
    delete recovery_;
    recovery_ = new RecoveryKeeper(
        folder, [this] { return SetSnapshot(); }, this);
    connect(recovery_, &RecoveryKeeper::problemChanged, this, [this](const QString& problem) {
        if (!problem.isEmpty()) {
            ShowMessage(problem);
        }
    });
    recovery_->SetBaseline();
}

RecoverySnapshot TForm1::SetSnapshot() const {
    const SetNames& names = set_->Names();
    RecoverySnapshot snapshot;
    snapshot.setFolder = set_->Folder().string();
    // The default set has no name of its own; its files still do.
    snapshot.setName = names.setName.empty()
                           ? names.parameterFileName.substr(0, names.parameterFileName.find('.'))
                           : names.setName;
    snapshot.files = {
        {names.layoutFileName, dashboardFiles_->LayoutBytes()},
        {names.gaugeListFileName, dashboardFiles_->GaugeListText()},
        {names.parameterFileName, WriteParameterText(table_, set_->ParameterHeader())},
        {names.settingsFileName, FormatSettings(engine_->Settings())},
    };
    return snapshot;
}

void TForm1::InitEngineDefaults() {
    const LoadedSetNames loaded = set_->LoadNames();
    if (holdsInstanceLock_) {
        set_->RemoveLeftovers();  // a set is never read from a killed save's temporary files
    }
    setWindowTitle(QString::fromStdString(loaded.caption));
    if (loaded.warning) {
        startupMessages_.append(QString::fromStdString(*loaded.warning));
    }

    LinkSettings settings = engine_->Settings();
    settings.autoRun = false;
    settings.syncMode = SyncMode::TalkListen;
    settings.syncTime = 500;
    settings.startCommand.clear();
    settings.stopCommand.clear();
    settings.comPort = 0;
    settings.portName.clear();
    settings.sampleRate = 500;
    settings.baudRate = 8192;
    autoRunAction_->setChecked(false);
    baseCaption_ = windowTitle();

    if (engine_->Running()) {
        engine_->PauseClick();
    }
    engine_->ResetSyncErrors();
    engine_->SetLoopBackEnabled(false);
    engine_->SetTestDataChoice(1);
    engine_->SetElapsedSeconds(0.0);
    decoder_->SetRawMode(false);
    debugPage_->SetLoopBack(false);
    debugPage_->SetTestDataChoice(1);
    status_->SetSampleRate(settings.sampleRate);
    port_->Close();
    ApplyLinkSettings(settings, true);

    table_.Reset();
    const ParameterFileRead parameters = set_->ReadParameters(table_);
    if (!parameters.errorMessage.empty()) {
        startupMessages_.append(QString::fromStdString(parameters.errorMessage));
    }
    if (!parameters.warningMessage.empty()) {
        startupMessages_.append(QString::fromStdString(parameters.warningMessage));
    }
    ReadSettings();
}

void TForm1::ReadSettings() {
    const SettingsFileRead read = set_->ReadSettings(engine_->Settings());
    if (!read.errorMessage.empty()) {
        startupMessages_.append(QString::fromStdString(read.errorMessage));
    }
    if (!read.warningMessage.empty()) {
        startupMessages_.append(QString::fromStdString(read.warningMessage));
    }
    if (!read.found) {
        return;
    }
    const SettingsReadResult& result = read.result;
    ApplyLinkSettings(result.settings, result.ConnectReceivePath());
    if (result.linesRead >= 1) {
        OpenPort(result.settings, true);
    }
}

// What the settings reader and the confirmed setup do with link settings: labels, the request,
// SecondsPerFrame and the receive path of the mode.
void TForm1::ApplyLinkSettings(const LinkSettings& settings, bool touchReceivePath) {
    LinkSettings applied = settings;
    if (!touchReceivePath) {
        applied.syncMode = engine_->Settings().syncMode;
    }
    engine_->ApplySettings(applied);
    port_->SettingsChanged(applied);
    status_->SetSampleRate(applied.sampleRate);
    autoRunAction_->setChecked(applied.autoRun);
    if (touchReceivePath) {
        ShowModeLabel(applied.syncMode);
        status_->SetByteCountPanelVisible(applied.syncMode == SyncMode::Aldl160);
    }
}

void TForm1::ShowModeLabel(SyncMode mode) {
    switch (mode) {
        case SyncMode::ListenOnly:
            status_->SetModeLabel(texts::kLabelListenOnly);
            break;
        case SyncMode::TalkListen:
            status_->SetModeLabel(texts::kLabelTalkListen);
            break;
        case SyncMode::Aldl160:
            status_->SetModeLabel(texts::kLabelAldl160);
            break;
    }
}

// Opens the port the settings name. When it will not open, the user is told why and offered
// the port list once; without a choice the program goes on with the port closed.
void TForm1::OpenPort(const LinkSettings& settings, bool offerChoice) {
    const std::optional<QString> error = port_->Open(settings);
    if (!error) {
        status_->SetPortState(port_->DeviceName(), false);
        return;
    }
    status_->SetPortState(tr("No port open"), true);
    if (!offerChoice) {
        view_->ShowMessage(error->toStdString());
        return;
    }
    // Asked once the window shows and its messages are read, before Auto Run, so the cause
    // and the choice come in one box and the consequence never stands in front of them.
    pendingPortChoice_ = *error;
}

void TForm1::OfferPortChoice() {
    const QString message = std::exchange(pendingPortChoice_, QString());
    LinkSettings chosen = engine_->Settings();
    const bool picked = portPrompt_ ? portPrompt_(message, chosen) : AskPortChoice(message, chosen);
    if (picked) {
        ApplyLinkSettings(chosen, true);
        OpenPort(chosen, false);
    }
    AutoRunIfSet();
}

void TForm1::ShowMessage(const QString& text) {
    if (closing_) {
        // A window on its way out shows no box; what closing says goes to the terminal.
        std::fprintf(stderr, "vekaton: %s\n", qPrintable(text));
    } else if (activated_) {
        messages_->Post(text);
    } else {
        startupMessages_.append(text);
    }
}

QStringList TForm1::PostedMessages() const {
    return messages_->Posted();
}

bool TForm1::AskYesNo(const QString& question) {
    if (confirm_) {
        return confirm_(question);
    }
    return QMessageBox::question(this, windowTitle(), question,
                                 QMessageBox::Yes | QMessageBox::Cancel) == QMessageBox::Yes;
}

bool TForm1::AskPortChoice(const QString& message, LinkSettings& settings) {
    const std::optional<QString> device =
        ChoosePort(this, PortController::DeviceFor(settings), message);
    if (!device) {
        return false;
    }
    settings.portName = device->toStdString();
    settings.comPort = ComPortNumberOfDevice(settings.portName);
    return true;
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!activated_) {
        activated_ = true;
        dashboardUi_->WindowShown();
        QTimer::singleShot(0, this, &TForm1::FormActivate);
    }
}

void TForm1::FormActivate() {
    for (const QString& message : std::as_const(startupMessages_)) {
        messages_->Post(message);
    }
    startupMessages_.clear();
    if (!pendingPortChoice_.isEmpty()) {
        messages_->WhenIdle([this] { OfferPortChoice(); });
        return;
    }
    AutoRunIfSet();
}

void TForm1::AutoRunIfSet() {
    if (engine_->Settings().autoRun) {
        autoRunAction_->setChecked(true);
        if (!engine_->Running()) {
            PauseClick();
        }
    }
}

void TForm1::PauseClick() {
    resumeAfterRestore_ = false;
    if (logViewer_->IsOpen()) {
        // Run does nothing while a log is viewed; say why rather than seem broken.
        logViewer_->Bar().ShowNote(tr("Close the log (Ctrl+W) to run acquisition"));
    }
    engine_->PauseClick();
}

void TForm1::SetupClick() {
    if (engine_->Running()) {
        PauseClick();
    }
    QList<PortChoice> ports = AvailablePortChoices();
    SetupDialog dialog(engine_->Settings(), ports, this);
    if (dialog.exec() == QDialog::Accepted) {
        const LinkSettings before = engine_->Settings();
        const LinkSettings settings = dialog.Settings();
        ApplyLinkSettings(settings, true);
        const bool portChanged =
            PortController::DeviceFor(before) != PortController::DeviceFor(settings) ||
            before.baudRate != settings.baudRate || !port_->IsOpen();
        if (portChanged) {
            OpenPort(settings, false);
        }
    }
    // A port that would not open has said so already; no second message about it.
    if (dialog.RunAfterClosing() && port_->IsOpen() && !engine_->Running()) {
        PauseClick();
    }
}

void TForm1::AutoRun1Click() {
    LinkSettings settings = engine_->Settings();
    settings.autoRun = autoRunAction_->isChecked();
    engine_->ApplySettings(settings);
}

QStringList TForm1::FormClose() {
    QStringList errors;
    engine_->StopPlayback();
    if (engine_->Running()) {
        engine_->PauseClick();
    }
    // Every completed frame is in the log already; it is closed before the set is saved.
    engine_->CloseRecordingNow(kProgramEndsReason);
    port_->FlushInput();
    port_->Close();
    SaveWholeSet(errors);
    return errors;
}

void TForm1::SaveWholeSet(QStringList& errors) {
    // Each file is written even when one before it failed; each failure names its file.
    const qsizetype before = errors.size();
    errors += dashboardFiles_->Save(*set_);
    if (auto error = set_->WriteParameters(table_)) {
        errors.append(QString::fromStdString(*error));
    }
    if (auto error = set_->WritePointer()) {
        errors.append(QString::fromStdString(*error));
    }
    if (auto error = set_->WriteSettings(engine_->Settings())) {
        errors.append(QString::fromStdString(*error));
    }
    if (errors.size() == before && recovery_ != nullptr) {
        recovery_->SetBaseline();  // the files hold it all now
    }
}

void TForm1::ReportSaveErrors(const QStringList& errors) {
    if (errors.isEmpty()) {
        return;
    }
    const QString text =
        tr("The configuration set was not saved completely; the files named below were left as "
           "they were, and the changes are kept for recovery:\n\n") +
        errors.join("\n");
    std::fprintf(stderr, "vekaton: %s\n", qPrintable(text));
    if (confirm_ || QGuiApplication::platformName() == "offscreen") {
        messages_->Post(text);
    } else {
        QMessageBox::warning(this, windowTitle(), text);
    }
}

void TForm1::SaveClick() {
    QStringList errors;
    SaveWholeSet(errors);
    ReportSaveErrors(errors);
    if (errors.isEmpty()) {
        status_->ShowNote(tr("Saved"), tr("The configuration set \"%1\" was saved.")
                                           .arg(QString::fromStdString(set_->Names().setName)));
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    if (loader_->Running()) {
        // The loader may be writing the module's memory: the program stays until it ends.
        std::fprintf(stderr, "vekaton: the firmware loader is still running\n");
        event->ignore();
        return;
    }
    closing_ = true;
    if (skipSave_) {
        if (recovery_ != nullptr) {
            recovery_->Finish();  // "Exit - No Auto Save" discards the changes, copies and all
        }
    } else {
        const QStringList errors = FormClose();
        if (errors.isEmpty() && recovery_ != nullptr) {
            recovery_->Finish();
        }
        if (!errors.isEmpty()) {
            saveFailedAtClose_ = true;
            const QString text =
                tr("Some files of the configuration set could not be saved; the files on disk "
                   "are left as they were, and the next start offers the changes for "
                   "recovery:\n\n") +
                errors.join("\n") +
                tr("\n\nVekaton ends with exit code %1 to show that saving failed.")
                    .arg(ExitCode());
            std::fprintf(stderr, "vekaton: %s\n", qPrintable(text));
            if (isVisible() && QGuiApplication::platformName() != "offscreen") {
                QMessageBox::warning(this, windowTitle(), text);
            }
        }
    }
    event->accept();
}

void TForm1::Exit1Click() {
    close();
}

void TForm1::ExitNoAutoSave1Click() {
    if (!AskYesNo(texts::kLoseAllChanges)) {
        return;
    }
    engine_->StopPlayback();
    if (engine_->Running()) {
        engine_->PauseClick();
    }
    closing_ = true;  // what closing the log says goes to the terminal, not to a box
    engine_->CloseRecordingNow(kProgramEndsReason);
    closing_ = false;
    port_->FlushInput();
    port_->Close();
    skipSave_ = true;
    close();
}

std::optional<QString> TForm1::AskSetFile(bool forSave) {
    if (setFileChooser_) {
        return setFileChooser_(forSave);
    }
    const QString start = QDir(QString::fromStdString(set_->Folder().string()))
                              .filePath(QString::fromStdString(set_->Names().parameterFileName));
    QFileDialog dialog(this, forSave ? tr("Save Config Info") : tr("Load Config Files"));
    dialog.setAcceptMode(forSave ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(forSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(texts::kConfigFilter);
    dialog.setDefaultSuffix("cfg");
    dialog.setDirectory(QString::fromStdString(set_->Folder().string()));
    if (forSave) {
        dialog.selectFile(start);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().first();
}

bool TForm1::ChooseSetFile(bool forSave, QString* setName) {
    const std::optional<QString> picked = AskSetFile(forSave);
    if (!picked) {
        return false;
    }
    const QString chosen = *picked;
    const std::string name = SetNameFromChosenFile(chosen.toStdString());
    if (!IsUsableSetName(name)) {
        QMessageBox::warning(this, windowTitle(),
                             tr("'%1' cannot name a configuration set. Choose a file name that "
                                "begins with a letter or digit.")
                                 .arg(QFileInfo(chosen).fileName()));
        return false;
    }
    // A set chosen in another folder makes that folder the current one.
    const QString folder = QFileInfo(chosen).absolutePath();
    if (QDir(folder) != QDir(QString::fromStdString(set_->Folder().string()))) {
        QDir::setCurrent(folder);
        set_->MoveToFolder(folder.toStdString());  // keeps what was read, such as the header
    }
    *setName = QString::fromStdString(name);
    return true;
}

void TForm1::SaveConfigInfo1Click() {
    QString setName;
    if (!ChooseSetFile(true, &setName)) {
        return;
    }
    setWindowTitle(windowTitle() + " : " + setName);
    set_->UseChosenSet(setName.toStdString());
    const bool wasRunning = engine_->Running();
    if (wasRunning) {
        engine_->PauseClick();
    }
    QStringList errors;
    if (auto error = set_->WriteSettings(engine_->Settings())) {
        errors.append(QString::fromStdString(*error));
    }
    port_->FlushInput();
    SaveWholeSet(errors);
    ReportSaveErrors(errors);
    // Saving keeps the link: acquisition goes on where it was.
    if (wasRunning) {
        engine_->PauseClick();
    }
}

void TForm1::LoadConfigFiles1Click() {
    const bool save =
        confirm_ ? confirm_(texts::kSaveChanges)
                 : QMessageBox::question(this, windowTitle(), texts::kSaveChanges,
                                         QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    if (save) {
        SaveConfigInfo1Click();
    }
    QString setName;
    if (!ChooseSetFile(false, &setName)) {
        return;
    }
    if (engine_->Running()) {
        engine_->PauseClick();
    }
    graphsPage_->ClearChart();
    set_->UseChosenSet(setName.toStdString());
    dashboardUi_->Reset();
    if (auto error = set_->WritePointer()) {
        messages_->Post(QString::fromStdString(*error));
    }
    activated_ = false;
    FormCreate();
    activated_ = true;
    FormActivate();
}

void TForm1::RawDataToggled(bool on) {
    decoder_->SetRawMode(on);
    graphsPage_->SetRawMode(on);
    if (logViewer_->IsOpen()) {
        logViewer_->Redraw();  // the log being viewed is drawn again in the new mode
    }
}

void TForm1::ReopenPort() {
    OpenPort(engine_->Settings(), false);
}

void TForm1::TracingToggled(bool on) {
    if (!on) {
        port_->StopTrace();
        debugPage_->SetTracing(false, {});
        return;
    }
    if (auto error = port_->StartTrace(QString::fromStdString(set_->Folder().string()))) {
        debugPage_->SetTracing(false, {});
        messages_->Post(*error);
        return;
    }
    debugPage_->SetTracing(true, port_->TraceFilePath());
}

void TForm1::PageChanged(int index) {
    // Gauges are not updated while the chart shows, to keep the chart smooth.
    decoder_->SetDispatchEnabled(tabs_->widget(index) != graphsPage_);
    if (tabs_->widget(index) == graphsPage_) {
        graphsPage_->RebuildChannelChoices(table_);
    } else if (logViewer_->IsOpen() && logViewer_->CursorFrame() >= 0) {
        logViewer_->SetCursorFrame(
            logViewer_->CursorFrame());  // the gauges show the cursor's frame
    }
}

void TForm1::ReportPortLost(const QString& message) {
    // The log keeps every completed frame; it is not left open waiting for a port that is gone.
    engine_->CloseRecordingNow(kPortLostReason);
    resumeAfterRestore_ = engine_->Running();
    if (resumeAfterRestore_) {
        engine_->PauseClick();
    }
    status_->ShowPortLost(port_->DeviceName(), message);
    std::fprintf(stderr, "vekaton: %s\n", qPrintable(message));
}

void TForm1::ReportPortRestored(const QString& message) {
    status_->ShowPortBack(port_->DeviceName(), message);
    std::fprintf(stderr, "vekaton: %s\n", qPrintable(message));
    if (resumeAfterRestore_ && !engine_->Running()) {
        engine_->PauseClick();
    }
    resumeAfterRestore_ = false;
}

}  // namespace vekaton
