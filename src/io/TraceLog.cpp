#include "io/TraceLog.h"

#include <QDateTime>
#include <QDir>

#include "files/RegularFile.h"

namespace vekaton {

TraceLog::~TraceLog() {
    Close();
}

bool TraceLog::Open(const QString& filePath) {
    Close();
    path_ = filePath;
    // Only a regular file: a FIFO would hold the window in open(), a device would get the trace.
    OpenedFile opened =
        OpenRegularForWriting(QFile::encodeName(filePath).toStdString(), WriteStart::Append);
    if (!opened.IsOpen()) {
        lastError_ =
            QStringLiteral("Cannot open the trace file %1: it %2")
                .arg(QDir::toNativeSeparators(filePath), QString::fromStdString(opened.reason));
        return false;
    }
    if (!file_.open(opened.fd.Get(), QIODevice::WriteOnly | QIODevice::Append,
                    QFileDevice::AutoCloseHandle)) {
        lastError_ = QStringLiteral("Cannot open the trace file %1: %2")
                         .arg(QDir::toNativeSeparators(filePath), file_.errorString());
        return false;
    }
    opened.fd.Release();  // the QFile closes it now
    lastError_.clear();
    return true;
}

bool TraceLog::OpenInFolder(const QString& folder) {
    return Open(QDir(folder).filePath(QString::fromLatin1(kFileName)));
}

void TraceLog::Close() {
    if (file_.isOpen()) {
        file_.flush();
        file_.close();
    }
}

QString TraceLog::HexBytes(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size() * 3));
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0) {
            text += QLatin1Char(' ');
        }
        text += QLatin1Char(kDigits[bytes[i] >> 4]);
        text += QLatin1Char(kDigits[bytes[i] & 0x0F]);
    }
    return text;
}

void TraceLog::Record(Direction direction, std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return;
    }
    const char* tag = direction == Direction::Sent ? "TX" : "RX";
    WriteLine(QStringLiteral("%1 %2").arg(QLatin1String(tag), HexBytes(bytes)));
}

void TraceLog::Note(const QString& text) {
    // One record per line, whatever the note holds.
    QString flat = text;
    flat.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    WriteLine(QStringLiteral("-- ") + flat);
}

void TraceLog::WriteLine(const QString& body) {
    if (!file_.isOpen()) {
        return;
    }
    const QString stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"));
    const QByteArray line = (stamp + QLatin1Char(' ') + body + QStringLiteral("\r\n")).toUtf8();
    if (file_.write(line) != line.size() || !file_.flush()) {
        lastError_ = QStringLiteral("Writing the trace file %1 failed: %2")
                         .arg(QDir::toNativeSeparators(path_), file_.errorString());
        file_.close();
    }
}

}  // namespace vekaton
