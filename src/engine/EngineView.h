#pragma once

#include <cstdint>
#include <string_view>

#include "engine/HexTrace.h"

namespace vekaton {

// One completed frame, for views that act per frame (the CLI writes a CSV row).
struct FrameSummary {
    std::int64_t sampleIndex = 0;  // its sample in the chart (0 without a chart)
    double chartTime = 0.0;        // the X value it was plotted at (ElapsedSeconds before it)
    bool hasChecksum = false;      // UseCheckSum was on (modes 1 and 2, and recorded frames)
    bool checksumGood = true;      // only meaningful with hasChecksum
    bool fromPlayback = false;     // a recorded frame played back, not a received one
};

// What the engine shows. The window implements it with its widgets; the CLI and the tests with
// plain objects. Every method has a do-nothing default, so a view implements what it shows.
class EngineView {
  public:
    virtual ~EngineView() = default;

    // Whether the "Debug" page is showing: received bytes go into the hex trace only then.
    virtual bool DebugPageActive() const { return false; }
    // The hex trace changed: clear the trace window if asked, then append the new text.
    virtual void TraceUpdated(const TraceUpdate& update) { (void)update; }
    // The "BAD CHECKSUM" label, on the active page.
    virtual void ShowChecksumLabel(bool visible) { (void)visible; }
    // The position of the sync error bar (listen-only frames of the wrong length).
    virtual void ShowSyncErrors(int count) { (void)count; }
    // The elapsed-time counter.
    virtual void ShowElapsed(double seconds) { (void)seconds; }
    // ALDL 160 interface mode: the packet's size on the byte count display, the sync LED.
    virtual void ShowPacket(int size, bool ledLit) {
        (void)size;
        (void)ledLit;
    }
    // The recording label: "Saving - " and the frame count.
    virtual void ShowRecordingLabel(std::string_view text) { (void)text; }
    // The data log was closed (stop honoured, or a write failed): the record button goes back
    // to "Record to File".
    virtual void RecordingStopped() {}
    // The caption of the Run/Pause command: "Run" while stopped, "Pause" while running.
    virtual void ShowRunState(std::string_view caption) { (void)caption; }
    // Something the user must read: an error or a warning.
    virtual void ShowMessage(std::string_view text) { (void)text; }
    virtual void FrameCompleted(const FrameSummary& frame) { (void)frame; }
    // Real-time playback ended (the end of its log, a stop, a read error, new settings): the
    // engine is stopped and the request converted again; the view puts its controls back.
    virtual void PlaybackEnded() {}
    // Playback stands at `frame` (the next to play) of `frames`.
    virtual void PlaybackMoved(std::int64_t frame, std::int64_t frames) {
        (void)frame;
        (void)frames;
    }
    // Playback jumped to another frame: what the chart shows no longer runs on from there.
    virtual void PlaybackJumped() {}
};

}  // namespace vekaton
