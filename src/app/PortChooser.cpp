#include "app/PortChooser.h"

#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QStringList>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

#include "app/AppTexts.h"
#include "io/DeviceAccessFacts.h"
#include "io/SerialPortNames.h"
#include "io/SimulatedLink.h"

namespace vekaton {

QString PortLabel(const SerialPortEntry& entry) {
    const QString detail = entry.description.isEmpty() ? entry.manufacturer : entry.description;
    QString label = detail.isEmpty() ? entry.deviceName
                                     : detail + QString::fromUtf8(" \u2013 ") + entry.deviceName;
    if (!entry.serialNumber.isEmpty()) {
        label += QObject::tr(" (serial %1)").arg(entry.serialNumber);
    }
    return label;
}

QString PortAccessAdvice(const QString& device) {
#ifdef Q_OS_UNIX
    if (device.isEmpty() || device == kSimulatedPortName || !QFileInfo::exists(device)) {
        return {};
    }
    if (::access(QFile::encodeName(device).constData(), R_OK | W_OK) == 0) {
        return {};
    }
    return QString::fromStdString(
        DeviceAccessAdvice(device.toStdString(), ReadDeviceAccess(device)));
#else
    Q_UNUSED(device);
    return {};
#endif
}

QList<PortChoice> AvailablePortChoices() {
    QList<PortChoice> choices;
    for (const SerialPortEntry& entry : ListSerialPorts()) {
        choices.append(PortChoice{entry.deviceName, PortLabel(entry)});
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
