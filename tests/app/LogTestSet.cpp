#include "LogTestSet.h"

#include <QFile>

namespace vekaton::testing {

void WriteLogTestSet(const CurrentFolder& folder) {
    WriteTextFile(folder.File("Default.Ini"),
                  "ComPort=0\r\nBaudRate=8192\r\nSampleRate=100\r\nRequestString=$f4 $57 $01 $00 "
                  "$b4\r\nResponseBytes=3\r\n# Bytes of Data=23\r\nUse CheckSum=TRUE\r\n"
                  "RequestEchoed=FALSE\r\nAutoRun=FALSE\r\nSyncMode=2\r\nSyncTime=500\r\n"
                  "StartCommand=\r\nStopCommand=\r\nPortName=Simulated ECM\r\n");
    // Position 23 spans two bytes: it completes with the next frame's first byte, at position 1.
    WriteTextFile(folder.File("Default.cfg"),
                  "\r\n1,1,0,Coolant,A*0.75-40\r\n4,2,0,Engine speed,A*256+B\r\n"
                  "8,1,0,Battery,A/10\r\n18,1,1,0,Closed loop\r\n18,1,1,3,Engine running\r\n"
                  "22,1,0,Fuel,A\r\n23,2,0,Counter,A+B*1000\r\nEND\r\n");
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
