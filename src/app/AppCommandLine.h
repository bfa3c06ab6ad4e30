#pragma once

#include <QString>
#include <QStringList>

namespace vekaton {

// What the command line of the desktop program asks for. It is read before anything else, the
// single-instance test included, so that --help is answered even while a copy runs and without
// a display.
struct AppCommandLine {
    enum class Action { Run, Help, UsageError };
    Action action = Action::Run;
    QString dir;  // --dir, or the folder named: the folder to start in; empty: the current one
    bool demo = false;  // --demo
    QString log;        // a data log named on the command line, opened once the window shows
    QString message;    // the help text, or what is wrong with the arguments
};

inline constexpr int kAppExitUsage = 64;

// `arguments` as main() has them, the program's name first (its path is never shown).
AppCommandLine ParseAppCommandLine(const QStringList& arguments);
QString AppHelpText();

}  // namespace vekaton
