#pragma once

#include <QString>

#include "common/DeviceAccessAdvice.h"

namespace vekaton {

// Reads who may open a device: the group that owns the device file, its mode, and whether the
// user's account and this login are in that group. Fields stay unknown where the system does
// not say (and on systems without POSIX groups).
DeviceAccess ReadDeviceAccess(const QString& device);

}  // namespace vekaton
