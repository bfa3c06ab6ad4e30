#include "app/car/CarRooms.h"

#include <QMainWindow>

#include "app/car/FullScreenView.h"
#include "app/car/ScreenSaverInhibit.h"
#include "app/car/ViewCommands.h"
#include "app/car/WarningsRoom.h"
#include "session/Session.h"

namespace vekaton {

CarRooms::CarRooms(const Parts& parts) : QObject(&parts.window), parts_(parts) {
    warnings_ = new WarningsRoom({parts_.session, parts_.dashboard, parts_.status, parts_.window});
    fullScreen_ =
        new FullScreenView({parts_.window, parts_.pages, parts_.dashboard, parts_.statusStrip,
                            parts_.linkHealth, parts_.session.GetEngine(), *warnings_});
    view_ = new ViewCommands({parts_.window, parts_.dashboard, *fullScreen_, parts_.pause,
                              parts_.recording, parts_.session.GetEngine(), parts_.logViewer,
                              parts_.linkHealth});
    connect(view_, &ViewCommands::nightColoursChanged, warnings_, &WarningsRoom::SetNightColours);
    warnings_->SetNightColours(view_->Night());
}

CarRooms::~CarRooms() = default;

void CarRooms::FrameCompleted() {
    warnings_->FrameCompleted();
}

void CarRooms::RunStateChanged(bool running) {
    running_ = running;
    warnings_->RunStateChanged(running);
    // The desktop's service is asked for only once there is something to keep awake.
    if (running && !screenGuard_) {
        screenGuard_ = std::make_unique<AcquisitionScreenGuard>();
    }
    if (screenGuard_) {
        screenGuard_->SetAcquiring(running);
    }
}

void CarRooms::WindowGoing() {
    fullScreen_->StopWatching();
    warnings_->StopWatching();
    view_->StopWatching();
}

void CarRooms::WindowShown() {
    view_->WindowShown();
}

void CarRooms::SetScreenSaver(std::unique_ptr<ScreenSaverInterface> screenSaver) {
    screenGuard_.reset();  // what the old one held is released first
    screenGuard_ = std::make_unique<AcquisitionScreenGuard>(std::move(screenSaver));
    screenGuard_->SetAcquiring(running_);
}

}  // namespace vekaton
