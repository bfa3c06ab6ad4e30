#pragma once

#include <QString>

namespace vekaton {

// The per-user folder where the window keeps copies of unsaved changes (never the set's own
// folder). Here, in the lowest shell folder, so that the command-line programs know it too and
// never write their output into it.
QString RecoveryFolder();

}  // namespace vekaton
