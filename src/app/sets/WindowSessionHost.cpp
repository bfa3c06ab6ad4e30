#include "app/sets/WindowSessionHost.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QTabWidget>
#include <QUndoStack>

#include "app/AppTexts.h"
#include "app/DebugPage.h"
#include "app/GraphsPage.h"
#include "app/LinkCommands.h"
#include "app/WindowCaption.h"
#include "app/WindowLifecycle.h"
#include "app/dashboard/DashboardController.h"
#include "app/logview/LogViewer.h"
#include "app/sets/CrashRecovery.h"
#include "app/sets/WindowBounds.h"
#include "io/QtText.h"

namespace vekaton {

void WindowSessionHost::OpeningSet() {
    parts_.logViewer.Close();
}

void WindowSessionHost::ShowCaption(std::string_view caption) {
    parts_.caption.Reset(FromStd(caption));
}

void WindowSessionHost::Tell(std::string_view message) {
    parts_.lifecycle.AddStartupMessage(FromStd(message));
}

void WindowSessionHost::EngineDefaultsApplied() {
    parts_.debug.SetLoopBack(false);
    parts_.debug.SetTestDataChoice(1);
}

void WindowSessionHost::ClosePort() {
    parts_.link.ClosePort();
}

void WindowSessionHost::OpenPort(const LinkSettings& settings) {
    parts_.link.OpenPort(settings, true);
}

void WindowSessionHost::LinkSettingsApplied(const LinkSettings& settings, bool receivePathChanged) {
    parts_.link.SettingsApplied(settings, receivePathChanged);
}

void WindowSessionHost::DefinitionsRead() {
    parts_.graphs.SetRawMode(false);
    parts_.dashboard.DefinitionsChanged();
    parts_.graphs.SetTitle(texts::kProcessedData);
    parts_.graphs.SetYRange(0, 100);
    parts_.graphs.RebuildChannelChoices(parts_.table);
}

LayoutReadPrompts* WindowSessionHost::LayoutPrompts() {
    return prompts_ != nullptr ? prompts_ : &boxes_;
}

WindowLayout WindowSessionHost::CaptureWindowLayout() const {
    const QRect bounds = parts_.window.geometry();
    WindowLayout layout;
    layout.chartChannels = parts_.graphs.ChannelSettings();
    layout.placement = WindowPlacement{bounds.x(), bounds.y(), bounds.x() + bounds.width(),
                                       bounds.y() + bounds.height(), parts_.pages.currentIndex()};
    return layout;
}

void WindowSessionHost::ApplyWindowLayout(const WindowLayout& layout) {
    if (layout.chartChannels) {
        parts_.graphs.SetChannelSettings(*layout.chartChannels);
    }
    if (!layout.placement) {
        return;
    }
    const WindowPlacement& placement = *layout.placement;
    const QRect saved(placement.left, placement.top, placement.right - placement.left,
                      placement.bottom - placement.top);
    if (saved.width() > 0 && saved.height() > 0) {
        std::vector<QRect> screens;
        for (const QScreen* screen : QGuiApplication::screens()) {
            screens.push_back(screen->availableGeometry());
        }
        parts_.window.setGeometry(OnScreen(saved, screens));
    }
    if (placement.page >= 0 && placement.page < parts_.pages.count()) {
        parts_.pages.setCurrentIndex(placement.page);
    }
}

void WindowSessionHost::SetRead() {
    parts_.dashboard.AfterLoad();
    parts_.dashboard.Undo().clear();  // what a set holds is the starting point, not an edit
    parts_.graphs.RebuildChannelChoices(parts_.table);
    parts_.recovery.SetBaseline();  // what was just read is what the files hold
}

}  // namespace vekaton
