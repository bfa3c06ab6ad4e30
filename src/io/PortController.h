#pragma once

#include <QObject>
#include <QString>
#include <optional>

#include "engine/LinkSettings.h"
#include "engine/Port.h"
#include "io/SerialLink.h"
#include "io/SimulatedLink.h"

namespace vekaton {

// The window's one port: a real serial link, or the built-in simulated module when the settings
// name "Simulated ECM". The engine writes through it; received bytes go to the receive handler.
class PortController : public QObject, public Port {
    Q_OBJECT

  public:
    using ReceiveHandler = SerialLink::ReceiveHandler;

    explicit PortController(QObject* parent = nullptr);

    // The device the settings name: the "PortName=" device, else the number's device.
    static QString DeviceFor(const LinkSettings& settings);
    static bool IsSimulatedDevice(const QString& device);

    // Opens the device of the settings at their speed (the simulated module takes the whole
    // link configuration). Returns the message for the user when it cannot be opened.
    std::optional<QString> Open(const LinkSettings& settings);
    // The simulated module follows changes of the link configuration.
    void SettingsChanged(const LinkSettings& settings);
    void Close();

    bool IsOpen() const override;
    bool Write(std::span<const std::uint8_t> bytes) override;
    void FlushInput() override;

    QString DeviceName() const { return device_; }
    bool IsSimulated() const { return simulated_; }
    bool IsLost() const { return !simulated_ && serial_.IsLost(); }
    void SetReceiveHandler(ReceiveHandler handler);

    SerialLink& Serial() { return serial_; }

  signals:
    void PortLost(const QString& message);
    void PortRestored(const QString& message);

  private:
    SerialLink serial_;
    SimulatedLink simulatedLink_;
    QString device_;
    bool simulated_ = false;
};

}  // namespace vekaton
