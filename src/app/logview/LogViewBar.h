#pragma once

#include <QWidget>
#include <cstdint>

class QLabel;
class QPushButton;
class QScrollBar;

namespace vekaton {

// The log viewer's bar under the chart: which log is shown, a warning when it does not fit the
// set, where the cursors stand, a scroll bar over the whole log, and what can be done with it.
class LogViewBar : public QWidget {
    Q_OBJECT

  public:
    explicit LogViewBar(QWidget* parent = nullptr);

    void ShowLog(const QString& name, std::int64_t frames, double seconds);
    void ShowWarning(const QString& warning);  // empty: none
    void ShowCursor(const QString& text);
    // A short note in place of the cursor read-out for a few seconds ("Written to x.csv").
    void ShowNote(const QString& text);
    // The scroll bar over the log: the visible window's first frame and its width in frames.
    void ShowWindow(std::int64_t first, std::int64_t visible, std::int64_t frames);
    QScrollBar* ScrollBar() const { return scroll_; }

  signals:
    void closeClicked();
    void exportClicked();
    void playClicked();
    void scrolled(std::int64_t firstFrame);

  private:
    QLabel* name_ = nullptr;
    QLabel* warning_ = nullptr;
    QLabel* cursor_ = nullptr;
    QScrollBar* scroll_ = nullptr;
    bool showing_ = false;
    QString cursorText_;
};

}  // namespace vekaton
