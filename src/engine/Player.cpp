#include "engine/Player.h"

#include "engine/EngineTexts.h"
#include "engine/FramePlot.h"
#include "log/RecordPlayback.h"

namespace vekaton {

std::unique_ptr<PlaybackSession> Player::Open(const std::filesystem::path& path,
                                              const RecordLayout& layout, ParameterTable& table,
                                              std::string& error) {
    auto session = std::make_unique<PlaybackSession>(path, layout, table);
    if (session->Error()) {
        error = *session->Error();
        return nullptr;
    }
    const DataLogFile& log = session->Log();
    if (log.RecordCount() == 0) {
        error = "Data log \"" + path.string() + "\" holds no ";
        error += log.TrailingBytes() > 0
                     ? "whole record. " + PartialRecordText(log.TrailingBytes(), log.RecordSize())
                     : std::string("frames.");
        return nullptr;
    }
    return session;
}

std::optional<std::string> Player::Begin(std::unique_ptr<PlaybackSession> session, int sampleRate,
                                         std::int64_t startFrame, double liveElapsed) {
    session->SetDefaultInterval(sampleRate);
    std::string error;
    const auto state = session->Replay().StateAt(startFrame, error);
    if (!state) {
        return "Data log \"" + session->Log().Path().string() + "\": " + error;
    }
    liveElapsedSeconds_ = liveElapsed;
    liveDecoderState_ = decoder_.SaveState();
    session_ = std::move(session);
    session_->SetPosition(startFrame);
    decoder_.RestoreState(*state);
    return std::nullopt;
}

std::optional<std::string> Player::Seek(std::int64_t frame) {
    std::string error;
    const auto state = session_->Replay().StateAt(frame, error);
    if (!state) {
        return error;
    }
    session_->SetPosition(frame);
    decoder_.RestoreState(*state);
    return std::nullopt;
}

Player::Played Player::PlayNext(FramePlot& plot) {
    Played played;
    if (session_->AtEnd()) {
        const DataLogFile& log = session_->Log();
        if (log.TrailingBytes() > 0) {
            played.message = PartialRecordText(log.TrailingBytes(), log.RecordSize());
        }
        return played;
    }
    std::string error;
    const std::int64_t frame = session_->Position();
    const auto record = session_->Current(error);
    if (record.empty()) {
        played.message = "Playback stopped at frame " + std::to_string(frame + 1) + ": " + error;
        return played;
    }
    session_->Replay().NoteFrameStart(frame, decoder_);
    const double chartTime = session_->TimeOf(frame);
    FeedRecordBytes(decoder_, record, session_->Layout());
    const std::int64_t sample = plot.Plot(chartTime);
    session_->SetPosition(frame + 1);
    played.played = true;
    played.frame = FrameSummary{sample, chartTime, session_->Layout().useCheckSum,
                                RecordChecksumGood(record, session_->Layout()), true};
    return played;
}

}  // namespace vekaton
