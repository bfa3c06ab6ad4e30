#include "engine/HexTrace.h"

namespace vekaton {

void HexTrace::Append(const char* text, std::size_t size) {
    text_.append(text, size);
    pending_.appended.append(text, size);
    lineOpen_ = true;
}

void HexTrace::AppendByte(std::uint8_t b) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const char entry[4] = {kDigits[b >> 4], kDigits[b & 0x0F], ',', ' '};
    Append(entry, sizeof entry);
    if (++bytesOnLine_ == kBytesPerLine) {
        Append("\n", 1);
        ++finishedLines_;
        bytesOnLine_ = 0;
        lineOpen_ = false;
    }
    ClearIfFull();
}

void HexTrace::AppendMarker() {
    Append(" * ", 3);
    ClearIfFull();
}

void HexTrace::ClearIfFull() {
    if (LineCount() > kMaxLines) {
        Clear();
    }
}

void HexTrace::Clear() {
    text_.clear();
    finishedLines_ = 0;
    bytesOnLine_ = 0;
    lineOpen_ = false;
    pending_.cleared = true;
    pending_.appended.clear();
}

TraceUpdate HexTrace::TakeUpdate() {
    TraceUpdate update = std::move(pending_);
    pending_ = TraceUpdate{};
    return update;
}

}  // namespace vekaton
