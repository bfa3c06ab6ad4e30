#include "log/LogReplay.h"

#include <algorithm>

#include "log/DataLogFile.h"

namespace vekaton {

LogReplay::LogReplay(DataLogFile& log, const RecordLayout& layout, ParameterTable& table)
    : log_(log), layout_(layout), quiet_(table, formulas_) {
    quiet_.SetRawMode(true);
    quiet_.SetDispatchEnabled(false);
    checkpoints_.push_back(Decoder::State{});  // every log is played from a fresh decoder
}

void LogReplay::NoteFrameStart(std::int64_t frame, const Decoder& decoder) {
    if (frame > 0 && frame % kCheckpointEvery == 0 &&
        frame / kCheckpointEvery == static_cast<std::int64_t>(checkpoints_.size())) {
        checkpoints_.push_back(decoder.SaveState());
    }
}

std::int64_t LogReplay::CheckpointedFrames() const {
    return static_cast<std::int64_t>(checkpoints_.size() - 1) * kCheckpointEvery;
}

std::size_t LogReplay::MemoryBytes() const {
    std::size_t bytes = checkpoints_.capacity() * sizeof(Decoder::State) + buffer_.capacity();
    for (const Decoder::State& state : checkpoints_) {
        if (state.pendingFormula.capacity() > 15) {
            bytes += state.pendingFormula.capacity();
        }
    }
    return bytes;
}

bool LogReplay::Replay(std::int64_t from, std::int64_t count, std::string& error) {
    const auto read = log_.Read(from, count, buffer_, error);
    if (!read || *read != count) {
        if (read) {
            error = "the log ends before frame " + std::to_string(from + count);
        }
        return false;
    }
    const std::size_t size = log_.RecordSize();
    for (std::int64_t i = 0; i < count; ++i) {
        const std::span<const std::uint8_t> record(
            buffer_.data() + static_cast<std::size_t>(i) * size, size);
        quiet_.StartFrame();
        int position = -layout_.headerBytes;
        for (const std::uint8_t b : record) {
            quiet_.DecodeByte(++position, b);
        }
    }
    return true;
}

std::optional<Decoder::State> LogReplay::StateAt(std::int64_t frame, std::string& error) {
    frame = std::clamp<std::int64_t>(frame, 0, log_.RecordCount());
    const auto index = static_cast<std::size_t>(frame / kCheckpointEvery);
    while (checkpoints_.size() <= index) {
        const std::int64_t start = CheckpointedFrames();
        quiet_.RestoreState(checkpoints_.back());
        if (!Replay(start, kCheckpointEvery, error)) {
            return std::nullopt;
        }
        checkpoints_.push_back(quiet_.SaveState());
    }
    const std::int64_t base = static_cast<std::int64_t>(index) * kCheckpointEvery;
    if (frame == base) {
        return checkpoints_[index];
    }
    quiet_.RestoreState(checkpoints_[index]);
    if (!Replay(base, frame - base, error)) {
        return std::nullopt;
    }
    return quiet_.SaveState();
}

}  // namespace vekaton
