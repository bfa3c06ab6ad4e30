#include "app/car/AlarmSound.h"

#include "warnings/AlarmTone.h"

namespace vekaton {

AlarmSound::AlarmSound(std::unique_ptr<ToneSink> sink)
    : sink_(sink ? std::move(sink) : MakeToneSink()) {
    const AlarmToneShape shape;
    tone_ = AlarmTonePcm(shape);
    sampleRate_ = shape.sampleRate;
}

void AlarmSound::Start() {
    if (sounding_ || acknowledged_) {
        return;
    }
    sink_->Start(tone_, sampleRate_);
    sounding_ = true;
}

void AlarmSound::Stop() {
    acknowledged_ = false;
    if (sounding_) {
        sink_->Stop();
        sounding_ = false;
    }
}

void AlarmSound::Acknowledge() {
    if (sounding_) {
        sink_->Stop();
        sounding_ = false;
    }
    acknowledged_ = true;
}

void AlarmSound::Follow(bool alarm) {
    if (alarm) {
        Start();
    } else {
        Stop();
    }
}

}  // namespace vekaton
