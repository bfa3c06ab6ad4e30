#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "app/SetupDialog.h"

class QWidget;

namespace vekaton {

// The system's serial ports by device name, then the built-in "Simulated ECM".
QList<PortChoice> AvailablePortChoices();

// Asks the user to pick a port, offered once when the configured one will not open: one box that
// says why (`cause`) and lists the ports. Nothing when the user cancels.
std::optional<QString> ChoosePort(QWidget* parent, const QString& current, const QString& cause);

}  // namespace vekaton
