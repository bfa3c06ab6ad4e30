#include "io/SimulatedLink.h"

#include <QDateTime>
#include <algorithm>

#include "engine/CommandString.h"

namespace vekaton {
namespace {

// The header bytes a real module sends before its data; shorter or longer headers are cut or
// padded so that the simulated module matches whatever the set-up expects.
constexpr std::uint8_t kHeaderBytes[] = {0xF4, 0x95, 0x01};

}  // namespace

SimulatedLink::SimulatedLink(QObject* parent) : QObject(parent) {
    deliverTimer_.setSingleShot(true);
    connect(&deliverTimer_, &QTimer::timeout, this, &SimulatedLink::Deliver);
    streamTimer_.setSingleShot(true);
    streamTimer_.setTimerType(Qt::PreciseTimer);
    connect(&streamTimer_, &QTimer::timeout, this, &SimulatedLink::PollStream);
}

SimulatedLink::~SimulatedLink() = default;

SimulatorConfig SimulatedLink::ConfigFor(const LinkSettings& settings) {
    SimulatorConfig config;
    config.mode = settings.syncMode;
    config.request = RequestTextToBytes(settings.requestString);
    config.header.clear();
    for (int i = 0; i < std::max(settings.responseBytes, 0); ++i) {
        config.header.push_back(i < 3 ? kHeaderBytes[i] : 0);
    }
    config.dataBytes = std::clamp(settings.dataBytes, 1, kMaxDataBytes);
    config.checksum = settings.useCheckSum;
    config.echo = settings.requestEchoed;
    config.intervalMs = std::max(settings.sampleRate, 20);
    return config;
}

void SimulatedLink::Open(const LinkSettings& settings) {
    simulator_ = std::make_unique<EngineSimulator>(ConfigFor(settings));
    pending_.clear();
    startMs_ = QDateTime::currentMSecsSinceEpoch();
    // Ten bits per byte on the line.
    msPerByte_ = 10000.0 / std::max(settings.baudRate, 300);
    if (settings.syncMode != SyncMode::TalkListen) {
        PollStream();
    } else {
        streamTimer_.stop();
    }
}

void SimulatedLink::Close() {
    simulator_.reset();
    pending_.clear();
    deliverTimer_.stop();
    streamTimer_.stop();
}

qint64 SimulatedLink::NowMs() const {
    return QDateTime::currentMSecsSinceEpoch() - startMs_;
}

bool SimulatedLink::Write(std::span<const std::uint8_t> bytes) {
    if (!simulator_) {
        return false;
    }
    Queue(simulator_->OnHostBytes(bytes, NowMs()));
    return true;
}

void SimulatedLink::FlushInput() {
    pending_.clear();
}

void SimulatedLink::Queue(std::vector<std::uint8_t> bytes) {
    if (bytes.empty()) {
        return;
    }
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    if (!deliverTimer_.isActive()) {
        // The answer arrives after its bytes have crossed the line, as from a real adapter.
        deliverTimer_.start(static_cast<int>(static_cast<double>(pending_.size()) * msPerByte_));
    }
}

void SimulatedLink::Deliver() {
    if (pending_.empty()) {
        return;
    }
    const std::vector<std::uint8_t> bytes = std::move(pending_);
    pending_.clear();
    if (receiveHandler_) {
        receiveHandler_(bytes);
    }
}

void SimulatedLink::PollStream() {
    if (!simulator_) {
        return;
    }
    const qint64 now = NowMs();
    Queue(simulator_->Poll(now));
    const qint64 wait = std::clamp<qint64>(simulator_->NextDueMs() - now, 1, 60000);
    streamTimer_.start(static_cast<int>(wait));
}

}  // namespace vekaton
