#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "common/LinkSettings.h"
#include "dashboard/ChartChannelList.h"

namespace vekaton {

class LayoutReadPrompts;

// Where the window stands and which page it shows, as the layout file's trailer keeps them.
struct WindowPlacement {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;   // left + width
    std::int32_t bottom = 0;  // top + height
    std::int32_t page = 0;    // index of the active page
    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

// The window's own part of a set's layout: the strip chart's channels and the placement. Read
// from a file, each is there only when the file held it; taken from the window, both are.
struct WindowLayout {
    std::optional<ChartChannelList> chartChannels;
    std::optional<WindowPlacement> placement;
};

// What the session needs of the program around it while a set is opened and saved: the window
// shows and asks, vekaton-cli and the tests do what they need. Every method has a default that
// does nothing, so a host implements only what it shows.
class SessionHost {
  public:
    virtual ~SessionHost() = default;

    // Start-up begins again (also for a loaded set): whatever shows another log is closed.
    virtual void OpeningSet() {}
    // The caption formed from the set pointer ("Vekaton v3.02d  : " + set name).
    virtual void ShowCaption(std::string_view caption) { (void)caption; }
    // A message of start-up for the user, shown once the window is up.
    virtual void Tell(std::string_view message) { (void)message; }
    // The engine's start-up defaults are in force: the loop-back test off, test answer 1, raw
    // data off.
    virtual void EngineDefaultsApplied() {}
    // The port is closed before a set's settings are applied, and opened with the settings the
    // file names; a port that will not open is the host's to explain.
    virtual void ClosePort() {}
    virtual void OpenPort(const LinkSettings& settings) { (void)settings; }
    // Link settings were applied to the engine (start-up defaults, the settings file, Setup):
    // labels, the port's own settings; `receivePathChanged` when the mode's receive path was
    // connected anew (the mode label and the byte count panel follow it).
    virtual void LinkSettingsApplied(const LinkSettings& settings, bool receivePathChanged) {
        (void)settings;
        (void)receivePathChanged;
    }
    // The definitions and the settings are read; the dashboard's files come next.
    virtual void DefinitionsRead() {}
    // The layout reader's questions about a damaged file; nullptr answers Cancel to each.
    virtual LayoutReadPrompts* LayoutPrompts() { return nullptr; }
    // The window's part of the layout: taken before a save, applied after reading.
    virtual WindowLayout CaptureWindowLayout() const { return {}; }
    virtual void ApplyWindowLayout(const WindowLayout& layout) { (void)layout; }
    // The whole set is read: the dashboard holds what its files hold.
    virtual void SetRead() {}
};

}  // namespace vekaton
