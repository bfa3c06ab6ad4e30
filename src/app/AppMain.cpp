// vekaton: the desktop program.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QMessageBox>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

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
#include "app/sets/SetCommands.h"
#include "app/sets/SetFolderLock.h"
#include "common/MessageText.h"
#include "io/InstanceLock.h"

namespace {

// The value of the last --dir option as the bytes the system gave, whatever their encoding.
std::optional<std::string> RawDirArgument(int argc, char** argv) {
    std::optional<std::string> value;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        if (argument == "--") {
            break;
        }
        if ((argument == "--dir" || argument == "-dir") && i + 1 < argc) {
            value = argv[++i];
        } else if (argument.starts_with("--dir=")) {
            value = std::string(argument.substr(6));
        }
    }
    return value;
}

}  // namespace

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
    if (!folder.isEmpty()) {
        // The folder's bytes as given, not as text: a name that is not UTF-8 works as it does
        // in vekaton-cli, and is shown escaped.
        const std::filesystem::path path = folder == command.dir && RawDirArgument(argc, argv)
                                               ? *RawDirArgument(argc, argv)
                                               : std::string(QFile::encodeName(folder));
        std::error_code ec;
        std::filesystem::current_path(path, ec);
        if (ec) {
            std::fprintf(stderr, "vekaton: cannot use folder \"%s\": %s\n",
                         vekaton::QuotePath(path).c_str(), ec.message().c_str());
            return 1;
        }
    }
    // A second window on the same set is refused whatever its single-instance lock folder.
    vekaton::SetFolderLock setLock;
    if (const auto refused = setLock.Take(QStringLiteral("."))) {
        std::fprintf(stderr, "vekaton: %s\n", qPrintable(*refused));
        if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
            QMessageBox::critical(nullptr, "Vekaton", *refused);
        }
        return 1;
    }

    // Changes a crash kept are offered before the set is read, so that it reads them.
    vekaton::RecoveryOffer recovery;
    if (lock.IsHeld()) {
        recovery = vekaton::OfferRecovery(vekaton::RecoveryFolder(), [](const QString& ask) {
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
    window.Rooms().setCommands.SetFolderLocker(
        [&setLock](const QString& setFolder) { return setLock.Take(setFolder); });
    for (const QString& warning : lock.Warnings()) {
        window.ShowMessage(warning);
    }
    if (!recovery.note.isEmpty()) {
        window.ShowMessage(recovery.note);
    }
    if (lock.IsHeld() && recovery.keepCopies) {
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
    if (command.fullScreen) {
        window.SetFullScreen(true);
    }
    window.show();
    // A folder without a set leads a new user to one; a log named on the command line, or no
    // one to answer (offscreen), leaves the window as it is.
    if (command.log.isEmpty() && QGuiApplication::platformName() != QLatin1String("offscreen")) {
        QTimer::singleShot(0, &window, [&window] { window.OfferNewSetAtFirstStart(); });
    }
    if (!command.log.isEmpty()) {
        // Opened once the window has read its set and shown its start-up messages.
        QTimer::singleShot(0, &window, [&window, log = command.log] { window.OpenDataLog(log); });
    }
    const int code = QApplication::exec();
    return code != 0 ? code : window.ExitCode();
}
