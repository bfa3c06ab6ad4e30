// The main window's menu bar: each command goes to the room that does it.
#include <QAction>
#include <QMenuBar>

#include "app/AppTexts.h"
#include "app/FirmwareLoader.h"
#include "app/HelpViewer.h"
#include "app/MainWindow.h"
#include "app/dashboard/DashboardController.h"
#include "app/logview/LogViewer.h"
#include "app/logview/PlaybackController.h"
#include "session/Session.h"

namespace vekaton {

void MainWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    QAction* save = file->addAction(tr("Save"), this, &MainWindow::SaveClick);
    save->setShortcut(QKeySequence::Save);
    save->setToolTip(tr("Write the configuration set's files now (Ctrl+S)"));
    QAction* saveAs =
        file->addAction(tr("Save Config Info"), this, &MainWindow::SaveConfigInfo1Click);
    saveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    QAction* load =
        file->addAction(tr("Load Config Files"), this, &MainWindow::LoadConfigFiles1Click);
    load->setShortcut(QKeySequence::Open);
    menuBar()->addMenu(dashboard_->EditMenu());
    file->addSeparator();
    QAction* openLog = file->addAction(tr("Open Data Log..."), logViewer_, &LogViewer::OpenClicked);
    openLog->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    QAction* closeLog = file->addAction(tr("Close Data Log"), logViewer_, &LogViewer::Close);
    closeLog->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    QAction* exportCsv =
        file->addAction(tr("Export CSV..."), logViewer_, &LogViewer::ExportClicked);
    exportCsv->setObjectName("ExportCsv");
    QAction* play = file->addAction(texts::kPlayDataLog + QString("..."), playback_,
                                    &PlaybackController::PlaybackClicked);
    play->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));  // Ctrl+P: parameters
    connect(file, &QMenu::aboutToShow, this, [this, closeLog, exportCsv, play] {
        closeLog->setEnabled(logViewer_->IsOpen());
        exportCsv->setEnabled(logViewer_->IsOpen());
        play->setText(session_->GetEngine().RealTimePlayback()
                          ? QString(texts::kStopPlayback)
                          : texts::kPlayDataLog + QString("..."));
    });
    file->addSeparator();
    file->addAction(autoRunAction_);
    autoRunAction_->setCheckable(true);
    connect(autoRunAction_, &QAction::triggered, this, &MainWindow::AutoRun1Click);
    file->addSeparator();
    file->addAction(tr("Exit - No Auto Save"), this, &MainWindow::ExitNoAutoSave1Click);
    QAction* exitNow = file->addAction(tr("Exit"), this, &MainWindow::Exit1Click);
    exitNow->setObjectName("ExitNow");
    exitNow->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    menuBar()->addAction(pauseAction_);
    connect(pauseAction_, &QAction::triggered, this, &MainWindow::PauseClick);
    pauseAction_->setObjectName("Pause");
    pauseAction_->setShortcut(QKeySequence(Qt::Key_F5));
    pauseAction_->setToolTip(tr("Start or stop acquisition (F5)"));

    QAction* setup = menuBar()->addAction(tr("Setup"), this, &MainWindow::SetupClick);
    setup->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));

    QMenu* tools = menuBar()->addMenu(tr("&Tools"));
    QAction* flash = tools->addAction(texts::kFlashUpdate, loader_, &FirmwareLoader::Run);
    flash->setObjectName("PICFlashUpdate");

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    QAction* manual = help->addAction(tr("Contents"), this, [this] { ShowManual(this); });
    manual->setShortcut(QKeySequence::HelpContents);
    help->addAction(tr("About"), this, [this] { vekaton::ShowAbout(this); });
}

}  // namespace vekaton
