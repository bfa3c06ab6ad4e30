#pragma once

#include <QMainWindow>

#include "app/sets/LayoutPromptBoxes.h"
#include "session/SessionHost.h"

class QTabWidget;

namespace vekaton {

class DashboardController;
class DebugPage;
class GraphsPage;
class LinkCommands;
class LogViewer;
class ParameterTable;
class RecoveryCopies;
class WindowCaption;
class WindowLifecycle;

// What the session's sequences show and ask in the window: the caption, start-up messages, the
// port, the "Debug" page and chart put back to their defaults, the window's placement and the
// chart's channels as the layout file keeps them, and the dashboard made whole after a read.
class WindowSessionHost : public SessionHost {
  public:
    struct Parts {
        const ParameterTable& table;
        WindowCaption& caption;
        WindowLifecycle& lifecycle;
        LinkCommands& link;
        DebugPage& debug;
        GraphsPage& graphs;
        DashboardController& dashboard;
        LogViewer& logViewer;
        RecoveryCopies& recovery;
        QTabWidget& pages;
        QMainWindow& window;
    };

    explicit WindowSessionHost(const Parts& parts) : parts_(parts), boxes_(&parts.window) {}

    // The questions and messages of reading a damaged layout file (tests answer them).
    void SetLayoutPrompts(LayoutReadPrompts* prompts) { prompts_ = prompts; }

    void OpeningSet() override;
    void ShowCaption(std::string_view caption) override;
    void Tell(std::string_view message) override;
    void EngineDefaultsApplied() override;
    void ClosePort() override;
    void OpenPort(const LinkSettings& settings) override;
    void LinkSettingsApplied(const LinkSettings& settings, bool receivePathChanged) override;
    void DefinitionsRead() override;
    LayoutReadPrompts* LayoutPrompts() override;
    WindowLayout CaptureWindowLayout() const override;
    void ApplyWindowLayout(const WindowLayout& layout) override;
    void SetRead() override;

  private:
    Parts parts_;
    LayoutPromptBoxes boxes_;
    LayoutReadPrompts* prompts_ = nullptr;
};

}  // namespace vekaton
