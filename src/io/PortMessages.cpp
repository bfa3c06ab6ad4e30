#include "io/PortMessages.h"

#include "common/MessageText.h"
#include "io/DeviceAccessFacts.h"

#include <QStringList>

namespace vekaton {

namespace {

// Qt reports a port held by another program (its lock file, or TIOCEXCL) as a permission
// error too; telling that user to join a group would send them the wrong way.
bool LooksInUse(const QString& reason) {
    return reason.contains(QLatin1String("lock"), Qt::CaseInsensitive) ||
           reason.contains(QLatin1String("busy"), Qt::CaseInsensitive) ||
           reason.contains(QLatin1String("in use"), Qt::CaseInsensitive);
}

QString PermissionHint(const QString& device, const QString& reason, const DeviceAccess& access) {
    if (LooksInUse(reason)) {
        return QStringLiteral(
            "The port is in use by another program. Close that program "
            "and try again.");
    }
#if defined(Q_OS_WIN)
    Q_UNUSED(device);
    Q_UNUSED(access);
    return QStringLiteral(
        "Windows refuses access when another program has the port open. "
        "Close that program and try again.");
#elif defined(Q_OS_MACOS)
    Q_UNUSED(device);
    Q_UNUSED(access);
    return QStringLiteral(
        "Your user may not open this device. Check its permissions with "
        "ls -l, or run the program as a user who may open it.");
#else
    return QString::fromStdString(DeviceAccessAdvice(device.toStdString(), access));
#endif
}

QString Hint(const QString& device, QSerialPort::SerialPortError error, const QString& reason,
             const DeviceAccess& access) {
    switch (error) {
        case QSerialPort::PermissionError:
            return PermissionHint(device, reason, access);
        case QSerialPort::DeviceNotFoundError:
            return QStringLiteral(
                "There is no such device. Check that the adapter is plugged "
                "in and choose its port in the setup.");
        case QSerialPort::OpenError:
            return QStringLiteral("The port is already open.");
        case QSerialPort::UnsupportedOperationError:
            return QStringLiteral("The device does not take these line settings (baud rate).");
        default:
            return LooksInUse(reason) ? PermissionHint(device, reason, access) : QString();
    }
}

QString LostErrorDescription(QSerialPort::SerialPortError error) {
    switch (error) {
        case QSerialPort::ReadError:
            return QStringLiteral("reading from the device failed; was it unplugged?");
        case QSerialPort::WriteError:
            return QStringLiteral("writing to the device failed; was it unplugged?");
        case QSerialPort::ResourceError:
        case QSerialPort::DeviceNotFoundError:
            return QStringLiteral("the device went away; was it unplugged?");
        case QSerialPort::PermissionError:
            return QStringLiteral("access to the device was taken away");
        default:
            return QStringLiteral("the device stopped working");
    }
}

// A device name from the settings file may be anything: shown as any quoted text is.
QString Shown(const QString& device) {
    return QString::fromStdString(QuotePath(device.toStdString()));
}

}  // namespace

QString BuildOpenErrorMessage(const QString& device, QSerialPort::SerialPortError error,
                              const QString& systemReason, const DeviceAccess& access) {
    QStringList lines{QString::fromLatin1(kInvalidComText)};
    const QString name = device.isEmpty() ? QStringLiteral("(no port chosen)") : Shown(device);
    const QString reason =
        systemReason.trimmed().isEmpty() ? QStringLiteral("unknown error") : systemReason;
    lines << QStringLiteral("%1: %2").arg(name, reason);
    const QString hint = Hint(device, error, systemReason, access);
    if (!hint.isEmpty()) {
        lines << hint;
    }
    return lines.join(QLatin1Char('\n'));
}

QString OpenErrorMessage(const QString& device, QSerialPort::SerialPortError error,
                         const QString& systemReason) {
    DeviceAccess access;
    if (error == QSerialPort::PermissionError && !LooksInUse(systemReason)) {
        access = ReadDeviceAccess(device);
    }
    return BuildOpenErrorMessage(device, error, systemReason, access);
}

QString PortLostMessage(const QString& device, QSerialPort::SerialPortError error,
                        const QString& systemReason) {
    QString reason = LostErrorDescription(error);
    const QString system = systemReason.trimmed();
    if (!system.isEmpty() &&
        system.compare(QLatin1String("Unknown error"), Qt::CaseInsensitive) != 0) {
        reason += QStringLiteral(": ") + system;
    }
    return QStringLiteral("Serial port %1: port lost (%2). Trying to open it again every second.")
        .arg(Shown(device), reason);
}

QString PortBackMessage(const QString& device) {
    return QStringLiteral("Serial port %1 is open again.").arg(Shown(device));
}

}  // namespace vekaton
