#pragma once

#include <QSerialPort>
#include <QString>

#include "common/DeviceAccessAdvice.h"

namespace vekaton {

// The first line of every message about a port that would not open.
inline constexpr char kInvalidComText[] = "Invalid Com#";

// "Invalid Com#" with the device, the system's reason and, where the user can do something
// about it, what to do. `access` says who may open the device, where that is known.
QString BuildOpenErrorMessage(const QString& device, QSerialPort::SerialPortError error,
                              const QString& systemReason, const DeviceAccess& access = {});

// The same, with the owning group and the user's groups read from the system.
QString OpenErrorMessage(const QString& device, QSerialPort::SerialPortError error,
                         const QString& systemReason);

// Reported once when an open port fails under us (a pulled USB cable, a vanished device). Qt's
// own text for a hang-up is often just "Unknown error", so the kind of error is described too.
QString PortLostMessage(const QString& device, QSerialPort::SerialPortError error,
                        const QString& systemReason);

// Reported when a lost port has been opened again.
QString PortBackMessage(const QString& device);

}  // namespace vekaton
