#include "sim/EngineSimulator.h"

#include <algorithm>
#include <utility>

#include "sim/FrameSources.h"

namespace vekaton {

namespace {

constexpr std::array<std::string_view, kSimFaultKinds> kFaultNames = {"bad-checksum", "drop-byte",
                                                                      "stray-bytes", "silence"};
constexpr std::uint8_t kStrayBytes[] = {0x00, 0xFF};

std::uint8_t ChecksumOf(std::span<const std::uint8_t> bytes) {
    unsigned sum = 0;
    for (const std::uint8_t b : bytes) {
        sum += b;
    }
    return static_cast<std::uint8_t>((256u - (sum & 0xFFu)) & 0xFFu);
}

}  // namespace

std::string_view SimFaultName(SimFault fault) {
    return kFaultNames[static_cast<std::size_t>(fault)];
}

std::optional<SimFault> SimFaultFromName(std::string_view name) {
    for (std::size_t k = 0; k < kFaultNames.size(); ++k) {
        if (kFaultNames[k] == name) {
            return static_cast<SimFault>(k);
        }
    }
    return std::nullopt;
}

EngineSimulator::EngineSimulator(SimulatorConfig config)
    : config_(std::move(config)), source_(MakeModelSource(config_.seed)) {
    config_.dataBytes = std::clamp(config_.dataBytes, 0, kMaxDataBytes);
    config_.intervalMs = std::max(config_.intervalMs, 1);
    for (int& every : config_.faultEvery) {
        every = std::max(every, 0);
    }
}

EngineSimulator::~EngineSimulator() = default;

std::size_t EngineSimulator::HeaderSize() const {
    return config_.mode == SyncMode::Aldl160 ? config_.request.size() : config_.header.size();
}

std::optional<std::string> EngineSimulator::ReplayLog(const std::filesystem::path& path) {
    const std::size_t recordSize =
        HeaderSize() + static_cast<std::size_t>(config_.dataBytes) + (config_.checksum ? 1u : 0u);
    std::string error;
    auto source = MakeLogReplaySource(path, HeaderSize(), recordSize, &error);
    if (!source) {
        return error;
    }
    source_ = std::move(source);
    return std::nullopt;
}

void EngineSimulator::StartClock(std::int64_t nowMs) {
    if (!startMs_) {
        startMs_ = nowMs;
    }
}

void EngineSimulator::InjectOnce(SimFault fault) {
    injectNext_[static_cast<std::size_t>(fault)] = true;
}

std::span<const std::uint8_t> EngineSimulator::LastData() const {
    const std::size_t header = HeaderSize();
    if (lastFrame_.size() < header + static_cast<std::size_t>(config_.dataBytes)) {
        return {};
    }
    return std::span<const std::uint8_t>(lastFrame_)
        .subspan(header, static_cast<std::size_t>(config_.dataBytes));
}

std::vector<std::uint8_t> EngineSimulator::MakeFrame(std::int64_t nowMs) {
    if (config_.stopAfterFrames >= 0 &&
        stats_.frames >= static_cast<std::uint64_t>(config_.stopAfterFrames)) {
        return {};  // switched off: no frame is made at all
    }
    const std::uint64_t index = stats_.frames++;
    const bool packetMode = config_.mode == SyncMode::Aldl160;
    std::vector<std::uint8_t> header = packetMode ? config_.request : config_.header;
    std::vector<std::uint8_t> data(static_cast<std::size_t>(config_.dataBytes));
    source_->Fill(nowMs - startMs_.value_or(nowMs), static_cast<std::uint32_t>(index), header,
                  data);
    if (packetMode) {
        header = config_.request;  // a replayed record never changes the start string
    }

    std::vector<std::uint8_t> frame = std::move(header);
    const std::size_t headerSize = frame.size();
    frame.insert(frame.end(), data.begin(), data.end());
    if (config_.checksum) {
        frame.push_back(ChecksumOf(frame));
    }
    lastFrame_ = frame;

    std::array<bool, kSimFaultKinds> apply{};
    for (std::size_t k = 0; k < apply.size(); ++k) {
        const int every = config_.faultEvery[k];
        apply[k] = injectNext_[k] || (every > 0 && (index + 1) % static_cast<unsigned>(every) == 0);
        injectNext_[k] = false;
    }
    const auto fault = [&apply, this](SimFault kind, bool possible) {
        const auto k = static_cast<std::size_t>(kind);
        if (apply[k] && possible) {
            ++stats_.faults[k];
            return true;
        }
        return false;
    };
    if (fault(SimFault::Silence, true)) {
        return {};
    }

    if (fault(SimFault::WrongChecksum, config_.checksum)) {
        frame.back() = static_cast<std::uint8_t>(frame.back() + 1);
    }
    if (fault(SimFault::DroppedByte, !data.empty())) {
        frame.erase(frame.begin() + static_cast<std::ptrdiff_t>(headerSize + data.size() / 2));
    }
    if (fault(SimFault::StrayBytes, true)) {
        frame.insert(frame.begin(), std::begin(kStrayBytes), std::end(kStrayBytes));
    }
    return frame;
}

std::vector<std::uint8_t> EngineSimulator::OnHostBytes(std::span<const std::uint8_t> bytes,
                                                       std::int64_t nowMs) {
    StartClock(nowMs);
    std::vector<std::uint8_t> out;
    if (config_.echo) {
        out.assign(bytes.begin(), bytes.end());
    }
    if (config_.mode != SyncMode::TalkListen || bytes.empty()) {
        return out;
    }
    const std::vector<std::uint8_t>& request = config_.request;
    if (request.empty()) {
        const auto frame = MakeFrame(nowMs);
        out.insert(out.end(), frame.begin(), frame.end());
        return out;
    }
    for (const std::uint8_t b : bytes) {
        recent_.push_back(b);
        if (recent_.size() > request.size()) {
            recent_.erase(recent_.begin());
        }
        if (recent_ == request) {
            recent_.clear();
            const auto frame = MakeFrame(nowMs);
            out.insert(out.end(), frame.begin(), frame.end());
        }
    }
    return out;
}

std::vector<std::uint8_t> EngineSimulator::Poll(std::int64_t nowMs) {
    if (config_.mode == SyncMode::TalkListen) {
        return {};
    }
    StartClock(nowMs);
    if (nextDueMs_ == std::numeric_limits<std::int64_t>::min()) {
        nextDueMs_ = nowMs;
    }
    if (nowMs < nextDueMs_) {
        return {};
    }
    auto frame = MakeFrame(nowMs);
    nextDueMs_ += config_.intervalMs;
    if (nextDueMs_ <= nowMs) {
        nextDueMs_ = nowMs + config_.intervalMs;  // late: skip ahead rather than send bursts
    }
    return frame;
}

std::int64_t EngineSimulator::NextDueMs() const {
    if (config_.mode == SyncMode::TalkListen) {
        return std::numeric_limits<std::int64_t>::max();
    }
    return nextDueMs_ == std::numeric_limits<std::int64_t>::min() ? 0 : nextDueMs_;
}

}  // namespace vekaton
