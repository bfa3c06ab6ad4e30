#pragma once

#include "widgets/NightColours.h"

class QWidget;

namespace vekaton {

// Night colours for a whole page (or window): every instrument below `root` takes them, and the
// root's own background turns dark; with night.on false, both go back to their day colours.
// Call it again for items added later, or after changing the brightness.
void ApplyNightColours(QWidget* root, const NightColours& night);

}  // namespace vekaton
