#include "sim/FrameSources.h"

#include <algorithm>
#include <string>
#include <vector>

#include "log/DataLogFile.h"
#include "sim/EngineModel.h"

namespace vekaton {

namespace {

class ModelSource : public FrameSource {
  public:
    explicit ModelSource(std::uint32_t seed) : model_(seed) {}
    void Fill(std::int64_t elapsedMs, std::uint32_t frameNumber, std::span<std::uint8_t>,
              std::span<std::uint8_t> data) override {
        EngineModel::Encode(model_.At(elapsedMs), frameNumber, data);
    }

  private:
    EngineModel model_;
};

class LogReplaySource : public FrameSource {
  public:
    LogReplaySource(std::unique_ptr<DataLogFile> log, std::size_t headerSize)
        : log_(std::move(log)), headerSize_(headerSize) {}

    void Fill(std::int64_t, std::uint32_t, std::span<std::uint8_t> header,
              std::span<std::uint8_t> data) override {
        if (next_ >= log_->RecordCount()) {
            next_ = 0;
        }
        std::string error;
        // A record that cannot be read (the file cut short since) sends the replay back to
        // the log's start.
        if (!log_->ReadRecord(next_++, record_, error)) {
            next_ = 0;
            if (!log_->ReadRecord(next_++, record_, error)) {
                record_.clear();
            }
        }
        if (record_.empty()) {
            std::fill(data.begin(), data.end(), std::uint8_t{0});
            return;
        }
        const std::span<const std::uint8_t> record(record_);
        const std::size_t headerBytes = std::min({headerSize_, header.size(), record.size()});
        std::copy_n(record.begin(), headerBytes, header.begin());
        const auto rest = record.subspan(std::min(headerSize_, record.size()));
        const std::size_t dataCount = std::min(rest.size(), data.size());
        std::copy_n(rest.begin(), dataCount, data.begin());
        std::fill(data.begin() + static_cast<std::ptrdiff_t>(dataCount), data.end(),
                  std::uint8_t{0});
    }

  private:
    std::unique_ptr<DataLogFile> log_;
    std::size_t headerSize_;
    std::int64_t next_ = 0;
    std::vector<std::uint8_t> record_;
};

}  // namespace

std::unique_ptr<FrameSource> MakeModelSource(std::uint32_t seed) {
    return std::make_unique<ModelSource>(seed);
}

std::unique_ptr<FrameSource> MakeLogReplaySource(const std::filesystem::path& path,
                                                 std::size_t headerSize, std::size_t recordSize,
                                                 std::string* error) {
    auto log = std::make_unique<DataLogFile>();
    if (auto openError = log->Open(path, recordSize)) {
        *error = *openError;
        return nullptr;
    }
    if (log->RecordCount() == 0) {
        *error = "Data log " + path.string() + " holds no whole record of " +
                 std::to_string(recordSize) + " bytes";
        return nullptr;
    }
    return std::make_unique<LogReplaySource>(std::move(log), headerSize);
}

}  // namespace vekaton
