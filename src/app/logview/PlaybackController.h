#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

namespace vekaton {

class PlaybackBar;
class TForm1;

// Real-time playback in the window: choosing the log, the playback bar, and - however playback
// ends - the record and view buttons, the playback button's caption and the window caption put
// back. The engine plays; this shows it.
class PlaybackController : public QObject {
    Q_OBJECT

  public:
    PlaybackController(TForm1& window, std::function<void(const QString&)> post);

    // The "Play Data Log" / "Stop Playback" button.
    void PlaybackClicked();
    // Starts playing a log from a frame; false (after saying why) when it cannot.
    bool Start(const QString& path, std::int64_t startFrame = 0);
    bool Playing() const;
    PlaybackBar& Bar() const { return *bar_; }

    // From the engine's view.
    void Ended();
    void Moved(std::int64_t frame, std::int64_t frames);
    void Jumped();

    // Replaceable for tests: the open dialog (an empty name cancels).
    void SetChooseFile(std::function<QString()> choose) { chooseFile_ = std::move(choose); }

  private:
    TForm1& window_;
    std::function<void(const QString&)> post_;
    std::function<QString()> chooseFile_;
    PlaybackBar* bar_ = nullptr;
};

}  // namespace vekaton
