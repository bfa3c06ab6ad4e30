// vekaton: the desktop program.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QMessageBox>
#include <cstdio>

#include "app/DemoSet.h"
#include "app/MainWindow.h"
#include "app/SignalBridge.h"
#include "io/InstanceLock.h"

int main(int argc, char** argv) {
    // A second copy ends before anything else happens, with no window and exit code 0.
    vekaton::InstanceLock lock;
    if (!lock.TryAcquire()) {
        if (lock.HeldByAnother()) {
            return 0;
        }
        // Without a usable lock folder the program still starts: it must start every time.
        std::fprintf(stderr, "vekaton: %s; starting without the single-instance lock\n",
                     qPrintable(lock.ErrorString()));
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
    if (!folder.isEmpty() && !QDir::setCurrent(folder)) {
        std::fprintf(stderr, "vekaton: cannot use folder %s\n", qPrintable(folder));
        return 1;
    }

    vekaton::TForm1 window(parser.isSet(demoOption));
    vekaton::SignalBridge signals_;
    QObject::connect(&signals_, &vekaton::SignalBridge::terminationRequested, &window,
                     [&window](int) { window.close(); });
    window.show();
    return QApplication::exec();
}
