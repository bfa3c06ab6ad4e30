#include "engine/EngineTexts.h"

namespace vekaton {

namespace {

std::string Frames(int frames) {
    return frames == 1 ? "its 1 whole frame" : "its " + std::to_string(frames) + " whole frames";
}

}  // namespace

std::string RecordingStoppedText(int frames) {
    return " Recording stopped; the log keeps " + Frames(frames) + ".";
}

std::string RecordingClosedText(std::string_view why, const std::string& path, int frames,
                                std::size_t leftOverBytes) {
    std::string text =
        "Recording stopped: " + std::string(why) + ". \"" + path + "\" keeps " + Frames(frames);
    if (leftOverBytes > 0) {
        text += leftOverBytes == 1 ? "; the 1 byte"
                                   : "; the " + std::to_string(leftOverBytes) + " bytes";
        text += " of the frame in progress " + std::string(leftOverBytes == 1 ? "was" : "were") +
                " left out";
    }
    return text + ".";
}

std::string PartialRecordText(std::uint64_t trailingBytes, std::size_t recordSize) {
    return "The data log ends with " + std::to_string(trailingBytes) +
           (trailingBytes == 1 ? " byte" : " bytes") +
           " after its last whole record (a record is " + std::to_string(recordSize) +
           " bytes with this set's settings); " + (trailingBytes == 1 ? "it was" : "they were") +
           " not played.";
}

}  // namespace vekaton
