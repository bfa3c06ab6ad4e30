#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace vekaton {

// The confirmations the window asks ("Lose All Changes ? ", "Save Changes ? "): message boxes
// over the window, or the answers a test gives instead.
class WindowQuestions {
  public:
    using Confirm = std::function<bool(const QString& question)>;

    explicit WindowQuestions(QWidget& window) : window_(window) {}

    void SetConfirm(Confirm confirm) { confirm_ = std::move(confirm); }
    // True when a test answers, so that nothing waits for a person at a box.
    bool Scripted() const { return static_cast<bool>(confirm_); }
    // Yes / Cancel, and Yes / No.
    bool YesCancel(const QString& question);
    bool YesNo(const QString& question);

  private:
    QWidget& window_;
    Confirm confirm_;
};

}  // namespace vekaton
