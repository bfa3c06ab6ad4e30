#include "app/car/LoopingPcm.h"

#include <algorithm>
#include <cstring>

namespace vekaton {

LoopingPcm::LoopingPcm(QByteArray period, QObject* parent)
    : QIODevice(parent), period_(std::move(period)) {}

qint64 LoopingPcm::bytesAvailable() const {
    // Always a period's worth ready, however much was read.
    return period_.size() + QIODevice::bytesAvailable();
}

qint64 LoopingPcm::readData(char* data, qint64 maxSize) {
    if (period_.isEmpty() || maxSize <= 0) {
        return 0;
    }
    qint64 done = 0;
    while (done < maxSize) {
        const qint64 chunk = std::min<qint64>(maxSize - done, period_.size() - offset_);
        std::memcpy(data + done, period_.constData() + offset_, static_cast<std::size_t>(chunk));
        done += chunk;
        offset_ = (offset_ + chunk) % period_.size();
    }
    return done;
}

qint64 LoopingPcm::writeData(const char* /*data*/, qint64 /*maxSize*/) {
    return -1;  // read-only
}

}  // namespace vekaton
