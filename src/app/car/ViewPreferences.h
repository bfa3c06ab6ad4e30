#pragma once

#include "widgets/NightColours.h"

namespace vekaton {

// How the user likes the window, remembered for the user (never in a configuration set, which
// may be shared): night colours, the toolbar, the value table, pages fitted to the window, and
// whether the program starts in full screen.
struct ViewPreferences {
    NightColours night;
    bool toolBar = true;
    bool valueTable = true;
    bool fitPages = false;
    bool startFullScreen = false;

    bool operator==(const ViewPreferences&) const = default;
};

// From the user's settings; the defaults above where none are kept (or they cannot be read).
ViewPreferences LoadViewPreferences();
void SaveViewPreferences(const ViewPreferences& preferences);

}  // namespace vekaton
