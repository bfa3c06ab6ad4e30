#pragma once

#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "engine/Port.h"

namespace vekaton {

// The serial link to the interface adapter over QSerialPort, on the GUI thread.
//
// Received bytes are handed, in order, to the receive handler as they arrive. When an open port
// fails under us (pulled USB cable, vanished device) the link closes it at once, reports the
// loss once, and tries to open the same device again every second until it is back. Qt can
// raise errors on a vanished device in a tight loop; the link reacts to the first one only.
class SerialLink : public QObject, public Port {
    Q_OBJECT

  public:
    using ReceiveHandler = std::function<void(std::span<const std::uint8_t> bytes)>;

    static constexpr int kRetryIntervalMs = 1000;

    explicit SerialLink(QObject* parent = nullptr);
    ~SerialLink() override;
    SerialLink(const SerialLink&) = delete;
    SerialLink& operator=(const SerialLink&) = delete;

    // Opens the device (a path such as /dev/ttyUSB0, or COMn) at the given speed, 8 data bits,
    // no parity, 1 stop bit, no flow control. Any speed may be asked for, 8192 included. On
    // failure the port stays closed and the message for the user ("Invalid Com#", the
    // system's reason, what to do) is returned.
    std::optional<QString> Open(const QString& deviceName, int baudRate);
    // Closes the port and stops any retrying of a lost one.
    void Close();
    // Changes the speed of the open port, and of every later opening.
    std::optional<QString> SetBaudRate(int baudRate);

    QString DeviceName() const { return deviceName_; }
    int BaudRate() const { return baudRate_; }
    // True from the first error of an open port until it is open again (or Close is called).
    bool IsLost() const { return state_ == State::Lost; }

    bool IsOpen() const override { return state_ == State::Open; }
    bool Write(std::span<const std::uint8_t> bytes) override;
    // Drops what the system and Qt hold and was not yet handed to the receive handler.
    void FlushInput() override;
    // Reads what the system holds now and hands it to the receive handler at once.
    void DeliverReceived() override;

    void SetReceiveHandler(ReceiveHandler handler) { receiveHandler_ = std::move(handler); }

    // Error signals the current or last port has raised: a lost device yields one or a few.
    int ErrorSignalCount() const { return errorSignals_; }

  signals:
    // The port failed while open; emitted once per loss, after the port was closed.
    void PortLost(const QString& message);
    // A lost port has been opened again, at the same device and speed.
    void PortRestored(const QString& message);

  private:
    enum class State { Closed, Open, Lost };

    struct OpenFailure {
        QSerialPort::SerialPortError error = QSerialPort::NoError;
        QString reason;
    };

    // Opens deviceName_ at baudRate_ on a fresh QSerialPort.
    std::optional<OpenFailure> OpenDevice();
    // Disconnects and closes the current port object; it is deleted later, since this may run
    // while it is emitting.
    void DiscardPort();
    void OnReadyRead();
    void OnError(QSerialPort::SerialPortError error);
    void FinishLoss();
    void RetryOpen();

    QSerialPort* port_ = nullptr;
    State state_ = State::Closed;
    QString deviceName_;
    int baudRate_ = 8192;
    QSerialPort::SerialPortError lostError_ = QSerialPort::NoError;
    QString lostReason_;
    bool lossPending_ = false;
    bool delivering_ = false;
    int errorSignals_ = 0;
    QTimer retryTimer_;
    ReceiveHandler receiveHandler_;
};

}  // namespace vekaton
