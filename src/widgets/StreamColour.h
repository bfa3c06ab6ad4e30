#pragma once

#include "dashboard/PropertyBag.h"

#include <QColor>
#include <QPalette>

namespace vekaton {

// The one place where stream colours (0x00BBGGRR, or a system colour with high byte 0x80)
// become Qt colours: system colours follow the platform palette, so a gauge coloured
// clBtnFace matches the page it sits on under any theme.
QColor ToQColor(ColourValue colour, const QPalette& palette);

// The stream colour of a Qt colour (alpha is dropped).
ColourValue FromQColor(const QColor& colour);

// A dim version of a lit colour, as an unlit LED or segment shows it against its background.
QColor DimmedColour(const QColor& lit, const QColor& background, double strength = 0.22);

// Black or white, whichever reads better on the given background.
QColor ContrastingColour(const QColor& background);

}  // namespace vekaton
