#pragma once

#include <QObject>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>

namespace vekaton {

class ConfigurationSet;
class Engine;
class GraphsPage;
class LogViewer;
class PlaybackBar;
class WindowCaption;

// Real-time playback in the window: choosing the log, the playback bar, and - however playback
// ends - the record and view buttons, the playback button's caption and the window caption put
// back. The engine plays; this shows it.
class PlaybackController : public QObject {
    Q_OBJECT

  public:
    // What playback shows and where it asks: the window is the dialogs' parent; logs are chosen
    // from the set's folder; a log being viewed is closed first.
    struct Parts {
        Engine& engine;
        const ConfigurationSet& set;
        GraphsPage& graphs;
        LogViewer& logViewer;
        WindowCaption& caption;
        QWidget& window;
    };

    PlaybackController(const Parts& parts, std::function<void(const QString&)> post);

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
    Parts parts_;
    std::function<void(const QString&)> post_;
    std::function<QString()> chooseFile_;
    PlaybackBar* bar_ = nullptr;
};

}  // namespace vekaton
