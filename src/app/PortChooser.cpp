#include "app/PortChooser.h"

#include <QInputDialog>
#include <QStringList>

#include "app/AppTexts.h"
#include "io/SerialPortNames.h"
#include "io/SimulatedLink.h"

namespace vekaton {

QList<PortChoice> AvailablePortChoices() {
    QList<PortChoice> choices;
    for (const SerialPortEntry& entry : ListSerialPorts()) {
        QString label = entry.deviceName;
        const QString detail = entry.description.isEmpty() ? entry.manufacturer : entry.description;
        if (!detail.isEmpty()) {
            label += " - " + detail;
        }
        choices.append(PortChoice{entry.deviceName, label});
    }
    choices.append(PortChoice{kSimulatedPortName, kSimulatedPortName});
    return choices;
}

std::optional<QString> ChoosePort(QWidget* parent, const QString& current, const QString& cause) {
    const QList<PortChoice> choices = AvailablePortChoices();
    QStringList labels;
    int currentIndex = 0;
    for (const PortChoice& choice : choices) {
        if (choice.device == current) {
            currentIndex = static_cast<int>(labels.size());
        }
        labels.append(choice.label);
    }
    bool ok = false;
    const QString picked = QInputDialog::getItem(
        parent, QObject::tr("Choose a port"),
        cause + QObject::tr("\n\nChoose the adapter's port, or Cancel to go on without one:"),
        labels, currentIndex, false, &ok);
    if (!ok) {
        return std::nullopt;
    }
    const auto index = labels.indexOf(picked);
    return index >= 0 ? std::optional<QString>(choices[index].device) : std::nullopt;
}

}  // namespace vekaton
