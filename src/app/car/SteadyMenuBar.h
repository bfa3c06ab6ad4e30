#pragma once

#include <QStringList>

class QMenuBar;

namespace vekaton {

// Keeps the menu bar from shifting when an item's caption changes between the given captions
// ("Run" and "Pause"): the item is always as wide as the widest of them, so the items after it
// stay where the hand expects them.
void KeepMenuBarSteady(QMenuBar& bar, const QStringList& captions);

}  // namespace vekaton
