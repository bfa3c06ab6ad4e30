#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/LinkSettings.h"
#include "decode/Decoder.h"
#include "engine/Clock.h"
#include "engine/CommandString.h"
#include "engine/EngineView.h"
#include "engine/FrameAssembler.h"
#include "engine/FramePlot.h"
#include "engine/HexTrace.h"
#include "engine/LinkCounters.h"
#include "engine/PacketTrigger.h"
#include "engine/Player.h"
#include "engine/PollScheduler.h"
#include "engine/Port.h"
#include "engine/Recorder.h"
#include "log/RecordPlayback.h"

namespace vekaton {

class ChartStore;

// The acquisition engine: the link configuration and what is derived from it, the run state,
// the poll cycle of the three link modes, the loop-back test and commands. It is the front of
// the pieces that do the work: the frame assembler (frames out of bytes, the checksum test, the
// hex trace), the poll scheduler (the poll and sync timers), the recorder (the data log) and the
// player (real-time playback of a log); it ties them together in the order the cycle needs.
//
// The shell hands it received bytes (OnBytesReceived) and user commands; its timers run on the
// Clock; it writes to the Port and shows through the EngineView, so tests drive the whole cycle
// with a manual clock.
class Engine {
  public:
    Engine(Port& port, Clock& clock, Decoder& decoder, EngineView& view);
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // What reading the settings file and confirming the setup do to the engine: take the link
    // settings, convert the request, recompute DataOffset, set SecondsPerFrame from SampleRate,
    // and connect the receive path of the mode (in the ALDL 160 interface mode: arm the packet
    // trigger with the request just converted). Counts are held within 0 to 500.
    void ApplySettings(const LinkSettings& settings);
    const LinkSettings& Settings() const { return settings_; }
    // The chart the frames go to (may be null): a sample per frame at ElapsedSeconds from the
    // engine, the channels' points from its decoder.
    void SetChart(ChartStore* chart) { plot_.SetChart(chart); }
    const std::vector<std::uint8_t>& RequestBytes() const { return frames_.RequestBytes(); }
    int RequestLength() const { return frames_.RequestLength(); }
    int DataOffset() const { return frames_.DataOffset(); }
    // Modes 1 and 2: the ByteCounter of a frame's last byte.
    int ExpectedFrameLength() const { return frames_.ExpectedFrameLength(); }
    // Bytes of one data log record in the current mode.
    int RecordLength() const { return static_cast<int>(frames_.RecordLength()); }
    double SecondsPerFrame() const { return frames_.SecondsPerFrame(); }

    // The Run/Pause command. Refuses to run, and says so, without an open port. Ignored while a
    // data file is shown or played back.
    void PauseClick();
    bool Running() const { return frames_.Running(); }
    std::string_view RunCaption() const;
    void SetFileViewMode(bool on) { fileViewMode_ = on; }
    bool FileViewMode() const { return fileViewMode_; }

    // Received bytes, in order: to NormalTrigger in modes 1 and 2, to the packet trigger in
    // mode 3.
    void OnBytesReceived(std::span<const std::uint8_t> bytes);
    void NormalTrigger(std::span<const std::uint8_t> bytes);
    void PacketTriggerPacket(std::span<const std::uint8_t> data);
    void Timer1Timer();
    void SyncTimerTimer();
    void ResetFrameState();
    bool PollTimerEnabled() const { return scheduler_.PollEnabled(); }
    bool SyncTimerEnabled() const { return scheduler_.SyncEnabled(); }

    // The "Debug" page.
    void SetLoopBackEnabled(bool on) { loopBackEnabled_ = on; }
    bool LoopBackEnabled() const { return loopBackEnabled_; }
    void SetTestDataChoice(int choice) { testDataChoice_ = choice == 2 ? 2 : 1; }
    int TestDataChoice() const { return testDataChoice_; }
    // "Get ALDL": sends the request once, as a command.
    void GetAldl();
    const HexTrace& Trace() const { return frames_.Trace(); }
    void ClearTrace() { frames_.ClearTrace(); }

