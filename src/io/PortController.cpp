#include "io/PortController.h"

#include "io/SerialPortNames.h"

namespace vekaton {

PortController::PortController(QObject* parent) : QObject(parent) {
    connect(&serial_, &SerialLink::PortLost, this, &PortController::PortLost);
    connect(&serial_, &SerialLink::PortRestored, this, &PortController::PortRestored);
}

QString PortController::DeviceFor(const LinkSettings& settings) {
    if (!settings.portName.empty()) {
        return QString::fromStdString(settings.portName);
    }
    return ComPortDeviceName(settings.comPort);
}

bool PortController::IsSimulatedDevice(const QString& device) {
    return device.compare(kSimulatedPortName, Qt::CaseInsensitive) == 0;
}

std::optional<QString> PortController::Open(const LinkSettings& settings) {
    Close();
    device_ = DeviceFor(settings);
    simulated_ = IsSimulatedDevice(device_);
    if (simulated_) {
        simulatedLink_.Open(settings);
        return std::nullopt;
    }
    if (device_.isEmpty()) {
        return tr(
            "Invalid Com#\nNo serial port is chosen. Choose the adapter's port in the setup.");
    }
    return serial_.Open(device_, settings.baudRate);
}

void PortController::SettingsChanged(const LinkSettings& settings) {
    if (simulated_ && simulatedLink_.IsOpen()) {
        simulatedLink_.Open(settings);
    }
}

void PortController::Close() {
    serial_.Close();
    simulatedLink_.Close();
}

bool PortController::IsOpen() const {
    return simulated_ ? simulatedLink_.IsOpen() : serial_.IsOpen();
}

bool PortController::Write(std::span<const std::uint8_t> bytes) {
    return simulated_ ? simulatedLink_.Write(bytes) : serial_.Write(bytes);
}

void PortController::FlushInput() {
    if (simulated_) {
        simulatedLink_.FlushInput();
    } else {
        serial_.FlushInput();
    }
}

void PortController::SetReceiveHandler(ReceiveHandler handler) {
    serial_.SetReceiveHandler(handler);
    simulatedLink_.SetReceiveHandler(std::move(handler));
}

}  // namespace vekaton
