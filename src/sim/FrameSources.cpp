#include "sim/FrameSources.h"

#include <algorithm>

#include "log/DataLog.h"
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
    LogReplaySource(std::unique_ptr<DataLogReader> reader, std::size_t headerSize)
        : reader_(std::move(reader)), headerSize_(headerSize) {}

    void Fill(std::int64_t, std::uint32_t, std::span<std::uint8_t> header,
              std::span<std::uint8_t> data) override {
        auto record = reader_->Next();
        if (record.empty() && reader_->Rewind()) {
            record = reader_->Next();
        }
        if (record.empty()) {
            std::fill(data.begin(), data.end(), std::uint8_t{0});
            return;
        }
        const std::size_t headerBytes = std::min({headerSize_, header.size(), record.size()});
        std::copy_n(record.begin(), headerBytes, header.begin());
        const auto rest = record.subspan(std::min(headerSize_, record.size()));
        const std::size_t dataCount = std::min(rest.size(), data.size());
        std::copy_n(rest.begin(), dataCount, data.begin());
        std::fill(data.begin() + static_cast<std::ptrdiff_t>(dataCount), data.end(),
                  std::uint8_t{0});
    }

  private:
    std::unique_ptr<DataLogReader> reader_;
    std::size_t headerSize_;
};

}  // namespace

std::unique_ptr<FrameSource> MakeModelSource(std::uint32_t seed) {
    return std::make_unique<ModelSource>(seed);
}

std::unique_ptr<FrameSource> MakeLogReplaySource(const std::filesystem::path& path,
                                                 std::size_t headerSize, std::size_t recordSize,
                                                 std::string* error) {
    auto reader = std::make_unique<DataLogReader>(path, recordSize);
    if (reader->Error()) {
        *error = *reader->Error();
        return nullptr;
    }
    if (reader->Next().empty()) {
        *error = "Data log " + path.string() + " holds no whole record of " +
                 std::to_string(recordSize) + " bytes";
        return nullptr;
    }
    reader->Rewind();
    return std::make_unique<LogReplaySource>(std::move(reader), headerSize);
}

}  // namespace vekaton
