// vekaton: the desktop program.
#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QMessageBox>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>

#include "app/AppCommandLine.h"
#include "app/DemoSet.h"
#include "app/GraphsPage.h"
#include "app/InstanceChannel.h"
#include "app/MainWindow.h"
#include "app/SignalBridge.h"
#include "app/dashboard/DashboardController.h"
#include "app/dashboard/ItemActions.h"
#include "app/logview/LogViewer.h"
#include "app/sets/CrashRecovery.h"
#include "io/InstanceLock.h"

int main(int argc, char** argv) {
    // Read before anything else, so --help works while another copy runs and without a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    const vekaton::AppCommandLine command = vekaton::ParseAppCommandLine(arguments);
    if (command.action == vekaton::AppCommandLine::Action::Help) {
        std::fputs(qPrintable(command.message), stdout);
        return 0;
    }
    if (command.action == vekaton::AppCommandLine::Action::UsageError) {
        std::fprintf(stderr, "vekaton: %s\n(vekaton --help lists the options)\n",
                     qPrintable(command.message));
        return vekaton::kAppExitUsage;
    }

    // A second copy ends before anything else happens, with no window and exit code 0, after
    // asking the running one to bring its window to the front.
    vekaton::InstanceLock lock;
    const vekaton::StartDecision start = vekaton::DecideStart(lock, argc, argv);
    if (!start.proceed && start.refusal.isEmpty()) {
        return start.exitCode;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("Vekaton");
    QApplication::setOrganizationName("Vekaton");
    // The desktop entry and the icon are installed under this name.
    QGuiApplication::setDesktopFileName("org.vekaton.Vekaton");
    QApplication::setWindowIcon(QIcon::fromTheme("org.vekaton.Vekaton"));
    if (!start.proceed) {
        std::fprintf(stderr, "vekaton: %s\n", qPrintable(start.refusal));
        if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
            QMessageBox::critical(nullptr, "Vekaton", start.refusal);
        }
        return start.exitCode;
    }

    QString folder = command.dir;
    if (command.demo) {
        QString error;
        const auto demoFolder = vekaton::PrepareDemoFolder(&error);
        if (!demoFolder) {
            std::fprintf(stderr, "vekaton: %s\n", qPrintable(error));
            if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
                QMessageBox::critical(nullptr, "Vekaton", error);
            }
            return 1;
        }
        if (folder.isEmpty()) {
            folder = *demoFolder;
        }
    }
    if (!folder.isEmpty() && !QDir::setCurrent(folder)) {
        std::fprintf(stderr, "vekaton: cannot use folder %s\n", qPrintable(folder));
        return 1;
    }

    // Changes a crash kept are offered before the set is read, so that it reads them.
    QString recoveryNote;
    if (lock.IsHeld()) {
        recoveryNote = vekaton::OfferRecovery(vekaton::RecoveryFolder(), [](const QString& ask) {
            if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
                // No one to ask: restoring loses nothing, discarding would.
                std::fprintf(stderr, "vekaton: %s Yes\n", qPrintable(ask));
                return true;
            }
            return QMessageBox::question(nullptr, "Vekaton", ask,
                                         QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
        });
    }

    vekaton::MainWindow window(command.demo, nullptr, lock.IsHeld());
    for (const QString& warning : lock.Warnings()) {
        window.ShowMessage(warning);
    }
    if (!recoveryNote.isEmpty()) {
        window.ShowMessage(recoveryNote);
    }
    if (lock.IsHeld()) {
        window.KeepRecoveryCopiesIn(vekaton::RecoveryFolder());
    }
    vekaton::InstanceServer server(lock.ServerName());
    if (lock.IsHeld()) {
        QString error;
        if (!server.Listen(&error)) {
            std::fprintf(stderr, "vekaton: %s; a second start cannot bring this window forward\n",
                         qPrintable(error));
        }
        server.SetWindow(&window);
        // For tests of what a crash keeps: an edit made from outside.
        server.SetTestCommand([&window](const QByteArray& request) -> std::optional<QString> {
            // And what a box in front of the window says.
            if (request == "dialog-text") {
                return vekaton::ModalDialogText();
            }
            if (request != "add-label") {
                return std::nullopt;
            }
            const auto id = window.Rooms().dashboard.Actions().AddItem(vekaton::ItemKind::Label, 0,
                                                                       QPoint(40, 40));
            return id ? QStringLiteral("added %1").arg(*id) : QStringLiteral("not added");
        });
    }
    vekaton::SignalBridge signals_;
    QObject::connect(&signals_, &vekaton::SignalBridge::terminationRequested, &window,
                     [&window](int) { window.close(); });
    window.show();
    if (!command.log.isEmpty()) {
        // Opened once the window has read its set and shown its start-up messages.
        QTimer::singleShot(0, &window, [&window, log = command.log] { window.OpenDataLog(log); });
    }
    const int code = QApplication::exec();
    return code != 0 ? code : window.ExitCode();
}
