#pragma once

#include <cstdint>
#include <string>

namespace vekaton {

// What the trace window must do to catch up: clear itself when `cleared`, then append
// `appended` to its end. Handing over only the new text keeps the per-byte cost flat.
struct TraceUpdate {
    bool cleared = false;
    std::string appended;

    bool Empty() const { return !cleared && appended.empty(); }
};

// The hex trace of the "Debug" page: every byte as two upper-case hex digits and ", ", " * "
// before each packet, and a line break once a line holds as much as 16 bytes take. Markers
// count towards the line like bytes, so a stream of packets ends lines too. Above 50 lines it
// starts again empty: the text never grows past 50 lines of about 64 characters.
class HexTrace {
  public:
    static constexpr int kBytesPerLine = 16;
    static constexpr int kLineWidth = kBytesPerLine * 4;  // characters before the line break
    static constexpr int kMaxLines = 50;

    void AppendByte(std::uint8_t b);
    void AppendMarker();
    void Clear();

    const std::string& Text() const { return text_; }
    // Lines holding text: the finished ones plus the one being written, if it has begun.
    int LineCount() const { return finishedLines_ + (lineOpen_ ? 1 : 0); }

    // The changes since the last call.
    TraceUpdate TakeUpdate();

  private:
    void Append(const char* text, std::size_t size);
    void EndLineIfFull();
    void ClearIfFull();

    std::string text_;
    int finishedLines_ = 0;
    int charsOnLine_ = 0;
    bool lineOpen_ = false;
    TraceUpdate pending_;
};

}  // namespace vekaton
