#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <istream>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vekaton {

// A data log ("*.Dat"): two bytes of poll interval in ms (little-endian), then one record per
// frame, back to back. The file carries no geometry: the reader is told the record size.
inline constexpr std::size_t kDataLogHeaderSize = 2;

// Streams records into a data log. Each record is written and flushed as a whole, so a log
// that is cut off (crash, pulled disk) ends on a record boundary as far as the system allows.
class DataLogWriter {
  public:
    DataLogWriter() = default;
    ~DataLogWriter();
    DataLogWriter(const DataLogWriter&) = delete;
    DataLogWriter& operator=(const DataLogWriter&) = delete;

    // Creates or truncates the log and writes the interval's low 16 bits. Returns the reason on
    // failure (the log is then closed).
    std::optional<std::string> Create(const std::filesystem::path& path, int intervalMs);
    // Appends one record and flushes it. On failure the log is closed and the reason returned.
    std::optional<std::string> AppendRecord(std::span<const std::uint8_t> record);
    // Closes the log; a failing close is reported. Safe to call when nothing is open.
    std::optional<std::string> Close();

    bool IsOpen() const { return file_ != nullptr; }
    const std::filesystem::path& Path() const { return path_; }

  private:
    std::optional<std::string> Fail(const char* what, int error);

    std::FILE* file_ = nullptr;
    std::filesystem::path path_;
};

// Reads a data log record by record with constant memory, whatever the file's size.
class DataLogReader {
  public:
    // Reads from a stream the caller keeps alive (tests, fuzzing).
    DataLogReader(std::istream& in, std::size_t recordSize);
    // Opens a file. Check Error() before use.
    DataLogReader(const std::filesystem::path& path, std::size_t recordSize);
    DataLogReader(const DataLogReader&) = delete;
    DataLogReader& operator=(const DataLogReader&) = delete;

    // Why the log cannot be read (missing file, shorter than its header, record size 0).
    const std::optional<std::string>& Error() const { return error_; }
    // The poll interval the log was recorded at, in ms (0 to 65535).
    int IntervalMs() const { return intervalMs_; }
    std::size_t RecordSize() const { return recordSize_; }

    // The next whole record, valid until the next call; empty at the end of the log or on a
    // read error. A trailing partial record is never returned: see TrailingBytes().
    std::span<const std::uint8_t> Next();
    std::size_t RecordsRead() const { return recordsRead_; }
    // Bytes after the last whole record; known once Next() has returned empty.
    std::size_t TrailingBytes() const { return trailingBytes_; }
    // Back to the first record (for looping replay). False when the stream cannot seek.
    bool Rewind();

  private:
    void ReadHeader();
    bool Fill();

    std::unique_ptr<std::istream> owned_;
    std::istream* in_ = nullptr;
    std::size_t recordSize_ = 0;
    std::optional<std::string> error_;
    int intervalMs_ = 0;
    std::vector<std::uint8_t> buffer_;
    std::size_t begin_ = 0;  // first unread byte in buffer_
    std::size_t end_ = 0;    // one past the last valid byte in buffer_
    bool atEof_ = false;
    std::size_t recordsRead_ = 0;
    std::size_t trailingBytes_ = 0;
};

// A calendar date for automatic log names.
struct LogDate {
    int year = 2000;  // four digits; the name uses the last two
    int month = 1;    // 1 to 12
    int day = 1;      // 1 to 31
};

// Today's local date.
LogDate TodayLocalDate();

// The first free automatic log name in `folder`: the date as "mmddyy", a counter of at least two
// digits from 00 up, and ".Dat" ("03142400.Dat", then "03142401.Dat", ...).
std::filesystem::path MakeAutoLogName(const std::filesystem::path& folder, const LogDate& date);

}  // namespace vekaton
