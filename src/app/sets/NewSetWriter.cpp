#include "app/sets/NewSetWriter.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QObject>

#include "definitions/DefinitionLibrary.h"
#include "definitions/ImportedSet.h"
#include "files/SafeFile.h"
#include "io/InstalledData.h"
#include "set/SetNames.h"
#include "set/SettingsFile.h"

namespace vekaton {
namespace {

constexpr const char* kDemoSetName = "Demo";

void UsePort(LinkSettings& settings, const QString& port) {
    if (!port.isEmpty()) {
        settings.portName = port.toStdString();
        settings.comPort = ComPortNumberOfDevice(settings.portName);
    }
}

QString FromLibrary(const NewSetChoice& choice, QSize page, QStringList* notes) {
    NewSetRequest request;
    request.id = choice.definitionId.toStdString();
    request.dir = choice.folder.toStdString();
    request.setName = choice.setName.toStdString();
    request.port = choice.port.toStdString();
    request.startString = choice.startString.toStdString();
    request.page = DashboardOptions{page.width(), page.height()};
    const NewSetResult result = CreateSetFromLibrary(DefinitionsFolder().toStdString(), request);
    for (const std::string& note : result.notes) {
        notes->append(QString::fromStdString(note));
    }
    return result.error ? QString::fromStdString(*result.error) : QString();
}

QString FromAdx(const NewSetChoice& choice, AdxImport& import, QSize page) {
    UsePort(import.settings, choice.port);
    std::vector<std::filesystem::path> written;
    const auto error = WriteImportedSet(choice.folder.toStdString(), choice.setName.toStdString(),
                                        import, QFileInfo(choice.adxFile).fileName().toStdString(),
                                        &written, DashboardOptions{page.width(), page.height()});
    return error ? QString::fromStdString(*error) : QString();
}

QString EmptySet(const NewSetChoice& choice) {
    LinkSettings settings;
    // The settings file holds 1 to 500 data bytes; the user enters the real count in Setup.
    settings.dataBytes = 1;
    UsePort(settings, choice.port);
    const SetNames names = NamesFromPointer(choice.setName.toStdString());
    const std::filesystem::path path =
        std::filesystem::path(choice.folder.toStdString()) / names.settingsFileName;
    const auto error = WriteFileAtomically(path, FormatSettings(settings));
    return error ? QString::fromStdString(*error) : QString();
}

}  // namespace

QString CopyDemoSetAs(const QString& folder, const QString& setName) {
    QStringList written;
    QDirIterator files(DemoSetFolder(), QDir::Files);
    while (files.hasNext()) {
        const QFileInfo file(files.next());
        // The demo's own files only; its set pointer is written when the set is loaded.
        if (file.completeBaseName().compare(kDemoSetName, Qt::CaseInsensitive) != 0) {
            continue;
        }
        const QString target = QDir(folder).filePath(setName + "." + file.suffix());
        if (!QFile::copy(file.filePath(), target)) {
            for (const QString& done : std::as_const(written)) {
                QFile::remove(done);
            }
            return QObject::tr("The demo file %1 could not be copied to %2.")
                .arg(file.filePath(), target);
        }
        // Installed copies are read-only; the set must be writable to be saved.
        QFile::setPermissions(
            target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        written.append(target);
    }
    if (written.isEmpty()) {
        return QObject::tr(
                   "The demo configuration set is missing from %1. Install the program "
                   "again.")
            .arg(DemoSetFolder());
    }
    return {};
}

NewSetWritten WriteNewSet(const NewSetChoice& choice, AdxImport* import, QSize page) {
    NewSetWritten written;
    if (!QDir().mkpath(choice.folder)) {
        written.error = QObject::tr("The folder %1 cannot be made.").arg(choice.folder);
        return written;
    }
    switch (choice.source) {
        case NewSetSource::Library:
            written.error = FromLibrary(choice, page, &written.notes);
            break;
        case NewSetSource::Adx:
            written.error = import != nullptr ? FromAdx(choice, *import, page)
                                              : QObject::tr("No ADX file was read.");
            break;
        case NewSetSource::Demo:
            written.error = CopyDemoSetAs(choice.folder, choice.setName);
            break;
        case NewSetSource::Empty:
            written.error = EmptySet(choice);
            break;
    }
    return written;
}

}  // namespace vekaton
