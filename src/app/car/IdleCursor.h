#pragma once

#include <QObject>
#include <QPoint>
#include <QTimer>

class QWidget;

namespace vekaton {

// Hides the mouse cursor over a window after a while without movement, and shows it again at
// the next movement or click: a full-screen dashboard is not for pointing at.
class IdleCursor : public QObject {
    Q_OBJECT

  public:
    static constexpr int kHideAfterMs = 3000;
    static constexpr int kPollMs = 250;

    explicit IdleCursor(QWidget& window);

    // On: the cursor hides after kHideAfterMs of stillness. Off: it shows, and stays.
    void SetActive(bool on);
    bool Active() const { return active_; }
    bool Hidden() const { return hidden_; }
    // The mouse moved or was clicked: the cursor shows, and the wait starts again.
    void Moved();

  private:
    void Poll();
    void Hide();
    void Reveal();

    QWidget& window_;
    QTimer poll_;
    QTimer idle_;
    QPoint last_;
    bool active_ = false;
    bool hidden_ = false;
};

}  // namespace vekaton
