#include "app/AppCommandLine.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace vekaton {

QString AppHelpText() {
    return QStringLiteral(
        "usage: vekaton [--dir DIR] [--demo] [FOLDER | LOG]\n"
        "The Vekaton desktop program: reads the ALDL data stream of an engine control\n"
        "module, decodes it with your formulas and shows it on your dashboards.\n"
        "\n"
        "  --dir DIR   start in folder DIR, where the configuration sets are read and\n"
        "              saved (default: the current folder)\n"
        "  --demo      run on the built-in simulated engine module with the demo\n"
        "              configuration set, kept in your data folder\n"
        "              (~/.local/share/Vekaton/Vekaton/demo) unless --dir names another\n"
        "  FOLDER      a configuration set's folder: the same as --dir FOLDER\n"
        "  LOG         a data log (.Dat): start in its folder, where its set is, and\n"
        "              open the log on the chart\n"
        "  -h, --help  this text\n"
        "\n"
        "Examples:\n"
        "  vekaton --demo\n"
        "  vekaton --dir ~/my-car\n"
        "  vekaton ~/my-car/03142400.Dat\n"
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
    const QStringList named = parser.positionalArguments();
    if (named.size() > 1) {
        result.action = AppCommandLine::Action::UsageError;
        result.message = QStringLiteral("unexpected argument '%1'").arg(named.at(1));
        return result;
    }
    result.dir = parser.value(dir);
    result.demo = parser.isSet(demo);
    if (named.isEmpty()) {
        return result;
    }
    // What a file manager or the desktop menu hands over: a set's folder, or a data log.
    const QFileInfo target(named.first());
    if (!target.exists()) {
        result.action = AppCommandLine::Action::UsageError;
        result.message = QStringLiteral("'%1' is no folder and no file").arg(named.first());
        return result;
    }
    if (parser.isSet(dir)) {
        result.action = AppCommandLine::Action::UsageError;
        result.message = QStringLiteral("give either --dir or a folder or log, not both");
        return result;
    }
    if (target.isDir()) {
        result.dir = target.absoluteFilePath();
        return result;
    }
    result.dir = target.absolutePath();
    // A file of a set opens its folder; any other file is taken for a data log.
    static const QStringList setSuffixes{"ini", "cfg", "gau", "dsf"};
    if (!setSuffixes.contains(target.suffix(), Qt::CaseInsensitive)) {
        result.log = target.absoluteFilePath();
    }
    return result;
}

}  // namespace vekaton
