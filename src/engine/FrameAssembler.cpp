#include "engine/FrameAssembler.h"

#include <algorithm>
#include <climits>

#include "common/CommandText.h"
#include "decode/Decoder.h"
#include "engine/Clock.h"
#include "engine/EngineView.h"
#include "engine/FramePlot.h"
#include "engine/LinkCounters.h"
#include "engine/Recorder.h"
#include "log/RecordPlayback.h"

namespace vekaton {

namespace {

// A listen-only stream that never pauses keeps counting; the count stops growing here, far past
// any frame, so it never overflows.
constexpr int kMaxByteCount = 1 << 30;

}  // namespace

FrameAssembler::FrameAssembler(Decoder& decoder, EngineView& view, Recorder& recorder,
                               FramePlot& plot, LinkCounters& counters, const Clock& clock)
    : decoder_(decoder),
      view_(view),
      recorder_(recorder),
      plot_(plot),
      counters_(counters),
      clock_(clock) {}

void FrameAssembler::Configure(const LinkSettings& settings,
                               std::vector<std::uint8_t> requestBytes) {
    syncMode_ = settings.syncMode;
    useCheckSum_ = settings.useCheckSum;
    dataBytes_ = settings.dataBytes;
    baudRate_ = settings.baudRate;
    requestBytes_ = std::move(requestBytes);
    dataOffset_ =
        ComputeDataOffset(RequestLength(), settings.responseBytes, settings.requestEchoed);
    checksumFirst_ = settings.requestEchoed ? RequestLength() : 0;
    checksumLast_ = checksumFirst_ + settings.responseBytes + settings.dataBytes;
    recordLength_ = RecordLayout::From(settings).Size();
    // Always from the settings just taken, whoever applies them: a stale 0.1 would make the
    // elapsed time and the chart run five times slow at the default 500 ms.
    secondsPerFrame_ = settings.sampleRate * 0.001;
}

int FrameAssembler::ExpectedFrameLength() const {
    return dataBytes_ + dataOffset_ + (useCheckSum_ ? 1 : 0);
}

void FrameAssembler::ResetFrameState() {
    byteCounter_ = 0;
    burstFrameEnded_ = false;
    decoder_.StartFrame();
    byteSum_ = 0;
    // A frame cut short never reaches the log: only whole records keep the log readable.
    recorder_.DropRecord();
}

void FrameAssembler::CountByte() {
    if (byteCounter_ < kMaxByteCount) {
        ++byteCounter_;
    }
}

bool FrameAssembler::InChecksumRange(int count) const {
    return count > checksumFirst_ && count <= checksumLast_;
}

void FrameAssembler::Receive(std::span<const std::uint8_t> bytes) {
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
            const bool owed = useCheckSum_ || inRange;
            logged = recorder_.Recording() && owed;
            EndFrame(FrameEnd{true, b == ChecksumFor(byteSum_),
                              owed ? std::optional<std::uint8_t>(b) : std::nullopt});
        }
        if (inRange) {
            byteSum_ += b;
            if (recorder_.Recording() && !logged) {
                recorder_.Append(b);
            }
        }
    }
    FlushTrace();
}

// Byte numbering of a packet: the trigger strips the start string and delivers the bytes after
// it, and is armed for the start string plus DataBytes bytes. Packet byte i (from 1) gets
// ByteCounter = DataOffset + i, so it reaches frame position i whatever ResponseBytes says:
// every data byte lands on positions 1 to DataBytes and none is lost to a header count that the
// packet no longer carries. The log record is the start string followed by those bytes, the same
// shape as a record of the other modes when ResponseBytes equals the start string's length.
void FrameAssembler::ReceivePacket(std::span<const std::uint8_t> data) {
    syncLedLit_ = !syncLedLit_;
    view_.ShowPacket(static_cast<int>(std::min<std::size_t>(data.size(), INT_MAX)), syncLedLit_);
    trace_.AppendMarker();
    ResetFrameState();  // a packet is a frame

    const bool traceOn = view_.DebugPageActive();
    const bool logging = recorder_.Recording() && running_;
    if (logging) {
        recorder_.BeginRecord(requestBytes_);
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
                recorder_.Append(b);
            }
            decoder_.DecodeByte(position, b);
        }
    }
    if (running_) {
        EndFrame(FrameEnd{});
    }
    FlushTrace();
}

// The one end of every received frame.
void FrameAssembler::EndFrame(const FrameEnd& end) {
    const double chartTime = elapsedSeconds_;
    elapsedSeconds_ += secondsPerFrame_;
    view_.ShowElapsed(elapsedSeconds_);
    const std::int64_t sample = plot_.Plot(chartTime);
    const bool hasChecksum = end.tested && useCheckSum_;
    if (end.tested) {
        if (end.good) {
            view_.ShowChecksumLabel(false);
        } else if (useCheckSum_) {
            view_.ShowChecksumLabel(true);
        }
    }
    if (recorder_.Recording()) {
        if (end.logByte) {
            recorder_.Append(*end.logByte);
        }
        recorder_.FinishRecord(recordLength_);
    }
    CountFrame(hasChecksum, end.good);
    if (end.tested) {
        // In listen-only mode a frame that ended whole and good ends its burst. After a bad one
        // the bytes count on until the silence, which is what brings a stream out of step back
        // into it.
        burstFrameEnded_ = syncMode_ == SyncMode::ListenOnly && (end.good || !useCheckSum_);
    }
    view_.FrameCompleted(FrameSummary{sample, chartTime, hasChecksum, end.good, false});
}

void FrameAssembler::CountFrame(bool checksumChecked, bool checksumGood) {
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

void FrameAssembler::Silence() {
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

void FrameAssembler::ResetSyncErrors() {
    syncErrorCount_ = 0;
    view_.ShowSyncErrors(0);
}

void FrameAssembler::ClearTrace() {
    trace_.Clear();
    FlushTrace();
}

void FrameAssembler::FlushTrace() {
    TraceUpdate update = trace_.TakeUpdate();
    if (!update.Empty()) {
        view_.TraceUpdated(update);
    }
}

// How long a request and its whole answer take on the line at the set speed, with time to
// spare for the adapter and the system's buffers.
std::int64_t FrameAssembler::AnswerTimeMs() const {
    constexpr std::int64_t kSlackMs = 50;
    const std::int64_t baud = baudRate_ > 0 ? baudRate_ : 8192;
    const std::int64_t bytes = RequestLength() + ExpectedFrameLength();
    return (bytes * 10 * 1000 + baud - 1) / baud + kSlackMs;
}

void FrameAssembler::NoteRequestSent(std::int64_t nowMs) {
    pollOutstanding_ = true;
    answerDueMs_ = nowMs + AnswerTimeMs();
}

}  // namespace vekaton
