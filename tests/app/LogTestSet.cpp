#include "LogTestSet.h"

#include <QFile>

#include "support/SetFilesForTest.h"

namespace vekaton::testing {

void WriteLogTestSet(const CurrentFolder& folder) {
    SetFiles set;
    set.settings.emplace();
    set.settings->request = "$f4 $57 $01 $00 $b4";
    set.settings->portName = "Simulated ECM";
    // Position 23 spans two bytes: it completes with the next frame's first byte, at position 1.
    set.parameters = ParameterSetUp{
        {},
        {Analog(1, 1, "Coolant", "A*0.75-40"), Analog(4, 2, "Engine speed", "A*256+B"),
         Analog(8, 1, "Battery", "A/10"), Bit(18, 0, "Closed loop"), Bit(18, 3, "Engine running"),
         Analog(22, 1, "Fuel", "A"), Analog(23, 2, "Counter", "A+B*1000")}};
    set.WriteTo(QFile::encodeName(folder.Path()).toStdString());
}

std::vector<std::uint8_t> LogTestData(int frame) {
    std::vector<std::uint8_t> data(23);
    for (int i = 0; i < 23; ++i) {
        data[static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>((frame * (i + 1) + i * 7) & 0xFF);
    }
    return data;
}

QString WriteLogTestLog(const CurrentFolder& folder, const QString& name, int frames, int badEvery,
                        int extra) {
    QByteArray bytes;
    bytes.append(char(100)).append(char(0));
    for (int f = 0; f < frames; ++f) {
        QByteArray record("\xF4\x95\x01", 3);
        for (const std::uint8_t b : LogTestData(f)) {
            record.append(static_cast<char>(b));
        }
        unsigned sum = 0;
        for (const char c : record) {
            sum += static_cast<unsigned char>(c);
        }
        unsigned checksum = (256 - (sum & 0xFF)) & 0xFF;
        if (badEvery > 0 && (f + 1) % badEvery == 0) {
            checksum = (checksum + 1) & 0xFF;
        }
        record.append(static_cast<char>(checksum));
        bytes.append(record);
    }
    bytes.append(QByteArray(extra, '\x55'));
    const QString path = folder.File(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(bytes);
    }
    return path;
}

}  // namespace vekaton::testing
