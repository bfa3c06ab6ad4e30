#include "log/PlaybackSession.h"

#include <algorithm>
#include <cmath>

namespace vekaton {

PlaybackSession::PlaybackSession(const std::filesystem::path& path, const RecordLayout& layout,
                                 ParameterTable& table)
    : layout_(layout), replay_(log_, layout, table) {
    error_ = log_.Open(path, layout.Size());
    intervalMs_ = log_.IntervalMs();
}

void PlaybackSession::SetDefaultInterval(int sampleRate) {
    if (intervalMs_ <= 0) {
        intervalMs_ = std::max(sampleRate, 1);
    }
}

void PlaybackSession::SetPosition(std::int64_t frame) {
    position_ = std::clamp<std::int64_t>(frame, 0, Frames());
}

std::span<const std::uint8_t> PlaybackSession::Current(std::string& error) {
    if (AtEnd()) {
        return {};
    }
    if (position_ < bufferFirst_ || position_ >= bufferFirst_ + bufferCount_) {
        const auto read = log_.Read(position_, kReadAhead, buffer_, error);
        if (!read || *read == 0) {
            bufferCount_ = 0;
            if (read) {
                error = "the log ends early";
            }
            return {};
        }
        bufferFirst_ = position_;
        bufferCount_ = *read;
    }
    const std::size_t size = log_.RecordSize();
    return std::span<const std::uint8_t>(
        buffer_.data() + static_cast<std::size_t>(position_ - bufferFirst_) * size, size);
}

void PlaybackSession::SetSpeed(double speed) {
    speed_ = std::isfinite(speed) ? std::clamp(speed, kSlowest, kFastest) : 1.0;
}

std::int64_t PlaybackSession::TickMs() const {
    return std::max<std::int64_t>(1, std::llround(intervalMs_ / speed_));
}

}  // namespace vekaton
