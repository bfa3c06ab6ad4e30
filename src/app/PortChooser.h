#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "app/SetupDialog.h"

class QWidget;

namespace vekaton {

struct SerialPortEntry;

// How a port is listed: an adapter by what it says it is, then its device and serial number
// ("FT232R USB UART – /dev/ttyUSB0 (serial A50285BI)"); a port that says nothing by its
// device alone.
QString PortLabel(const SerialPortEntry& entry);

// The system's serial ports by device name, then the built-in "Simulated ECM".
QList<PortChoice> AvailablePortChoices();

// What to do when this user may not open `device` (which group owns it, the command that lets
// the user in); empty when the device may be opened, does not exist, or is the simulated module.
QString PortAccessAdvice(const QString& device);

// Asks the user to pick a port, offered once when the configured one will not open: one box that
// says why (`cause`) and lists the ports. Nothing when the user cancels.
std::optional<QString> ChoosePort(QWidget* parent, const QString& current, const QString& cause);

}  // namespace vekaton
