#pragma once

#include <QString>

class QWidget;

namespace vekaton {

// The window's caption: "Vekaton v3.02d  : " + set name as start-up forms it (BaseCaption), and
// the data log's path after it while a log is recorded, played or viewed.
class WindowCaption {
  public:
    explicit WindowCaption(QWidget& window) : window_(window) {}

    // Start-up: the caption formed from the set names, which is also the base from now on.
    void Reset(const QString& caption);
    QString Base() const { return base_; }
    // Save Config Info: the current caption + " : " + set name; the base stays.
    void Append(const QString& text);
    // The base caption again (a log was closed).
    void ShowBase();
    // The base caption and the log in use ("Vekaton v3.02d  : Car    File: /logs/run.dat").
    void ShowFile(const QString& path);

  private:
    QWidget& window_;
    QString base_;
};

}  // namespace vekaton
