#pragma once

#include <QIcon>

#include "widgets/NightColours.h"

namespace vekaton {

// The toolbar's pictures, drawn here so that they look the same on every desktop and read at a
// glance on a small screen: plain shapes, thick strokes.
enum class ToolBarPicture { Run, Pause, Record, Previous, Next, FullScreen, Night };

// In night colours when they are on.
QIcon ToolBarIcon(ToolBarPicture picture, const NightColours& night = {});

}  // namespace vekaton
