#pragma once

#include <QString>
#include <vector>

namespace vekaton {

// The device a settings-file port number stands for when no "PortName=" line names it:
// "COMn" on Windows, /dev/ttyS<n-1> elsewhere. Empty for numbers below 1.
QString ComPortDeviceName(int comPort);

// The number a device name gives back in the settings file ("ComPort="): n for COMn and
// /dev/ttyS<n-1>, 0 for any other device (a USB adapter is kept by its name instead).
int ComPortNumber(const QString& deviceName);

struct SerialPortEntry {
    QString deviceName;  // what the port is opened by, e.g. /dev/ttyUSB0 or COM3
    QString description;
    QString manufacturer;
    QString serialNumber;  // the adapter's own, which tells two alike adapters apart
};

// The serial ports the system offers, sorted by device name.
std::vector<SerialPortEntry> ListSerialPorts();

}  // namespace vekaton
