// The receive paths of the engine: bytes in listen-only and talk/listen modes, the silence
// timeout of listen-only mode, and whole packets in the ALDL 160 interface mode.
#include <algorithm>
#include <climits>

#include "decode/Decoder.h"
#include "engine/Engine.h"

namespace vekaton {

namespace {

// A listen-only stream that never pauses keeps counting; the count stops growing here, far past
// any frame, so it never overflows.
constexpr int kMaxByteCount = 1 << 30;

}  // namespace

void Engine::ResetFrameState() {
    byteCounter_ = 0;
    burstFrameEnded_ = false;
    decoder_.StartFrame();
    byteSum_ = 0;
    // A frame cut short never reaches the log: only whole records keep the log readable.
    pendingRecord_.clear();
}

void Engine::CountByte() {
    if (byteCounter_ < kMaxByteCount) {
        ++byteCounter_;
    }
}

bool Engine::InChecksumRange(int count) const {
    return count > checksumFirst_ && count <= checksumLast_;
}

void Engine::OnBytesReceived(std::span<const std::uint8_t> bytes) {
    if (settings_.syncMode == SyncMode::Aldl160) {
        trigger_.Receive(bytes);
    } else {
        NormalTrigger(bytes);
    }
}

void Engine::NormalTrigger(std::span<const std::uint8_t> bytes) {
    if (syncEnabled_) {
        ScheduleSync();  // the sync timer fires only after SyncTime ms without data
    }
    const int expected = ExpectedFrameLength();
    const bool traceOn = view_.DebugPageActive();
    for (const std::uint8_t b : bytes) {
        if (burstFrameEnded_) {
            // Frames closer together than SyncTime: the silence never came, but the frame
            // before ended whole, so this byte is the first of the next one.
            ResetFrameState();
        }
        CountByte();
        if (traceOn) {
            trace_.AppendByte(b);
        }
        if (!running_) {
            ResetFrameState();
            continue;
        }
        decoder_.DecodeByte(byteCounter_ - dataOffset_, b);
        const bool inRange = InChecksumRange(byteCounter_);
        bool logged = false;
        if (byteCounter_ == expected) {
            // Without a checksum the last byte is the last data byte: it is logged at the frame
            // end, before a pending stop closes the log, and not again below.
            logged = recording_ && (settings_.useCheckSum || inRange);
            EndNormalFrame(b, inRange);
        }
        if (inRange) {
            byteSum_ += b;
            if (recording_ && !logged) {
                pendingRecord_.push_back(b);
            }
        }
    }
    FlushTrace();
}

void Engine::EndNormalFrame(std::uint8_t b, bool inRange) {
    const double chartTime = elapsedSeconds_;
    elapsedSeconds_ += secondsPerFrame_;
    view_.ShowElapsed(elapsedSeconds_);
    const std::int64_t sample = PlotFrame(chartTime);

    const bool good = b == ChecksumFor(byteSum_);
    if (good) {
        view_.ShowChecksumLabel(false);
    } else if (settings_.useCheckSum) {
        view_.ShowChecksumLabel(true);
    }

    if (recording_) {
        if (settings_.useCheckSum || inRange) {
            pendingRecord_.push_back(b);
        }
        FinishRecord();
    }
    CountFrame(settings_.useCheckSum, good);
    // In listen-only mode a frame that ended whole and good ends its burst. After a bad one the
    // bytes count on until the silence, which is what brings a stream out of step back into it.
    burstFrameEnded_ =
        settings_.syncMode == SyncMode::ListenOnly && (good || !settings_.useCheckSum);
    view_.FrameCompleted(FrameSummary{sample, chartTime, settings_.useCheckSum, good, false});
}

void Engine::CountFrame(bool checksumChecked, bool checksumGood) {
    ++counters_.frames;
    counters_.lastFrameMs = clock_.NowMs();
    pollOutstanding_ = false;
    if (checksumChecked && !checksumGood) {
        ++counters_.checksumErrors;
        if (counters_.badChecksumRun < INT_MAX) {
            ++counters_.badChecksumRun;
        }
    } else {
        counters_.badChecksumRun = 0;
    }
}

void Engine::SyncTimerTimer() {
    // A silence with nothing before it is no burst: only a burst of the wrong length is a sync
    // error, however long the line stays quiet.
    if (byteCounter_ != 0 && byteCounter_ != ExpectedFrameLength()) {
        if (syncErrorCount_ < INT_MAX) {
            ++syncErrorCount_;
        }
        ++counters_.syncErrors;
        view_.ShowSyncErrors(syncErrorCount_);
    }
    ResetFrameState();
}

// Byte numbering of a packet: the trigger strips the start string and delivers the bytes after
// it, and is armed for the start string plus DataBytes bytes. Packet byte i (from 1) gets
// ByteCounter = DataOffset + i, so it reaches frame position i whatever ResponseBytes says:
// every data byte lands on positions 1 to DataBytes and none is lost to a header count that the
// packet no longer carries. The log record is the start string followed by those bytes, the same
// shape as a record of the other modes when ResponseBytes equals the start string's length.
void Engine::PacketTriggerPacket(std::span<const std::uint8_t> data) {
    syncLedLit_ = !syncLedLit_;
    view_.ShowPacket(static_cast<int>(std::min<std::size_t>(data.size(), INT_MAX)), syncLedLit_);
    trace_.AppendMarker();
    ResetFrameState();  // a packet is a frame

    const bool traceOn = view_.DebugPageActive();
    const bool logging = recording_ && running_;
    if (logging) {
        pendingRecord_ = requestBytes_;
    }
    long long count = dataOffset_;
    int position = 0;
    for (const std::uint8_t b : data) {
        if (traceOn) {
            trace_.AppendByte(b);
        }
        byteCounter_ = static_cast<int>(std::min<long long>(++count, kMaxByteCount));
        position = std::min(position + 1, kMaxByteCount);
        if (running_) {
            if (logging) {
                pendingRecord_.push_back(b);
            }
            decoder_.DecodeByte(position, b);
        }
    }
    if (running_) {
        const double chartTime = elapsedSeconds_;
        elapsedSeconds_ += secondsPerFrame_;
        view_.ShowElapsed(elapsedSeconds_);
        const std::int64_t sample = PlotFrame(chartTime);
        if (recording_) {
            FinishRecord();
        }
        CountFrame(false, true);
        view_.FrameCompleted(FrameSummary{sample, chartTime, false, true, false});
    }
    FlushTrace();
}

}  // namespace vekaton
