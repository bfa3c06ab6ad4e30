// vekaton: the desktop program.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QMessageBox>
#include <cstdio>

#include "app/DemoSet.h"
#include "app/InstanceChannel.h"
#include "app/MainWindow.h"
#include "app/SignalBridge.h"
#include "io/InstanceLock.h"

int main(int argc, char** argv) {
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

    QCommandLineParser parser;
    parser.setApplicationDescription("Reads, decodes and shows an engine module's data stream.");
    parser.addHelpOption();
    const QCommandLineOption dirOption("dir", "Start in folder DIR (the configuration set folder).",
                                       "DIR");
    const QCommandLineOption demoOption(
        "demo", "Run on the built-in simulated engine module with the demo configuration set.");
    parser.addOption(dirOption);
    parser.addOption(demoOption);
    parser.process(app);

    QString folder = parser.value(dirOption);
    if (parser.isSet(demoOption)) {
        QString error;
        const auto demoFolder = vekaton::PrepareDemoFolder(&error);
        if (!demoFolder) {
            QMessageBox::critical(nullptr, "Vekaton", error);
            return 1;
        }
        if (folder.isEmpty()) {
            folder = *demoFolder;
        }
    }
    if (!start.proceed) {
        std::fprintf(stderr, "vekaton: %s\n", qPrintable(start.refusal));
        if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
            QMessageBox::critical(nullptr, "Vekaton", start.refusal);
        }
        return start.exitCode;
    }
    if (!folder.isEmpty() && !QDir::setCurrent(folder)) {
        std::fprintf(stderr, "vekaton: cannot use folder %s\n", qPrintable(folder));
        return 1;
    }

    vekaton::TForm1 window(parser.isSet(demoOption), nullptr, lock.IsHeld());
    for (const QString& warning : lock.Warnings()) {
        window.ShowMessage(warning);
    }
    vekaton::InstanceServer server(lock.ServerName());
    if (lock.IsHeld()) {
        QString error;
        if (!server.Listen(&error)) {
            std::fprintf(stderr, "vekaton: %s; a second start cannot bring this window forward\n",
                         qPrintable(error));
        }
        server.SetWindow(&window);
    }
    vekaton::SignalBridge signals_;
    QObject::connect(&signals_, &vekaton::SignalBridge::terminationRequested, &window,
                     [&window](int) { window.close(); });
    window.show();
    const int code = QApplication::exec();
    return code != 0 ? code : window.ExitCode();
}
