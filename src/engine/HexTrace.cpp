#include "engine/HexTrace.h"

namespace vekaton {

void HexTrace::Append(const char* text, std::size_t size) {
    text_.append(text, size);
    pending_.appended.append(text, size);
    charsOnLine_ += static_cast<int>(size);
    lineOpen_ = true;
}

void HexTrace::EndLineIfFull() {
    if (charsOnLine_ >= kLineWidth) {
        text_.push_back('\n');
        pending_.appended.push_back('\n');
        ++finishedLines_;
        charsOnLine_ = 0;
        lineOpen_ = false;
    }
}

void HexTrace::AppendByte(std::uint8_t b) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const char entry[4] = {kDigits[b >> 4], kDigits[b & 0x0F], ',', ' '};
    Append(entry, sizeof entry);
    EndLineIfFull();
    ClearIfFull();
}

void HexTrace::AppendMarker() {
    Append(" * ", 3);
    EndLineIfFull();
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
    charsOnLine_ = 0;
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
