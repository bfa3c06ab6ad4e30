// The two real sinks of the alarm tone: the sound device through Qt Multimedia, and the
// desktop's bell for a machine without one.
#include "app/car/ToneSink.h"

#include "app/car/LoopingPcm.h"

#include <QApplication>
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <QTimer>

namespace vekaton {
namespace {

class AudioDeviceSink : public ToneSink {
  public:
    explicit AudioDeviceSink(QAudioDevice device) : device_(std::move(device)) {}
    ~AudioDeviceSink() override { Stop(); }

    void Start(const std::vector<std::int16_t>& period, int sampleRate) override {
        Stop();
        QAudioFormat format;
        format.setSampleRate(sampleRate);
        format.setChannelCount(1);
        format.setSampleFormat(QAudioFormat::Int16);
        if (!device_.isFormatSupported(format)) {
            QApplication::beep();  // better one beep than silence
            return;
        }
        source_ = std::make_unique<LoopingPcm>(
            QByteArray(reinterpret_cast<const char*>(period.data()),
                       static_cast<qsizetype>(period.size() * sizeof(std::int16_t))));
        source_->open(QIODevice::ReadOnly);
        sink_ = std::make_unique<QAudioSink>(device_, format);
        sink_->start(source_.get());
    }

    void Stop() override {
        if (sink_) {
            sink_->stop();
            sink_.reset();
        }
        source_.reset();
    }

    const char* Kind() const override { return "sound device"; }

  private:
    QAudioDevice device_;
    std::unique_ptr<LoopingPcm> source_;
    std::unique_ptr<QAudioSink> sink_;
};

// The bell rings once per period of the tone: no pitch, but the same rhythm.
class BellSink : public ToneSink {
  public:
    BellSink() {
        QObject::connect(&timer_, &QTimer::timeout, [] { QApplication::beep(); });
    }
    void Start(const std::vector<std::int16_t>& period, int sampleRate) override {
        const int ms =
            sampleRate > 0
                ? static_cast<int>(period.size() * 1000 / static_cast<std::size_t>(sampleRate))
                : 1000;
        QApplication::beep();
        timer_.start(std::max(250, ms));
    }
    void Stop() override { timer_.stop(); }
    const char* Kind() const override { return "system bell"; }

  private:
    QTimer timer_;
};

}  // namespace

std::unique_ptr<ToneSink> MakeToneSink() {
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        return std::make_unique<BellSink>();
    }
    return std::make_unique<AudioDeviceSink>(device);
}

}  // namespace vekaton
