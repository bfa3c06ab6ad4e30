#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace vekaton {

// A data log ("*.Dat"): two bytes of poll interval in ms (little-endian), then one record per
// frame, back to back. The file carries no geometry: the reader (DataLogFile) is told the
// record size.
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
