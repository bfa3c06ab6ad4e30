#include "app/DemoSet.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStandardPaths>

#include "io/InstalledData.h"

namespace vekaton {

bool CopyDemoSet(const QString& folder, QString* error) {
    if (!QDir().mkpath(folder)) {
        *error = QObject::tr("Cannot create the demo folder %1.").arg(folder);
        return false;
    }
    const QString source = DemoSetFolder();
    QDirIterator files(source, QDir::Files);
    bool any = false;
    while (files.hasNext()) {
        const QString file = files.next();
        any = true;
        const QString target = QDir(folder).filePath(QFileInfo(file).fileName());
        if (QFileInfo::exists(target)) {
            continue;
        }
        if (!QFile::copy(file, target)) {
            *error = QObject::tr("Cannot copy the demo file %1 to %2.").arg(file, target);
            return false;
        }
        // Installed copies are read-only; the set must be writable to be saved on exit.
        QFile::setPermissions(
            target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    if (!any) {
        *error = QObject::tr(
                     "The demo configuration set is missing: no files in %1. "
                     "Install the program again.")
                     .arg(source);
        return false;
    }
    return true;
}

std::optional<QString> PrepareDemoFolder(QString* error) {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (base.isEmpty()) {
        *error = QObject::tr("No writable folder for the demo configuration set was found.");
        return std::nullopt;
    }
    const QString folder = QDir(base).filePath("demo");
    if (!CopyDemoSet(folder, error)) {
        return std::nullopt;
    }
    return folder;
}

}  // namespace vekaton
