#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "common/LinkSettings.h"
#include "engine/Port.h"
#include "sim/EngineSimulator.h"

namespace vekaton {

// The port name that selects the built-in simulated module, in the settings and the port lists.
inline constexpr char kSimulatedPortName[] = "Simulated ECM";

// The "Simulated ECM" port: the simulated engine module inside the program, answering through
// the same receive path as a serial port, with the line's timing at the configured speed.
class SimulatedLink : public QObject, public Port {
    Q_OBJECT

  public:
    using ReceiveHandler = std::function<void(std::span<const std::uint8_t> bytes)>;

    explicit SimulatedLink(QObject* parent = nullptr);
    ~SimulatedLink() override;

    // (Re)starts the module for the link settings: the same request, header size, data bytes,
    // checksum, echo and mode that the engine expects.
    void Open(const LinkSettings& settings);
    void Close();

    bool IsOpen() const override { return simulator_ != nullptr; }
    bool Write(std::span<const std::uint8_t> bytes) override;
    void FlushInput() override;

    void SetReceiveHandler(ReceiveHandler handler) { receiveHandler_ = std::move(handler); }

    static SimulatorConfig ConfigFor(const LinkSettings& settings);

  private:
    void Deliver();
    void Queue(std::vector<std::uint8_t> bytes);
    void PollStream();
    qint64 NowMs() const;

    std::unique_ptr<EngineSimulator> simulator_;
    std::vector<std::uint8_t> pending_;
    QTimer deliverTimer_;
    QTimer streamTimer_;
    qint64 startMs_ = 0;
    double msPerByte_ = 1.0;
    ReceiveHandler receiveHandler_;
};

}  // namespace vekaton
