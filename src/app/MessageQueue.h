#pragma once

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>

class QWidget;

namespace vekaton {

// A message in the three parts of a message box: the text as it stands, an informative text
// under it (the cause, what to do), and details behind the "Show Details" button.
struct WindowMessage {
    QString text;
    QString informative;
    QString details;

    bool operator==(const WindowMessage&) const = default;
};

// Shows messages one at a time in a window-modal box that does not block the event loop, so
// acquisition goes on while the user reads. A message already waiting or showing is not queued
// again, so a fault that repeats every frame cannot flood the screen; and past kMaxWaiting
// messages waiting, further ones become one last message with their count and the first few.
class MessageQueue : public QObject {
    Q_OBJECT

  public:
    static constexpr int kMaxWaiting = 10;
    static constexpr int kExamples = 3;

    explicit MessageQueue(QWidget* parent);

    void Post(const QString& text, const QString& informative = {}, const QString& details = {});
    void Post(const WindowMessage& message);
    // Runs `then` once no message is showing or waiting (at once when none is), so that a
    // question asked afterwards never hides behind or in front of a message.
    void WhenIdle(std::function<void()> then);

    // Messages shown or waiting, for tests: their texts, and the whole messages.
    QStringList Posted() const;
    const QList<WindowMessage>& PostedMessages() const { return posted_; }
    bool Showing() const { return box_ != nullptr; }
    QMessageBox* Box() const { return box_; }

  private:
    void ShowNext();
    void Overflow(const WindowMessage& message);
    WindowMessage OverflowMessage() const;

    QWidget* parent_;
    QList<WindowMessage> waiting_;
    QList<WindowMessage> posted_;
    WindowMessage current_;
    QPointer<QMessageBox> box_;
    QList<std::function<void()>> whenIdle_;
    // Messages past kMaxWaiting: how many, and the first few texts.
    int overflowCount_ = 0;
    QStringList overflowExamples_;
};

}  // namespace vekaton
