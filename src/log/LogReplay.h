#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "decode/Decoder.h"
#include "decode/FormulaFrontEnd.h"
#include "log/RecordPlayback.h"

namespace vekaton {

class DataLogFile;
class ParameterTable;

// Seeking in a data log. The decoder carries state from frame to frame (a multi-byte value
// running past the last data byte completes in the next frame), so the values of frame k are
// those that playing the log from its start gives. Checkpoints of the decoder's state every
// kCheckpointEvery frames make any frame reachable by replaying at most that many frames.
//
// Checkpoints are taken from whoever plays the log in order (NoteFrameStart), and made on demand
// by a quiet decoder of its own for frames not reached yet. The quiet decoder runs in raw mode:
// the carried state does not depend on formula results, so no formula is evaluated. It writes
// raw bytes into the table's records, which the frame that is fed next overwrites.
class LogReplay {
  public:
    static constexpr std::int64_t kCheckpointEvery = 64;

    LogReplay(DataLogFile& log, const RecordLayout& layout, ParameterTable& table);
    LogReplay(const LogReplay&) = delete;
    LogReplay& operator=(const LogReplay&) = delete;

    // The decoder is about to play `frame` after playing every frame before it in order: its
    // state is kept when a checkpoint falls due there.
    void NoteFrameStart(std::int64_t frame, const Decoder& decoder);
    // The decoder state at the start of `frame` (0 to the record count): playing `frame` from it
    // gives that frame's values. nullopt with `error` when the log cannot be read.
    std::optional<Decoder::State> StateAt(std::int64_t frame, std::string& error);

    // Frames up to which checkpoints exist.
    std::int64_t CheckpointedFrames() const;
    std::size_t MemoryBytes() const;

  private:
    bool Replay(std::int64_t from, std::int64_t count, std::string& error);

    DataLogFile& log_;
    RecordLayout layout_;
    FormulaFrontEnd formulas_;
    Decoder quiet_;
    std::vector<Decoder::State> checkpoints_;  // [i]: the state at frame i * kCheckpointEvery
    std::vector<std::uint8_t> buffer_;
};

}  // namespace vekaton
