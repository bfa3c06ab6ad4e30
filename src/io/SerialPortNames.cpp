#include "io/SerialPortNames.h"

#include <QCollator>
#include <QSerialPortInfo>
#include <algorithm>

namespace vekaton {

namespace {

#ifdef Q_OS_WIN
const QString kNumberedPrefix = QStringLiteral("COM");
constexpr int kFirstNumberOffset = 0;
#else
const QString kNumberedPrefix = QStringLiteral("/dev/ttyS");
constexpr int kFirstNumberOffset = 1;  // COM1 is the first on-board port, /dev/ttyS0
#endif

}  // namespace

QString ComPortDeviceName(int comPort) {
    if (comPort < 1) {
        return {};
    }
    return kNumberedPrefix + QString::number(comPort - kFirstNumberOffset);
}

int ComPortNumber(const QString& deviceName) {
    if (!deviceName.startsWith(kNumberedPrefix, Qt::CaseInsensitive)) {
        return 0;
    }
    const QString digits = deviceName.mid(kNumberedPrefix.size());
    bool ok = false;
    const int number = digits.toInt(&ok);
    // "COM03" or "+1" would not give the same name back, so they are not numbered ports.
    if (!ok || number < 0 || QString::number(number) != digits) {
        return 0;
    }
    const int comPort = number + kFirstNumberOffset;
    return comPort >= 1 ? comPort : 0;
}

std::vector<SerialPortEntry> ListSerialPorts() {
    std::vector<SerialPortEntry> ports;
    const auto available = QSerialPortInfo::availablePorts();
    ports.reserve(available.size());
    for (const QSerialPortInfo& info : available) {
        ports.push_back(
            {info.systemLocation(), info.description(), info.manufacturer(), info.serialNumber()});
    }
    // Numeric order, so that /dev/ttyS2 comes before /dev/ttyS10.
    QCollator collator;
    collator.setNumericMode(true);
    std::sort(ports.begin(), ports.end(),
              [&collator](const SerialPortEntry& a, const SerialPortEntry& b) {
                  return collator.compare(a.deviceName, b.deviceName) < 0;
              });
    return ports;
}

}  // namespace vekaton
