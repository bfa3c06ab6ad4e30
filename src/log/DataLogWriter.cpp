#include <cerrno>
#include <system_error>

#include "common/MessageText.h"
#include "files/RegularFile.h"
#include "log/DataLog.h"
#include "platform/Files.h"

namespace vekaton {

namespace {

std::string Reason(int error) {
    return std::error_code(error, std::generic_category()).message();
}

}  // namespace

DataLogWriter::~DataLogWriter() {
    Close();
}

std::optional<std::string> DataLogWriter::Fail(const char* what, int error) {
    std::string message =
        std::string("Cannot ") + what + " data log " + QuotePath(path_) + ": " + Reason(error);
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
    return message;
}

std::optional<std::string> DataLogWriter::Create(const std::filesystem::path& path,
                                                 int intervalMs) {
    Close();
    path_ = path;
    // Never a FIFO (open would wait for a reader) nor a device; a regular file is emptied only
    // once it is known to be one.
    OpenedFile opened = OpenRegularForWriting(path, WriteStart::Truncate);
    if (!opened.IsOpen()) {
        return "Cannot create data log \"" + QuotePath(path) + "\": it " + opened.reason;
    }
    errno = 0;
    file_ = platform::OpenStream(opened.fd, "wb");  // the stream owns the file from here
    if (file_ == nullptr) {
        return Fail("create", errno != 0 ? errno : EIO);
    }
    const unsigned interval = static_cast<unsigned>(intervalMs) & 0xFFFFu;
    const std::uint8_t header[kDataLogHeaderSize] = {static_cast<std::uint8_t>(interval & 0xFFu),
                                                     static_cast<std::uint8_t>(interval >> 8)};
    errno = 0;
    if (std::fwrite(header, 1, sizeof header, file_) != sizeof header || std::fflush(file_) != 0) {
        return Fail("write", errno != 0 ? errno : EIO);
    }
    wholeBytes_ = sizeof header;
    return std::nullopt;
}

std::optional<std::string> DataLogWriter::AppendRecord(std::span<const std::uint8_t> record) {
    if (file_ == nullptr) {
        return "No data log is open";
    }
    errno = 0;
    if ((!record.empty() && std::fwrite(record.data(), 1, record.size(), file_) != record.size()) ||
        std::fflush(file_) != 0) {
        std::optional<std::string> error = Fail("write", errno != 0 ? errno : EIO);
        // A full disk takes part of a record: the log is cut back to its whole records, so
        // that what the message counts is what the file holds.
        std::error_code ec;
        std::filesystem::resize_file(path_, wholeBytes_, ec);
        if (ec) {
            *error += "; the part of a record written could not be removed (" + ec.message() + ")";
        }
        return error;
    }
    wholeBytes_ += record.size();
    return std::nullopt;
}

std::optional<std::string> DataLogWriter::Close() {
    if (file_ == nullptr) {
        return std::nullopt;
    }
    errno = 0;
    const int result = std::fclose(file_);
    file_ = nullptr;
    if (result != 0) {
        return "Cannot close data log " + QuotePath(path_) + ": " +
               Reason(errno != 0 ? errno : EIO);
    }
    return std::nullopt;
}

}  // namespace vekaton
