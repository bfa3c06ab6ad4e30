#include "app/DemoSet.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStandardPaths>

namespace vekaton {

bool CopyDemoSet(const QString& folder, QString* error) {
    if (!QDir().mkpath(folder)) {
        *error = QObject::tr("Cannot create the demo folder %1.").arg(folder);
        return false;
    }
    QDirIterator files(":/demo", QDir::Files);
    bool any = false;
    while (files.hasNext()) {
        const QString source = files.next();
        any = true;
        const QString target = QDir(folder).filePath(QFileInfo(source).fileName());
        if (QFileInfo::exists(target)) {
            continue;
        }
        if (!QFile::copy(source, target)) {
            *error = QObject::tr("Cannot copy the demo file %1 to %2.").arg(source, target);
            return false;
        }
        // Resource copies are read-only; the set must be writable to be saved on exit.
        QFile::setPermissions(
            target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    if (!any) {
        *error = QObject::tr("This build holds no demo configuration set.");
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
