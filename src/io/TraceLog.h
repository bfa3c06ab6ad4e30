#pragma once

#include <QFile>
#include <QString>
#include <cstdint>
#include <span>

namespace vekaton {

// The traffic trace: every byte sent and received, in hex, one line per chunk with a time
// stamp and a direction. Appended and flushed at every record so a crash loses nothing.
class TraceLog {
  public:
    static constexpr char kFileName[] = "Comm.Log";

    enum class Direction { Sent, Received };

    TraceLog() = default;
    ~TraceLog();
    TraceLog(const TraceLog&) = delete;
    TraceLog& operator=(const TraceLog&) = delete;

    // Opens (creating or appending to) the trace file; on failure returns false and sets
    // LastError().
    bool Open(const QString& filePath);
    // Opens "Comm.Log" in the given folder.
    bool OpenInFolder(const QString& folder);
    void Close();
    bool IsOpen() const { return file_.isOpen(); }
    QString FilePath() const { return path_; }
    QString LastError() const { return lastError_; }

    // Writes one record; a failed write closes the trace (and sets LastError) rather than
    // failing again at every byte.
    void Record(Direction direction, std::span<const std::uint8_t> bytes);
    // A line of text for events that are not traffic (port lost, port back).
    void Note(const QString& text);

    // "0A 1B FF": the hex form used in the trace.
    static QString HexBytes(std::span<const std::uint8_t> bytes);

  private:
    void WriteLine(const QString& body);

    QFile file_;
    QString path_;  // the file is opened by descriptor, so it keeps no name of its own
    QString lastError_;
};

}  // namespace vekaton
