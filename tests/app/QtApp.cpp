#include "QtApp.h"

#include <QDir>
#include <QFile>

#include "support/QtTestEnvironment.h"

namespace vekaton::testing {

QApplication& TestApp() {
    return *qApp;
}

CurrentFolder::CurrentFolder() : previous_(QDir::currentPath()) {
    QDir::setCurrent(dir_.path());
}

CurrentFolder::~CurrentFolder() {
    QDir::setCurrent(previous_);
}

QString CurrentFolder::File(const QString& name) const {
    return QDir(dir_.path()).filePath(name);
}

void WriteTextFile(const QString& path, const QString& text) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(text.toUtf8());
    }
}

QString ReadTextFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

}  // namespace vekaton::testing
