#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "decode/Decoder.h"
#include "engine/EngineView.h"
#include "log/PlaybackSession.h"

namespace vekaton {

class FramePlot;

// Real-time playback of a data log: the log and where it stands, its pace, and playing its
// records one at a time through the decoder into the chart. It keeps the decoder state and the
// elapsed time of the live run, to be put back when playback ends. The engine decides when to play
// (its poll timer) and what stops for it.
class Player {
  public:
    explicit Player(Decoder& decoder) : decoder_(decoder) {}
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // The log opened for playing with `layout`, or nullptr and the reason it cannot be played
    // (unreadable, or no whole record in it).
    static std::unique_ptr<PlaybackSession> Open(const std::filesystem::path& path,
                                                 const RecordLayout& layout, ParameterTable& table,
                                                 std::string& error);
    // Takes the session and stands at `startFrame`, with the decoder state that playing from the
    // start gives there; the live decoder state and `liveElapsed` are kept. The log's interval
    // is SampleRate when the log says 0. The reason when that state cannot be had (nothing
    // changes then).
    std::optional<std::string> Begin(std::unique_ptr<PlaybackSession> session, int sampleRate,
                                     std::int64_t startFrame, double liveElapsed);
    // Lets go of the log. PutBackLiveState gives the decoder the live run's state again and
    // returns the live run's elapsed time.
    void Close() { session_.reset(); }
    double PutBackLiveState() {
        decoder_.RestoreState(liveDecoderState_);
        return liveElapsedSeconds_;
    }

    bool Active() const { return session_ != nullptr; }
    // Only while Active().
    PlaybackSession& Session() const { return *session_; }
    // The log time of the position: the elapsed time while playing.
    double PositionTime() const { return session_->TimeOf(session_->Position()); }

    // Goes to a frame (the next one played) with the values that playing from the start gives;
    // the reason when they cannot be had.
    std::optional<std::string> Seek(std::int64_t frame);

    // What playing the next record did.
    struct Played {
        bool played = false;  // false: playback is over, for `message` if there is one
        std::optional<std::string> message;
        FrameSummary frame;
    };
    // Plays the record at the position as if it had just been received and moves on.
    Played PlayNext(FramePlot& plot);

  private:
    Decoder& decoder_;
    std::unique_ptr<PlaybackSession> session_;
    Decoder::State liveDecoderState_;
    double liveElapsedSeconds_ = 0.0;
};

}  // namespace vekaton
