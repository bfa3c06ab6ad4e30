#include <algorithm>
#include <cstring>
#include <fstream>

#include "files/DataLog.h"

namespace vekaton {

namespace {

// Large reads keep a 100 MB log fast; the buffer never grows with the file.
constexpr std::size_t kChunkSize = 64 * 1024;

}  // namespace

DataLogReader::DataLogReader(std::istream& in, std::size_t recordSize)
    : in_(&in), recordSize_(recordSize) {
    ReadHeader();
}

DataLogReader::DataLogReader(const std::filesystem::path& path, std::size_t recordSize)
    : recordSize_(recordSize) {
    auto file = std::make_unique<std::ifstream>(path, std::ios::binary);
    if (!file->is_open()) {
        error_ = "Cannot open data log " + path.string();
        return;
    }
    owned_ = std::move(file);
    in_ = owned_.get();
    ReadHeader();
    if (error_) {
        error_ = "Data log " + path.string() + ": " + *error_;
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
