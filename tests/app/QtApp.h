#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <functional>

#include "support/QtWait.h"

namespace vekaton::testing {

// The one QApplication of the app test program, made on first use (offscreen).
QApplication& TestApp();

// A temporary folder made the current one for the life of the object.
class CurrentFolder {
  public:
    CurrentFolder();
    ~CurrentFolder();
    QString Path() const { return dir_.path(); }
    QString File(const QString& name) const;

  private:
    QTemporaryDir dir_;
    QString previous_;
};

void WriteTextFile(const QString& path, const QString& text);
QString ReadTextFile(const QString& path);

}  // namespace vekaton::testing
