#include "log/DataLogFile.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <system_error>

#include "common/MessageText.h"
#include "files/RegularFile.h"
#include "log/DataLog.h"
#include "platform/Files.h"

namespace vekaton {

namespace {

class FileBytes : public LogBytes {
  public:
    FileBytes(platform::FileHandle file, std::uint64_t size)
        : file_(std::move(file)), size_(size) {}

    std::uint64_t Size() const override { return size_; }

    bool ReadAt(std::uint64_t offset, std::span<std::uint8_t> out, std::string& error) override {
        std::size_t done = 0;
        while (done < out.size()) {
            std::error_code failure;
            const std::size_t n = platform::ReadAt(
                file_, offset + done, std::as_writable_bytes(out.subspan(done)), failure);
            if (failure) {
                error = failure.message();
                return false;
            }
            if (n == 0) {
                error = "the file became shorter while it was open";
                return false;
            }
            done += n;
        }
        return true;
    }

  private:
    platform::FileHandle file_;
    std::uint64_t size_;
};

class MemoryBytes : public LogBytes {
  public:
    explicit MemoryBytes(std::span<const std::uint8_t> bytes)
        : bytes_(bytes.begin(), bytes.end()) {}
    std::uint64_t Size() const override { return bytes_.size(); }
    bool ReadAt(std::uint64_t offset, std::span<std::uint8_t> out, std::string& error) override {
        if (offset > bytes_.size() || out.size() > bytes_.size() - offset) {
            error = "read past the end";
            return false;
        }
        std::memcpy(out.data(), bytes_.data() + offset, out.size());
        return true;
    }

  private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace

std::unique_ptr<LogBytes> OpenLogBytes(const std::filesystem::path& path, std::string& error) {
    // Only a regular file: a FIFO or a device named by mistake would hang the program or read
    // as garbage, a folder as an empty log.
    OpenedFile file = OpenRegularForReading(path);
    if (!file.IsOpen()) {
        error = file.reason;
        return nullptr;
    }
    const std::uint64_t size = file.size;
    return std::make_unique<FileBytes>(std::move(file.fd), size);
}

std::unique_ptr<LogBytes> MemoryLogBytes(std::span<const std::uint8_t> bytes) {
    return std::make_unique<MemoryBytes>(bytes);
}

std::optional<std::string> DataLogFile::Open(const std::filesystem::path& path,
                                             std::size_t recordSize) {
    bytes_.reset();
    path_ = path;
    std::string reason;
    auto bytes = OpenLogBytes(path, reason);
    if (!bytes) {
        return "Data log \"" + QuotePath(path) + "\" " + reason;
    }
    bytes_ = std::move(bytes);
    if (auto error = Init(recordSize)) {
        bytes_.reset();
        return "Data log \"" + QuotePath(path) + "\": " + *error;
    }
    return std::nullopt;
}

std::optional<std::string> DataLogFile::Open(std::unique_ptr<LogBytes> bytes,
                                             std::size_t recordSize) {
    path_.clear();
    bytes_ = std::move(bytes);
    if (!bytes_) {
        return std::string("no data");
    }
    if (auto error = Init(recordSize)) {
        bytes_.reset();
        return error;
    }
    return std::nullopt;
}

void DataLogFile::Close() {
    bytes_.reset();
    path_.clear();
    recordCount_ = 0;
    trailingBytes_ = 0;
    fileSize_ = 0;
    intervalMs_ = 0;
}

std::optional<std::string> DataLogFile::Init(std::size_t recordSize) {
    recordSize_ = recordSize;
    recordCount_ = 0;
    trailingBytes_ = 0;
    intervalMs_ = 0;
    fileSize_ = bytes_->Size();
    if (recordSize_ == 0) {
        return std::string(
            "the record size is 0 (no header, data or checksum bytes are set up): use the "
            "configuration set the log was recorded with");
    }
    if (fileSize_ < kDataLogHeaderSize) {
        return std::string("the file is shorter than the 2-byte interval that starts a data log");
    }
    std::uint8_t header[kDataLogHeaderSize] = {};
    std::string reason;
    if (!bytes_->ReadAt(0, header, reason)) {
        return "cannot read it: " + reason;
    }
    intervalMs_ = header[0] | (header[1] << 8);
    const std::uint64_t body = fileSize_ - kDataLogHeaderSize;
    const std::uint64_t records = body / recordSize_;
    recordCount_ = static_cast<std::int64_t>(
        std::min<std::uint64_t>(records, std::numeric_limits<std::int64_t>::max() / 2));
    trailingBytes_ = body - static_cast<std::uint64_t>(recordCount_) * recordSize_;
    return std::nullopt;
}

std::optional<std::int64_t> DataLogFile::Read(std::int64_t first, std::int64_t count,
                                              std::vector<std::uint8_t>& out, std::string& error) {
    out.clear();
    if (!bytes_) {
        error = "no data log is open";
        return std::nullopt;
    }
    first = std::clamp<std::int64_t>(first, 0, recordCount_);
    count = std::clamp<std::int64_t>(count, 0, recordCount_ - first);
    if (count == 0) {
        return 0;
    }
    out.resize(static_cast<std::size_t>(count) * recordSize_);
    const std::uint64_t offset =
        kDataLogHeaderSize + static_cast<std::uint64_t>(first) * recordSize_;
    if (!bytes_->ReadAt(offset, out, error)) {
        out.clear();
        return std::nullopt;
    }
    return count;
}

bool DataLogFile::ReadRecord(std::int64_t index, std::vector<std::uint8_t>& out,
                             std::string& error) {
    if (index < 0 || index >= recordCount_) {
        error = "record " + std::to_string(index + 1) + " is not in the log";
        out.clear();
        return false;
    }
    const auto read = Read(index, 1, out, error);
    return read && *read == 1;
}

}  // namespace vekaton
