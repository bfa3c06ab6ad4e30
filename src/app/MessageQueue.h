#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>

class QWidget;

namespace vekaton {

// Shows messages one at a time in a window-modal box that does not block the event loop, so
// acquisition goes on while the user reads. A message already waiting or showing is not queued
// again, so a fault that repeats every frame cannot flood the screen.
class MessageQueue : public QObject {
    Q_OBJECT

  public:
    explicit MessageQueue(QWidget* parent);

    void Post(const QString& text);
    // Messages shown or waiting, for tests.
    QStringList Posted() const { return posted_; }
    bool Showing() const { return box_ != nullptr; }

  private:
    void ShowNext();

    QWidget* parent_;
    QStringList waiting_;
    QStringList posted_;
    QString current_;
    QPointer<QMessageBox> box_;
};

}  // namespace vekaton
