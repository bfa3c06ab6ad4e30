#include "io/InstalledData.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

// The build passes where the installed files lie relative to the programs, and the two trees
// a program run from its build folder uses instead.
#if !defined(VEKATON_RELATIVE_DATA_DIR) || !defined(VEKATON_RELATIVE_DOC_DIR) || \
    !defined(VEKATON_SOURCE_TREE) || !defined(VEKATON_BUILD_TREE)
#error "the build defines the data folders"
#endif

namespace vekaton {

namespace {

bool IsInside(const QString& folder, const QString& tree) {
    const QString canonicalFolder = QFileInfo(folder).canonicalFilePath();
    const QString canonicalTree = QFileInfo(tree).canonicalFilePath();
    if (canonicalFolder.isEmpty() || canonicalTree.isEmpty()) {
        return false;
    }
    return canonicalFolder == canonicalTree ||
           canonicalFolder.startsWith(canonicalTree + QLatin1Char('/'));
}

QString ThisProgramFolder() {
    if (QCoreApplication::instance() != nullptr) {
        return QCoreApplication::applicationDirPath();
    }
    // Commands that need no event loop run before (or without) the application object.
    const QFileInfo self(QStringLiteral("/proc/self/exe"));
    if (self.exists()) {
        return QFileInfo(self.canonicalFilePath()).absolutePath();
    }
    return QDir::currentPath();
}

}  // namespace

DataFolders DataFoldersFor(const QString& programFolder) {
    const QDir program(programFolder);
    DataFolders installed{
        QDir::cleanPath(program.filePath(QStringLiteral(VEKATON_RELATIVE_DATA_DIR))),
        QDir::cleanPath(program.filePath(QStringLiteral(VEKATON_RELATIVE_DOC_DIR)))};
    if (QFileInfo(installed.data).isDir()) {
        return installed;
    }
    // Only a program of this build tree falls back to its sources, so that an installed copy
    // with files missing says so instead of quietly reading a checkout.
    const QString sources = QStringLiteral(VEKATON_SOURCE_TREE);
    if (IsInside(programFolder, QStringLiteral(VEKATON_BUILD_TREE)) && QFileInfo(sources).isDir()) {
        return {sources, QDir(sources).filePath(QStringLiteral("docs"))};
    }
    return installed;
}

DataFolders ProgramDataFolders() {
    return DataFoldersFor(ThisProgramFolder());
}

QString DemoSetFolder() {
    return QDir(ProgramDataFolders().data).filePath(QStringLiteral("demo"));
}

QString DefinitionsFolder() {
    return QDir(ProgramDataFolders().data).filePath(QStringLiteral("definitions"));
}

QString ManualFile() {
    return QDir(ProgramDataFolders().manuals).filePath(QStringLiteral("manual.md"));
}

}  // namespace vekaton
