#include "io/PortController.h"

#include "io/SerialPortNames.h"

namespace vekaton {

PortController::PortController(QObject* parent) : QObject(parent) {
    connect(&serial_, &SerialLink::PortLost, this, [this](const QString& message) {
        TraceNote(message);
        emit PortLost(message);
    });
    connect(&serial_, &SerialLink::PortRestored, this, [this](const QString& message) {
        TraceNote(message);
        emit PortRestored(message);
    });
    const auto received = [this](std::span<const std::uint8_t> bytes) { Received(bytes); };
    serial_.SetReceiveHandler(received);
    simulatedLink_.SetReceiveHandler(received);
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
    const bool written = simulated_ ? simulatedLink_.Write(bytes) : serial_.Write(bytes);
    if (written) {
        Trace(TraceLog::Direction::Sent, bytes);
    }
    return written;
}

void PortController::FlushInput() {
    if (simulated_) {
        simulatedLink_.FlushInput();
    } else {
        serial_.FlushInput();
    }
}

void PortController::DeliverReceived() {
    // The simulated link delivers on its own timer, which is due before the poll that follows.
    if (!simulated_) {
        serial_.DeliverReceived();
    }
}

void PortController::SetReceiveHandler(ReceiveHandler handler) {
    receiveHandler_ = std::move(handler);
}

void PortController::Received(std::span<const std::uint8_t> bytes) {
    Trace(TraceLog::Direction::Received, bytes);
    if (receiveHandler_) {
        receiveHandler_(bytes);
    }
}

std::optional<QString> PortController::StartTrace(const QString& folder) {
    if (!trace_.OpenInFolder(folder)) {
        return trace_.LastError();
    }
    return std::nullopt;
}

void PortController::StopTrace() {
    trace_.Close();
}

void PortController::Trace(TraceLog::Direction direction, std::span<const std::uint8_t> bytes) {
    if (!trace_.IsOpen()) {
        return;
    }
    trace_.Record(direction, bytes);
    if (!trace_.IsOpen()) {
        emit TraceStopped(trace_.LastError());
    }
}

void PortController::TraceNote(const QString& text) {
    if (trace_.IsOpen()) {
        trace_.Note(text);
    }
}

}  // namespace vekaton