    // Recording. PrepareRecording stops the poll timer, waits 4 ticks, discards the port's input
    // and calls `ready`; then StartRecording or CancelRecording starts the timer again if it
    // was running. StartRecording alone (without Prepare) leaves the timer as it is. A log that
    // cannot be created is reported in the returned text, which says that recording did not
    // start.
    void PrepareRecording(std::function<void()> ready);
    std::optional<std::string> StartRecording(const std::filesystem::path& path);
    void CancelRecording();
    // "STOP Record": the log is closed at the end of the next frame, after its last byte.
    void StopRecording() { recorder_.RequestStop(); }
    // Closes the log at once (the port was lost, the program ends, the frame layout changed):
    // every completed frame is in it already; the bytes of the frame in progress are left out.
    // Returns the message that says so (also shown), or nothing when no log was open.
    std::optional<std::string> CloseRecordingNow(std::string_view why) {
        return recorder_.CloseNow(why);
    }
    bool Recording() const { return recorder_.Recording(); }
    bool StopRequested() const { return recorder_.StopRequested(); }
    int FrameCount() const { return recorder_.FrameCount(); }
    std::filesystem::path LogPath() const { return recorder_.Path(); }

    // Real-time playback: one record per poll tick at the log's interval (SampleRate when the
    // log says 0) divided by the speed, through the decoder with the current settings, from a
    // fresh decoder state at the log's start. The chart's time axis starts at 0 for the log.
    // Stops acquisition first. However playback ends - at the end of the log, by StopPlayback,
    // by a read error, by new settings - the request is converted again, the elapsed time is
    // put back, "Run" is shown and the view hears PlaybackEnded().
    std::optional<std::string> StartPlayback(const std::filesystem::path& path,
                                             std::int64_t startFrame = 0);
    void StopPlayback();
    bool RealTimePlayback() const { return player_.Active(); }
    void SetPlaybackPaused(bool paused);
    bool PlaybackPaused() const;
    // Plays the next frame now and pauses.
    void StepPlayback();
    // Goes to a frame (the next one played), with the values that playing from the start gives.
    void SeekPlayback(std::int64_t frame);
    // 0.25 to 8 times the log's own pace.
    void SetPlaybackSpeed(double speed);
    double PlaybackSpeed() const;
    std::int64_t PlaybackPosition() const;
    std::int64_t PlaybackFrames() const;
    int PlaybackIntervalMs() const;
    std::filesystem::path PlaybackPath() const;

    int ByteCounter() const { return frames_.ByteCounter(); }
    int ByteSum() const { return frames_.ByteSum(); }
    int SyncErrorCount() const { return frames_.SyncErrorCount(); }
    void ResetSyncErrors() { frames_.ResetSyncErrors(); }
    // Frames, checksum and sync errors and unanswered polls since the last reset.
    const LinkCounters& Counters() const { return counters_; }
    void ResetCounters() { counters_ = LinkCounters{}; }
    double ElapsedSeconds() const { return frames_.ElapsedSeconds(); }
    void SetElapsedSeconds(double seconds);
    const PacketTrigger& Trigger() const { return trigger_; }

  private:
    void SendCommand(const std::string& text, std::function<void()> then);
    void PlaybackStep();
    void EndPlayback(std::optional<std::string> message);

    Port& port_;
    Clock& clock_;
    Decoder& decoder_;
    EngineView& view_;

    LinkSettings settings_;
    bool fileViewMode_ = false;
    bool loopBackEnabled_ = false;
    int testDataChoice_ = 1;
    LinkCounters counters_;

    bool pollWasEnabled_ = false;  // across PrepareRecording .. Start/CancelRecording
    bool preparing_ = false;
    Clock::TimerId prepareTimer_ = 0;

    FramePlot plot_;
    Recorder recorder_;
    FrameAssembler frames_;
    Player player_;
    PollScheduler scheduler_;
    // Last, so that they go first: their pending callbacks refer to the members above.
    PacketTrigger trigger_;
    CommandSender sender_;
};

}  // namespace vekaton
