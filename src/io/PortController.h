#pragma once

#include <QObject>
#include <QString>
#include <optional>

#include "common/LinkSettings.h"
#include "engine/Port.h"
#include "io/SerialLink.h"
#include "io/SimulatedLink.h"
#include "io/TraceLog.h"

namespace vekaton {

// The window's one port: a real serial link, or the built-in simulated module when the settings
// name "Simulated ECM". The engine writes through it; received bytes go to the receive handler.
// The trace to "Comm.Log" sits here, so every port is traced the same way.
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
    void DeliverReceived() override;

    QString DeviceName() const { return device_; }
    bool IsSimulated() const { return simulated_; }
    bool IsLost() const { return !simulated_ && serial_.IsLost(); }
    void SetReceiveHandler(ReceiveHandler handler);

    SerialLink& Serial() { return serial_; }

    // Traces every byte sent and received, and the port's losses and returns, to "Comm.Log" in
    // the folder, appending, whichever port is open now or later. Returns the error on failure.
    std::optional<QString> StartTrace(const QString& folder);
    void StopTrace();
    bool IsTracing() const { return trace_.IsOpen(); }
    QString TraceFilePath() const { return trace_.FilePath(); }

  signals:
    void PortLost(const QString& message);
    void PortRestored(const QString& message);
    // The trace file could not be written and tracing was switched off.
    void TraceStopped(const QString& message);

  private:
    void Trace(TraceLog::Direction direction, std::span<const std::uint8_t> bytes);
    void TraceNote(const QString& text);
    void Received(std::span<const std::uint8_t> bytes);

    ReceiveHandler receiveHandler_;
    TraceLog trace_;
    SerialLink serial_;
    SimulatedLink simulatedLink_;
    QString device_;
    bool simulated_ = false;
};

}  // namespace vekaton
