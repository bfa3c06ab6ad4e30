#include "app/AppCommandLine.h"

#include <QCommandLineParser>

namespace vekaton {

QString AppHelpText() {
    return QStringLiteral(
        "usage: vekaton [--dir DIR] [--demo]\n"
        "The Vekaton desktop program: reads the ALDL data stream of an engine control\n"
        "module, decodes it with your formulas and shows it on your dashboards.\n"
        "\n"
        "  --dir DIR   start in folder DIR, where the configuration sets are read and\n"
        "              saved (default: the current folder)\n"
        "  --demo      run on the built-in simulated engine module with the demo\n"
        "              configuration set, kept in your data folder\n"
        "              (~/.local/share/Vekaton/demo) unless --dir names another\n"
        "  -h, --help  this text\n"
        "\n"
        "Examples:\n"
        "  vekaton --demo\n"
        "  vekaton --dir ~/my-car\n"
        "\n"
        "Only one copy runs at a time: a second start ends at once with exit code 0.\n"
        "Exit codes: 0 closed normally; 1 the folder or the demo set could not be used;\n"
        "64 wrong usage.\n");
}

AppCommandLine ParseAppCommandLine(const QStringList& arguments) {
    AppCommandLine result;
    QCommandLineParser parser;
    // Help is ours: Qt's would name the program by the full path it was started with.
    const QCommandLineOption help({"h", "help", "?"}, "Show this help.");
    const QCommandLineOption dir("dir", "Start in folder DIR.", "DIR");
    const QCommandLineOption demo("demo", "Run on the simulated module with the demo set.");
    parser.addOption(help);
    parser.addOption(dir);
    parser.addOption(demo);
    if (!parser.parse(arguments)) {
        result.action = AppCommandLine::Action::UsageError;
        result.message = parser.errorText();
        return result;
    }
    if (parser.isSet(help)) {
        result.action = AppCommandLine::Action::Help;
        result.message = AppHelpText();
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.action = AppCommandLine::Action::UsageError;
        result.message =
            QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first());
        return result;
    }
    result.dir = parser.value(dir);
    result.demo = parser.isSet(demo);
    return result;
}

}  // namespace vekaton
