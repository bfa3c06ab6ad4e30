#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "common/LinkSettings.h"
#include "engine/HexTrace.h"

namespace vekaton {

class Clock;
class Decoder;
class EngineView;
class FramePlot;
class Recorder;
struct LinkCounters;

// Frames out of received bytes in the three link modes: every byte counted (ByteCounter),
// traced, decoded at its frame position, summed for the checksum and recorded; a frame ends at
// the expected length (listen only, talk/listen) or with its packet (ALDL 160 interface), and
// every frame ends in the same one step: elapsed time, chart, checksum label, log record,
// counters, the view. It also knows whether the answer to the last request may still be on its
// way.
class FrameAssembler {
  public:
    FrameAssembler(Decoder& decoder, EngineView& view, Recorder& recorder, FramePlot& plot,
                   LinkCounters& counters, const Clock& clock);
    FrameAssembler(const FrameAssembler&) = delete;
    FrameAssembler& operator=(const FrameAssembler&) = delete;

    // The frame geometry of settings whose counts are already held within 0 to 500, with the
    // request converted from them. SecondsPerFrame follows SampleRate.
    void Configure(const LinkSettings& settings, std::vector<std::uint8_t> requestBytes);
    const std::vector<std::uint8_t>& RequestBytes() const { return requestBytes_; }
    int RequestLength() const { return static_cast<int>(requestBytes_.size()); }
    int DataOffset() const { return dataOffset_; }
    // Modes 1 and 2: the ByteCounter of a frame's last byte.
    int ExpectedFrameLength() const;
    std::size_t RecordLength() const { return recordLength_; }

    // While stopped, bytes reach only the trace, and packets nothing but their marker.
    void SetRunning(bool on) { running_ = on; }
    bool Running() const { return running_; }

    void ResetFrameState();
    // Modes 1 and 2: received bytes in order.
    void Receive(std::span<const std::uint8_t> bytes);
    // Mode 3: a packet without its start string.
    void ReceivePacket(std::span<const std::uint8_t> data);
    // Listen only: SyncTime ms without data ended a burst; one of the wrong length is a sync
    // error.
    void Silence();

    int ByteCounter() const { return byteCounter_; }
    int ByteSum() const { return byteSum_; }
    int SyncErrorCount() const { return syncErrorCount_; }
    void ResetSyncErrors();
    double ElapsedSeconds() const { return elapsedSeconds_; }
    void SetElapsedSeconds(double seconds) { elapsedSeconds_ = seconds; }
    double SecondsPerFrame() const { return secondsPerFrame_; }
    const HexTrace& Trace() const { return trace_; }
    void ClearTrace();

    // Talk/listen: a request went out now. Until its frame completes it is outstanding, and
    // until a whole answer can have arrived at the line's speed it is awaited.
    void NoteRequestSent(std::int64_t nowMs);
    bool RequestOutstanding() const { return pollOutstanding_; }
    bool AwaitingAnswer(std::int64_t nowMs) const {
        return pollOutstanding_ && nowMs < answerDueMs_;
    }
    // A stop cuts the last answer short; that is no fault of the link.
    void ForgetRequest() { pollOutstanding_ = false; }

  private:
    // How a frame ends: in modes 1 and 2 its last byte was tested against the checksum rule
    // and may still be owed to the log; a packet has neither.
    struct FrameEnd {
        bool tested = false;
        bool good = true;
        std::optional<std::uint8_t> logByte;
    };
    void EndFrame(const FrameEnd& end);
    void CountFrame(bool checksumChecked, bool checksumGood);
    void CountByte();
    bool InChecksumRange(int count) const;
    void FlushTrace();
    std::int64_t AnswerTimeMs() const;

    Decoder& decoder_;
    EngineView& view_;
    Recorder& recorder_;
    FramePlot& plot_;
    LinkCounters& counters_;
    const Clock& clock_;

    SyncMode syncMode_ = SyncMode::TalkListen;
    bool useCheckSum_ = false;
    int dataBytes_ = 0;
    int baudRate_ = 0;
    std::vector<std::uint8_t> requestBytes_;
    int dataOffset_ = 0;
    int checksumFirst_ = 0;  // the checksum range is checksumFirst_ < count <= checksumLast_
    int checksumLast_ = 0;
    std::size_t recordLength_ = 0;
    double secondsPerFrame_ = 0.1;

    bool running_ = false;
    int byteCounter_ = 0;
    int byteSum_ = 0;
    // Listen only: the last frame ended whole, so the next byte opens a new one even before the
    // silence comes.
    bool burstFrameEnded_ = false;
    int syncErrorCount_ = 0;
    bool syncLedLit_ = false;
    double elapsedSeconds_ = 0.0;
    HexTrace trace_;
    bool pollOutstanding_ = false;  // a request went out and its frame has not completed yet
    std::int64_t answerDueMs_ = 0;  // until then a poll tick leaves the answer be
};

}  // namespace vekaton
