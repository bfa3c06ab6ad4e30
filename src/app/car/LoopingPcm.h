#pragma once

#include <QByteArray>
#include <QIODevice>

namespace vekaton {

// An endless stream of the same bytes, read by an audio output that pulls as it needs: a tone
// that loops with no gap and no timer of our own.
class LoopingPcm : public QIODevice {
    Q_OBJECT
  public:
    explicit LoopingPcm(QByteArray period, QObject* parent = nullptr);

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

  protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 maxSize) override;

  private:
    QByteArray period_;
    qint64 offset_ = 0;
};

}  // namespace vekaton
