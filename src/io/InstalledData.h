#pragma once

#include <QString>

namespace vekaton {

// Where the files that ship with the programs are: the demo configuration set, the definitions
// library and the manual. An installed program finds them beside itself, relative to its own
// folder (../share/vekaton and ../share/doc/vekaton under a bin/ folder), wherever the whole
// tree was installed or unpacked; a program run from its build folder uses the source tree.
struct DataFolders {
    QString data;     // holds demo/ and definitions/
    QString manuals;  // holds manual.md
};

// The folders for a program that lives in programFolder.
DataFolders DataFoldersFor(const QString& programFolder);

// The folders for this program.
DataFolders ProgramDataFolders();

QString DemoSetFolder();
QString DefinitionsFolder();
QString ManualFile();

}  // namespace vekaton
