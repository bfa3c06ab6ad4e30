#pragma once

#include <QObject>

class QSocketNotifier;

namespace vekaton {

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal on the GUI thread, so that the window closes
// in order (saving as a normal exit does) instead of dying mid-write.
class SignalBridge : public QObject {
    Q_OBJECT
  public:
    explicit SignalBridge(QObject* parent = nullptr);
    ~SignalBridge() override;

  signals:
    void terminationRequested(int signalNumber);

  private:
    void OnReadable();
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace vekaton
