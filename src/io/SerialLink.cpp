#include "io/SerialLink.h"

#include <QByteArray>

#include "io/PortMessages.h"

namespace vekaton {

namespace {

// Errors that mean the device is gone or unusable. The rest (a timeout of a blocking wait, a
// setting the device refuses) leave the port working.
bool IsFatal(QSerialPort::SerialPortError error) {
    switch (error) {
        case QSerialPort::DeviceNotFoundError:
        case QSerialPort::PermissionError:
        case QSerialPort::WriteError:
        case QSerialPort::ReadError:
        case QSerialPort::ResourceError:
        case QSerialPort::UnknownError:
            return true;
        default:
            return false;
    }
}

std::span<const std::uint8_t> AsBytes(const QByteArray& data) {
    return {reinterpret_cast<const std::uint8_t*>(data.constData()),
            static_cast<std::size_t>(data.size())};
}

}  // namespace

SerialLink::SerialLink(QObject* parent) : QObject(parent) {
    retryTimer_.setInterval(kRetryIntervalMs);
    connect(&retryTimer_, &QTimer::timeout, this, &SerialLink::RetryOpen);
}

SerialLink::~SerialLink() {
    retryTimer_.stop();
    if (port_ != nullptr) {
        disconnect(port_, nullptr, this, nullptr);
        port_->close();
    }
    // Port objects are children: QObject deletes them, also those waiting for deleteLater.
}

std::optional<QString> SerialLink::Open(const QString& deviceName, int baudRate) {
    Close();
    deviceName_ = deviceName;
    if (deviceName.isEmpty()) {
        return BuildOpenErrorMessage(deviceName, QSerialPort::DeviceNotFoundError,
                                     QStringLiteral("no port chosen"));
    }
    if (baudRate <= 0) {
        return BuildOpenErrorMessage(deviceName, QSerialPort::UnsupportedOperationError,
                                     QStringLiteral("invalid baud rate %1").arg(baudRate));
    }
    baudRate_ = baudRate;
    if (const auto failure = OpenDevice()) {
        return OpenErrorMessage(deviceName, failure->error, failure->reason);
    }
    state_ = State::Open;
    return std::nullopt;
}

void SerialLink::Close() {
    retryTimer_.stop();
    lossPending_ = false;
    DiscardPort();
    state_ = State::Closed;
}

std::optional<QString> SerialLink::SetBaudRate(int baudRate) {
    if (baudRate <= 0) {
        return QStringLiteral("Invalid baud rate %1").arg(baudRate);
    }
    if (state_ == State::Open && port_ != nullptr && !port_->setBaudRate(baudRate)) {
        const QString reason = port_->errorString();
        port_->clearError();
        return QStringLiteral("%1: cannot set %2 bit/s: %3")
            .arg(deviceName_, QString::number(baudRate), reason);
    }
    baudRate_ = baudRate;
    return std::nullopt;
}

std::optional<SerialLink::OpenFailure> SerialLink::OpenDevice() {
    auto* port = new QSerialPort(this);
    port->setPortName(deviceName_);
    port->setBaudRate(baudRate_);
    port->setDataBits(QSerialPort::Data8);
    port->setParity(QSerialPort::NoParity);
    port->setStopBits(QSerialPort::OneStop);
    port->setFlowControl(QSerialPort::NoFlowControl);
    if (!port->open(QIODevice::ReadWrite)) {
        OpenFailure failure{port->error(), port->errorString()};
        delete port;  // never opened and not connected: nothing can be emitting from it
        return failure;
    }
    port_ = port;
    errorSignals_ = 0;
    connect(port_, &QSerialPort::readyRead, this, &SerialLink::OnReadyRead);
    connect(port_, &QSerialPort::errorOccurred, this, &SerialLink::OnError);
    return std::nullopt;
}

void SerialLink::DiscardPort() {
    if (port_ == nullptr) {
        return;
    }
    disconnect(port_, nullptr, this, nullptr);
    port_->close();
    port_->deleteLater();
    port_ = nullptr;
}

bool SerialLink::Write(std::span<const std::uint8_t> bytes) {
    if (state_ != State::Open || port_ == nullptr) {
        return false;
    }
    if (bytes.empty()) {
        return true;
    }
    const auto size = static_cast<qint64>(bytes.size());
    if (port_->write(reinterpret_cast<const char*>(bytes.data()), size) != size) {
        return false;
    }
    return true;
}

void SerialLink::FlushInput() {
    if (state_ == State::Open && port_ != nullptr) {
        // Clears Qt's read buffer and the system's input queue.
        port_->clear(QSerialPort::Input);
    }
}

void SerialLink::DeliverReceived() {
    if (state_ != State::Open || port_ == nullptr || delivering_) {
        return;
    }
    // Takes the system's waiting bytes into the port's buffer without waiting; readyRead may
    // fire from here, and the loop below hands over whatever it left.
    port_->waitForReadyRead(0);
    OnReadyRead();
}

void SerialLink::OnReadyRead() {
    // Bytes that arrive while the handler runs a nested event loop (a message box) wait in the
    // port and are handed on by the loop below once it returns, never nested and out of order.
    if (delivering_) {
        return;
    }
    delivering_ = true;
    while (state_ == State::Open && port_ != nullptr && port_->bytesAvailable() > 0) {
        const QByteArray chunk = port_->readAll();
        if (chunk.isEmpty()) {
            break;
        }
        if (receiveHandler_) {
            receiveHandler_(AsBytes(chunk));
        }
    }
    delivering_ = false;
}

void SerialLink::OnError(QSerialPort::SerialPortError error) {
    if (error == QSerialPort::NoError) {
        return;
    }
    ++errorSignals_;
    if (state_ != State::Open || !IsFatal(error)) {
        return;
    }
    // Closing right here would delete Qt's notifiers from inside their own callbacks; the close
    // is queued instead, and from now on the port counts as gone.
    state_ = State::Lost;
    lostError_ = error;
    lostReason_ = port_ != nullptr ? port_->errorString() : QString();
    lossPending_ = true;
    QMetaObject::invokeMethod(this, &SerialLink::FinishLoss, Qt::QueuedConnection);
}

void SerialLink::FinishLoss() {
    if (!lossPending_ || state_ != State::Lost) {
        return;  // closed or reopened by the user in the meantime
    }
    lossPending_ = false;
    DiscardPort();
    retryTimer_.start();
    emit PortLost(PortLostMessage(deviceName_, lostError_, lostReason_));
}

void SerialLink::RetryOpen() {
    if (state_ != State::Lost || lossPending_) {
        retryTimer_.stop();
        return;
    }
    if (OpenDevice()) {
        return;  // still gone; the loss was reported already
    }
    retryTimer_.stop();
    state_ = State::Open;
    emit PortRestored(PortBackMessage(deviceName_));
}

}  // namespace vekaton
