#include "app/MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/AppTexts.h"
#include "app/DebugPage.h"
#include "app/FirmwareLoader.h"
#include "app/GraphsPage.h"
#include "app/LinkHealthMonitor.h"
#include "app/MessageQueue.h"
#include "app/StatusPanel.h"
#include "app/WindowCaption.h"
#include "app/WindowEngineView.h"
#include "app/WindowLifecycle.h"
#include "app/WindowQuestions.h"
#include "app/analysis/AnalysisRoom.h"
#include "app/car/CarRooms.h"
#include "app/car/FullScreenView.h"
#include "app/dashboard/DashboardController.h"
#include "app/dashboard/ValueTable.h"
#include "app/logview/LogViewer.h"
#include "app/logview/LogWarnings.h"
#include "app/logview/PlaybackController.h"
#include "app/logview/RecordingController.h"
#include "app/sets/CrashRecovery.h"
#include "app/sets/NewSetFlow.h"
#include "app/sets/WindowSessionHost.h"
#include "engine/EngineTexts.h"
#include "io/PortController.h"
#include "io/QtClock.h"
#include "io/QtText.h"
#include "session/Session.h"
#include "widgets/ItemWidgetFactory.h"

namespace vekaton {
MainWindow::MainWindow(bool /*demo*/, QWidget* parent, bool holdsInstanceLock)
    : QMainWindow(parent) {
    setObjectName("Form1");
    resize(1024, 700);
    // The folder's own bytes: a name that is not UTF-8 would not survive a QString.
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::current_path(ec);
    session_ = std::make_unique<Session>(
        ec ? std::filesystem::path(QDir::currentPath().toStdString()) : folder,
        StreamedDescriptorsOf);
    session_->SetRemovesLeftovers(holdsInstanceLock);
    messages_ = new MessageQueue(this);
    clock_ = new QtClock(this);
    port_ = new PortController(this);
    BuildPages();
    BuildRooms();
    BuildMenus();
    Connect();
    FormCreate();
}

MainWindow::~MainWindow() {
    car_->WindowGoing();
    // The engine's timers and callbacks refer to the port and the clock: it goes first.
    lifecycle_->WindowGoing();  // no message box for a window on its way out
    session_->GetEngine().CloseRecordingNow(kProgramEndsReason);
    session_->DetachEngine();
    // The dashboard room listens to the model, which goes with the session before the window's
    // children.
    delete dashboard_;
    dashboard_ = nullptr;
    port_->Close();
}

void MainWindow::BuildPages() {
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    tabs_ = new QTabWidget;
    tabs_->setObjectName("Tabsheet");
    dashboard_ =
        new DashboardController(session_->Dashboard(), session_->GetDecoder(), session_->Table(),
                                session_->Details(), *this, *tabs_, kDashboardPageCount);
    graphs_ = new GraphsPage;
    graphs_->setObjectName(FromStd(kGraphsPageName));
    tabs_->addTab(graphs_, "Graphs");
    debug_ = new DebugPage;
    tabs_->addTab(debug_, "Debug");
    status_ = new StatusPanel;
    layout->addWidget(tabs_, 1);
    setCentralWidget(central);
    // The status strip runs under the pages and the value table alike.
    auto* strip = new QDockWidget(this);
    statusStrip_ = strip;
    strip->setObjectName("StatusStrip");
    strip->setTitleBarWidget(new QWidget(strip));
    strip->setFeatures(QDockWidget::NoDockWidgetFeatures);
    strip->setWidget(status_);
    addDockWidget(Qt::BottomDockWidgetArea, strip);
    // Made here so the engine's view can show the run state; the menus take them in.
    pauseAction_ = new QAction(texts::kRun, this);
    autoRunAction_ = new QAction(tr("Auto Run at Startup"), this);
}

// Each room is made once and handed what it needs; the engine is made by the session, on the
// window's port, clock and view.
void MainWindow::BuildRooms() {
    const auto post = [this](const QString& text) { ShowMessage(text); };
    caption_ = std::make_unique<WindowCaption>(*this);
    questions_ = std::make_unique<WindowQuestions>(*this);
    recovery_ = new RecoveryCopies([this] { return session_->Snapshot(); }, post, this);
    view_ = std::make_unique<WindowEngineView>(
        WindowEngineView::Widgets{*tabs_, *debug_, *status_, *graphs_, *pauseAction_, *dashboard_},
        post);
    Engine& engine = session_->AttachEngine(*port_, *clock_, *view_);
    const ConfigurationSet& set = session_->Set();
    recording_ = new RecordingController({engine, set, *graphs_, *status_, *caption_, *this}, post);
    logViewer_ = new LogViewer(
        {engine, session_->GetDecoder(), set, session_->Details(), *graphs_, *caption_, *this},
        post);
    playback_ =
        new PlaybackController({engine, set, *graphs_, *logViewer_, *caption_, *this}, post);
    view_->AttachLogRooms(*recording_, *playback_);
    analysis_ = new AnalysisRoom({*session_, *logViewer_, *this}, post);
    view_->AttachAnalysis(*analysis_);
    link_ = new LinkCommands(
        {*session_, *port_, *status_, *debug_, *logViewer_, *messages_, *autoRunAction_, *this},
        post);
    loader_ = new FirmwareLoader({engine, set, *status_, *link_, *this}, post);
    linkHealth_ = new LinkHealthMonitor(engine, *clock_, *status_, this);
    car_ = new CarRooms({*this, *session_, *tabs_, *dashboard_, *status_, *statusStrip_,
                         *pauseAction_, *recording_, *logViewer_, *linkHealth_});
    view_->SetListeners({[this] { car_->FrameCompleted(); },
                         [this](bool running) { car_->RunStateChanged(running); }});
    logWarnings_ = new LogWarnings(
        {*logViewer_, session_->Table(), session_->Details(), *graphs_, *this}, post);
    lifecycle_ = new WindowLifecycle(
        {*session_, *messages_, *link_, *loader_, *recovery_, *dashboard_, *questions_, *this});
    setCommands_ = new SetCommands({*session_, *status_, *graphs_, *dashboard_, *messages_,
                                    *recovery_, *caption_, *questions_, *lifecycle_, *this});
    newSet_ = new NewSetFlow({*session_, *setCommands_, *link_, *port_, *tabs_, *messages_,
                              *questions_, *status_, *this});
    host_ = std::make_unique<WindowSessionHost>(
        WindowSessionHost::Parts{session_->Table(), *caption_, *lifecycle_, *link_, *debug_,
                                 *graphs_, *dashboard_, *logViewer_, *recovery_, *tabs_, *this});
    host_->AttachAnalysis(*analysis_);
    session_->SetHost(host_.get());
    rooms_ = std::make_unique<WindowRooms>(WindowRooms{
        *session_,     *tabs_,     *dashboard_, *graphs_,      *debug_,      *status_,
        *pauseAction_, *messages_, *port_,      *caption_,     *recovery_,   *recording_,
        *logViewer_,   *playback_, *link_,      *loader_,      *linkHealth_, *lifecycle_,
        *setCommands_, *newSet_,   *car_,       *logWarnings_, *analysis_});
}

void MainWindow::Connect() {
    Engine& engine = session_->GetEngine();
    Decoder& decoder = session_->GetDecoder();
    graphs_->SetTable(&session_->Table());
    engine.SetChart(&graphs_->Store());
    decoder.SetMessageHandler([this](const DecoderMessage& message) {
        messages_->Post(FromStd(message.text), FromStd(message.informative),
                        FromStd(message.details));
    });
    dashboard_->SetEngine(&engine);
    dashboard_->SetMessageSink([this](const QString& text) { messages_->Post(text); });
    // The value table shows the frame under the log viewer's cursor.
    connect(logViewer_, &LogViewer::cursorFrameChanged, this, [this](qint64 frame) {
        if (frame >= 0 && dashboard_ != nullptr) {
            dashboard_->Values().Refresh();
        }
    });
    connect(logViewer_, &LogViewer::playRequested, playback_,
            [this](const QString& path, qint64 frame) { playback_->Start(path, frame); });
    connect(linkHealth_, &LinkHealthMonitor::noDataChanged, dashboard_,
            &DashboardController::SetNoData);
    port_->SetReceiveHandler(
        [&engine](std::span<const std::uint8_t> bytes) { engine.OnBytesReceived(bytes); });
    connect(port_, &PortController::PortLost, link_, &LinkCommands::PortLost);
    connect(port_, &PortController::PortRestored, link_, &LinkCommands::PortRestored);
    connect(port_, &PortController::TraceStopped, this, [this](const QString& message) {
        debug_->SetTracing(false, {});
        messages_->Post(message);
    });
    connect(tabs_, &QTabWidget::currentChanged, this, &MainWindow::PageChanged);
    connect(debug_, &DebugPage::getAldlClicked, this, [&engine] { engine.GetAldl(); });
    connect(debug_, &DebugPage::loopBackToggled, this,
            [&engine](bool on) { engine.SetLoopBackEnabled(on); });
    connect(debug_, &DebugPage::testDataChoiceChanged, this,
            [&engine](int choice) { engine.SetTestDataChoice(choice); });
    connect(debug_, &DebugPage::tracingToggled, link_, &LinkCommands::TracingToggled);
    connect(graphs_, &GraphsPage::recordClicked, recording_, &RecordingController::RecordClicked);
    connect(graphs_, &GraphsPage::playbackClicked, playback_, &PlaybackController::PlaybackClicked);
    connect(graphs_, &GraphsPage::viewClicked, logViewer_, &LogViewer::OpenClicked);
    // A log is viewed on the chart, whichever page it was opened from.
    connect(logViewer_, &LogViewer::opened, this, [this] { tabs_->setCurrentWidget(graphs_); });
    connect(graphs_, &GraphsPage::rawDataToggled, this, &MainWindow::RawDataToggled);
    // The log's warnings follow the limits the details give.
    connect(dashboard_, &DashboardController::definitionsChanged, logWarnings_, [this] {
        if (logViewer_->IsOpen()) {
            logWarnings_->Scan();
        }
    });
    connect(graphs_, &GraphsPage::channelsEdited, this, [this](bool added) {
        if (added && logViewer_->IsOpen()) {
            logViewer_->Redraw();  // the new channel gets the whole log, not a blank history
        }
    });
}

void MainWindow::FormCreate() {
    lifecycle_->FormCreate();
}

void MainWindow::FormActivate() {
    lifecycle_->FormActivate();
}

int MainWindow::ExitCode() const {
    return lifecycle_->ExitCode();
}

void MainWindow::ShowMessage(const QString& text) {
    if (lifecycle_ == nullptr) {
        // Only while the rooms are being made: nothing is lost, it goes to the terminal.
        std::fprintf(stderr, "vekaton: %s\n", qPrintable(text));
        return;
    }
    lifecycle_->ShowMessage(text);
}

bool MainWindow::OfferNewSetAtFirstStart() {
    return newSet_->OfferAtFirstStart();
}

void MainWindow::KeepRecoveryCopiesIn(const QString& folder) {
    recovery_->KeepIn(folder);
}

void MainWindow::SetPortPrompt(LinkCommands::PortPrompt prompt) {
    link_->SetPortPrompt(std::move(prompt));
}

void MainWindow::SetConfirm(std::function<bool(const QString& question)> confirm) {
    questions_->SetConfirm(std::move(confirm));
}

void MainWindow::SetSetFileChooser(SetCommands::SetFileChooser chooser) {
    setCommands_->SetSetFileChooser(std::move(chooser));
}

void MainWindow::SetLayoutPrompts(LayoutReadPrompts* prompts) {
    host_->SetLayoutPrompts(prompts);
}

void MainWindow::PauseClick() {
    link_->PauseClick();
}

void MainWindow::SetupClick() {
    link_->SetupClick();
}

void MainWindow::SaveClick() {
    setCommands_->SaveClick();
}

void MainWindow::SaveConfigInfo1Click() {
    setCommands_->SaveConfigInfo1Click();
}

void MainWindow::LoadConfigFiles1Click() {
    setCommands_->LoadConfigFiles1Click();
}

void MainWindow::AutoRun1Click() {
    link_->AutoRun1Click();
}

void MainWindow::ExitNoAutoSave1Click() {
    lifecycle_->ExitNoAutoSave1Click();
}

void MainWindow::Exit1Click() {
    close();
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    lifecycle_->WindowShown();
    car_->WindowShown();
}

void MainWindow::SetFullScreen(bool on) {
    car_->FullScreen().SetFullScreen(on);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (lifecycle_->CloseRequested()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void MainWindow::RawDataToggled(bool on) {
    session_->GetDecoder().SetRawMode(on);
    graphs_->SetRawMode(on);
    if (logViewer_->IsOpen()) {
        logViewer_->Redraw();  // the log being viewed is drawn again in the new mode
    }
}

void MainWindow::PageChanged(int index) {
    // Readings, held values and markers follow every frame whatever page shows; only the
    // instruments' repaint waits while the chart shows, to keep the chart smooth.
    dashboard_->SetLiveShown(tabs_->widget(index) != graphs_);
    if (tabs_->widget(index) == graphs_) {
        graphs_->RebuildChannelChoices(session_->Table());
    } else if (logViewer_->IsOpen() && logViewer_->CursorFrame() >= 0) {
        logViewer_->SetCursorFrame(logViewer_->CursorFrame());  // the gauges show its frame
    }
}

bool MainWindow::OpenDataLog(const QString& path) {
    return logViewer_->Open(path);
}

}  // namespace vekaton
