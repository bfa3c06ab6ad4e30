#pragma once

#include <QString>
#include <optional>

namespace vekaton {

// The demo configuration set is installed with the program. On first use it is copied into a
// writable per-user folder, which then serves as the current folder; later runs keep the user's
// changes there.
std::optional<QString> PrepareDemoFolder(QString* error);
// The same into a given folder (files that exist already are left alone).
bool CopyDemoSet(const QString& folder, QString* error);

}  // namespace vekaton
