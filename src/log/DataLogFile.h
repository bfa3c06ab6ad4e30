#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vekaton {

// Where a data log's bytes come from: a file, or memory (tests, fuzzing).
class LogBytes {
  public:
    virtual ~LogBytes() = default;
    virtual std::uint64_t Size() const = 0;
    // Fills `out` from `offset`; false with `error` set when the bytes cannot be read (a file
    // cut short since it was opened, a failing disk).
    virtual bool ReadAt(std::uint64_t offset, std::span<std::uint8_t> out, std::string& error) = 0;
};

// The bytes of a file, read on demand: a 100 MB log costs no memory until it is read.
std::unique_ptr<LogBytes> OpenLogBytes(const std::filesystem::path& path, std::string& error);
// A copy of bytes held in memory.
std::unique_ptr<LogBytes> MemoryLogBytes(std::span<const std::uint8_t> bytes);

// The one reader of data logs, by record number: the log viewer, real-time playback with
// seeking, the CSV export and the simulator's replay read it. Its size is taken once, when it is
// opened; a partial record at the end is never returned, only counted.
class DataLogFile {
  public:
    DataLogFile() = default;
    DataLogFile(const DataLogFile&) = delete;
    DataLogFile& operator=(const DataLogFile&) = delete;

    // Why the log cannot be used (missing, not a regular file, shorter than its 2-byte header,
    // record size 0), or nullopt. The path is named in the message.
    std::optional<std::string> Open(const std::filesystem::path& path, std::size_t recordSize);
    std::optional<std::string> Open(std::unique_ptr<LogBytes> bytes, std::size_t recordSize);
    void Close();
    bool IsOpen() const { return bytes_ != nullptr; }
    const std::filesystem::path& Path() const { return path_; }

    // The poll interval the log was recorded at, in ms (0 to 65535).
    int IntervalMs() const { return intervalMs_; }
    std::size_t RecordSize() const { return recordSize_; }
    std::int64_t RecordCount() const { return recordCount_; }
    // Bytes after the last whole record (a log cut off mid-frame, or from another layout).
    std::uint64_t TrailingBytes() const { return trailingBytes_; }
    std::uint64_t FileSize() const { return fileSize_; }

    // Records [first, first + count), clipped to the log, into `out` (resized to the bytes read,
    // a whole number of records). Returns the records read, or nullopt with `error` set.
    std::optional<std::int64_t> Read(std::int64_t first, std::int64_t count,
                                     std::vector<std::uint8_t>& out, std::string& error);
    // One record into `out`; false (with `error`) when it is out of range or cannot be read.
    bool ReadRecord(std::int64_t index, std::vector<std::uint8_t>& out, std::string& error);

  private:
    std::optional<std::string> Init(std::size_t recordSize);

    std::unique_ptr<LogBytes> bytes_;
    std::filesystem::path path_;
    std::size_t recordSize_ = 0;
    int intervalMs_ = 0;
    std::int64_t recordCount_ = 0;
    std::uint64_t trailingBytes_ = 0;
    std::uint64_t fileSize_ = 0;
};

}  // namespace vekaton
