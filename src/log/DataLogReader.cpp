#include <algorithm>
#include <cstdint>
#include <cstring>
#include <ios>
#include <streambuf>

#include "common/MessageText.h"
#include "files/RegularFile.h"
#include "log/DataLog.h"
#include "platform/Files.h"

namespace vekaton {

namespace {

// Large reads keep a 100 MB log fast; the buffer never grows with the file.
constexpr std::size_t kChunkSize = 64 * 1024;

// A stream over a handle that was checked to be a regular file when it was opened, so that
// nothing is opened a second time by name.
class DescriptorBuffer : public std::streambuf {
  public:
    explicit DescriptorBuffer(FileDescriptor fd) : fd_(std::move(fd)) {}

  protected:
    int_type underflow() override {
        if (gptr() < egptr()) {
            return traits_type::to_int_type(*gptr());
        }
        std::error_code error;
        const std::size_t n =
            platform::ReadAt(fd_, next_, std::as_writable_bytes(std::span(buffer_)), error);
        if (error) {
            // The stream turns this into its bad state, which the reader reports.
            throw std::ios_base::failure("read error");
        }
        if (n == 0) {
            return traits_type::eof();
        }
        next_ += n;
        setg(buffer_, buffer_, buffer_ + n);
        return traits_type::to_int_type(*gptr());
    }

    pos_type seekoff(off_type offset, std::ios_base::seekdir direction,
                     std::ios_base::openmode) override {
        off_type from = 0;
        if (direction == std::ios_base::cur) {
            from = static_cast<off_type>(next_) - (egptr() - gptr());  // less what is buffered
        } else if (direction == std::ios_base::end) {
            platform::HandleFacts facts;
            if (platform::Examine(fd_, facts)) {
                return pos_type(off_type(-1));
            }
            from = static_cast<off_type>(facts.size);
        }
        if (from + offset < 0) {
            return pos_type(off_type(-1));
        }
        next_ = static_cast<std::uint64_t>(from + offset);
        setg(buffer_, buffer_, buffer_);
        return pos_type(from + offset);
    }

    pos_type seekpos(pos_type position, std::ios_base::openmode which) override {
        return seekoff(off_type(position), std::ios_base::beg, which);
    }

  private:
    FileDescriptor fd_;
    std::uint64_t next_ = 0;  // where the file's next unbuffered byte is
    char buffer_[kChunkSize];
};

class DescriptorStream : public std::istream {
  public:
    explicit DescriptorStream(FileDescriptor fd) : std::istream(nullptr), buffer_(std::move(fd)) {
        rdbuf(&buffer_);
    }

  private:
    DescriptorBuffer buffer_;
};

}  // namespace

DataLogReader::DataLogReader(std::istream& in, std::size_t recordSize)
    : in_(&in), recordSize_(recordSize) {
    ReadHeader();
}

DataLogReader::DataLogReader(const std::filesystem::path& path, std::size_t recordSize)
    : recordSize_(recordSize) {
    // Only a regular file: a FIFO would be waited on, a folder would read as an empty log.
    OpenedFile file = OpenRegularForReading(path);
    if (!file.IsOpen()) {
        error_ = "Data log \"" + QuotePath(path) + "\" " + file.reason;
        return;
    }
    owned_ = std::make_unique<DescriptorStream>(std::move(file.fd));
    in_ = owned_.get();
    ReadHeader();
    if (error_) {
        error_ = "Data log \"" + QuotePath(path) + "\": " + *error_;
    }
}

void DataLogReader::ReadHeader() {
    if (recordSize_ == 0) {
        error_ = "the record size is 0 (no header, data or checksum bytes are set up)";
        return;
    }
    char header[kDataLogHeaderSize] = {};
    in_->read(header, kDataLogHeaderSize);
    if (static_cast<std::size_t>(in_->gcount()) != kDataLogHeaderSize) {
        error_ = "the file is shorter than the 2-byte interval that starts a data log";
        return;
    }
    intervalMs_ =
        static_cast<unsigned char>(header[0]) | (static_cast<unsigned char>(header[1]) << 8);
    buffer_.resize(std::max(kChunkSize, 2 * recordSize_));
}

bool DataLogReader::Fill() {
    if (atEof_ || error_) {
        return false;
    }
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    const std::size_t room = buffer_.size() - end_;
    in_->read(reinterpret_cast<char*>(buffer_.data() + end_), static_cast<std::streamsize>(room));
    const auto got = static_cast<std::size_t>(std::max<std::streamsize>(in_->gcount(), 0));
    end_ += std::min(got, room);
    if (in_->bad()) {
        error_ = "read error";
        return false;
    }
    if (got < room) {
        atEof_ = true;
    }
    return got > 0;
}

std::span<const std::uint8_t> DataLogReader::Next() {
    if (error_) {
        return {};
    }
    while (end_ - begin_ < recordSize_ && !atEof_ && !error_) {
        Fill();
    }
    if (error_) {
        return {};
    }
    if (end_ - begin_ < recordSize_) {
        trailingBytes_ = end_ - begin_;
        return {};
    }
    std::span<const std::uint8_t> record(buffer_.data() + begin_, recordSize_);
    begin_ += recordSize_;
    ++recordsRead_;
    return record;
}

bool DataLogReader::Rewind() {
    if (in_ == nullptr || recordSize_ == 0 || buffer_.empty()) {
        return false;
    }
    in_->clear();
    in_->seekg(static_cast<std::streamoff>(kDataLogHeaderSize), std::ios::beg);
    if (in_->fail()) {
        return false;
    }
    error_.reset();
    begin_ = end_ = 0;
    atEof_ = false;
    recordsRead_ = 0;
    trailingBytes_ = 0;
    return true;
}

}  // namespace vekaton
