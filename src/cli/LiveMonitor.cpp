#include "cli/LiveMonitor.h"

#include <algorithm>

#include <utility>

namespace vekaton::cli {

namespace {

std::string ModeName(SyncMode mode) {
    switch (mode) {
        case SyncMode::ListenOnly:
            return "listen-only mode";
        case SyncMode::TalkListen:
            return "talk/listen mode";
        case SyncMode::Aldl160:
            return "ALDL 160 interface mode";
    }
    return "mode " + std::to_string(static_cast<int>(mode));
}

std::string Count(std::uint64_t n, const std::string& one, const std::string& many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

const char* BoolText(bool value) {
    return value ? "TRUE" : "FALSE";
}

}  // namespace

LiveMonitor::LiveMonitor(std::string port, const LinkSettings& settings, int requestLength,
                         std::int64_t startMs)
    : port_(std::move(port)),
      settings_(settings),
      requestLength_(requestLength),
      quietSinceMs_(startMs) {}

void LiveMonitor::SetPortLost(bool lost, std::int64_t nowMs) {
    if (portLost_ && !lost) {
        quietSinceMs_ = nowMs;
        silenceReported_ = false;
        newBaseline_ = true;
    }
    portLost_ = lost;
}

std::vector<std::string> LiveMonitor::Check(const LinkCounters& counters, std::int64_t nowMs) {
    std::vector<std::string> warnings;
    const std::uint64_t lost = counters.pollsUnanswered + counters.syncErrors;
    if (newBaseline_) {
        newBaseline_ = false;
        bytesAtFrame_ = bytes_;
        pollsAtFrame_ = counters.polls;
        lostAtWarning_ = lost;
    }
    const bool newFrames = counters.frames != framesSeen_;
    if (newFrames) {
        framesSeen_ = counters.frames;
        quietSinceMs_ = counters.lastFrameMs >= 0 ? counters.lastFrameMs : nowMs;
        bytesAtFrame_ = bytes_;
        pollsAtFrame_ = counters.polls;
        if (silenceReported_) {
            // The silence was reported as such; its unanswered polls are no news now.
            lostAtWarning_ = lost;
        }
        silenceReported_ = false;
    }

    if (!portLost_ && !silenceReported_ && nowMs - quietSinceMs_ >= kSilenceMs) {
        warnings.push_back(SilenceWarning(counters));
        silenceReported_ = true;
        explained_ = true;
    }

    if (counters.badChecksumRun == 0) {
        checksumRunReported_ = false;
    } else if (counters.badChecksumRun >= kBadChecksumRun && !checksumRunReported_ &&
               (lastChecksumWarningMs_ < 0 ||
                nowMs - lastChecksumWarningMs_ >= kLossWarningGapMs)) {
        warnings.push_back(ChecksumWarning());
        checksumRunReported_ = true;
        lastChecksumWarningMs_ = nowMs;
    }

    // Losses count while frames still come; a link that went quiet has had its own warning.
    if (newFrames && lost >= lostAtWarning_ + kLossesToWarn &&
        (lastLossWarningMs_ < 0 || nowMs - lastLossWarningMs_ >= kLossWarningGapMs)) {
        warnings.push_back(LossWarning(counters, lost));
        lostAtWarning_ = lost;
        lastLossWarningMs_ = nowMs;
    }
    return warnings;
}

std::uint64_t LiveMonitor::FrameBytes() const {
    const int echo = settings_.requestEchoed ? requestLength_ : 0;
    const int checksum = settings_.useCheckSum ? 1 : 0;
    return static_cast<std::uint64_t>(echo + settings_.responseBytes + settings_.dataBytes +
                                      checksum);
}

std::string LiveMonitor::FrameShape() const {
    if (settings_.syncMode == SyncMode::Aldl160) {
        return "a packet is the start string of " + Count(requestLength_, "byte", "bytes") +
               " and " + Count(settings_.dataBytes, "data byte", "data bytes");
    }
    const int echo = settings_.requestEchoed ? requestLength_ : 0;
    const int checksum = settings_.useCheckSum ? 1 : 0;
    std::string shape = "a frame is " + Count(FrameBytes(), "byte", "bytes") + ":";
    if (echo > 0) {
        shape += " " + std::to_string(echo) + " echoed request,";
    }
    shape += " " + std::to_string(settings_.responseBytes) + " header, " +
             std::to_string(settings_.dataBytes) + " data";
    if (checksum > 0) {
        shape += ", 1 checksum";
    }
    return shape;
}

std::string LiveMonitor::SilenceWarning(const LinkCounters& counters) const {
    std::string text = "warning: no frame from " + port_ + " in " +
                       std::to_string(kSilenceMs / 1000) + " seconds (" +
                       ModeName(settings_.syncMode) + "; " + FrameShape() + ").";
    const std::uint64_t bytes = bytes_ - bytesAtFrame_;
    const std::uint64_t polls = counters.polls - pollsAtFrame_;
    if (bytes == 0) {
        text += "\n  Nothing arrived on the port.";
    } else if (settings_.syncMode == SyncMode::TalkListen && polls > 0) {
        const std::uint64_t perRequest = (bytes + polls / 2) / polls;
        text += "\n  " + Count(bytes, "byte", "bytes") + " arrived, about " +
                std::to_string(perRequest) + " per request, but none completed a frame.";
        const auto request = static_cast<std::uint64_t>(requestLength_);
        // The last request's answer may still be on its way, and a loaded machine cuts some
        // answers short, so the average is compared with a little room.
        const auto near = [perRequest](std::uint64_t target) {
            const std::uint64_t room = std::max<std::uint64_t>(1, target / 10);
            return perRequest + room >= target && perRequest <= target + room;
        };
        if (settings_.requestEchoed && near(request)) {
            text +=
                " Only the echo of each request comes back: the adapter is there, the "
                "module does not answer.";
        } else if (settings_.requestEchoed && FrameBytes() > request &&
                   near(FrameBytes() - request)) {
            text +=
                " That is a frame without the echo: does the adapter really echo the "
                "request (RequestEchoed)?";
        }
    } else {
        text += "\n  " + Count(bytes, "byte", "bytes") + " arrived, but none completed a frame.";
    }
    if (explained_) {
        return text;
    }
    text +=
        "\n  Check the adapter and its cable, that the ignition is on, that this is the "
        "adapter's port at the module's baud rate (" +
        std::to_string(settings_.baudRate) +
        "), and that the set's echo setting (RequestEchoed=" + BoolText(settings_.requestEchoed) +
        ") and data byte count (# Bytes of Data=" + std::to_string(settings_.dataBytes) +
        ") match the module.";
    if (settings_.syncMode == SyncMode::ListenOnly) {
        text += "\n  In listen-only mode SyncTime (" + std::to_string(settings_.syncTime) +
                " ms) must be shorter than the pause between frames.";
    }
    return text;
}

std::string LiveMonitor::ChecksumWarning() const {
    return "warning: " + std::to_string(kBadChecksumRun) +
           " frames in a row failed their checksum.\n  The set's frame layout likely does not "
           "match the module's: check the data byte count (# Bytes of Data=" +
           std::to_string(settings_.dataBytes) + ", DataBytes), the header bytes (ResponseBytes=" +
           std::to_string(settings_.responseBytes) +
           ") and the echo setting (RequestEchoed=" + BoolText(settings_.requestEchoed) + ").";
}

std::string LiveMonitor::LossWarning(const LinkCounters& counters, std::uint64_t lost) const {
    std::string text = "warning: " + Count(lost, "frame", "frames") + " lost so far (" +
                       Count(counters.pollsUnanswered, "poll", "polls") +
                       " without a complete answer, " +
                       Count(counters.syncErrors, "burst", "bursts") + " of the wrong length).";
    if (counters.pollsUnanswered > 0) {
        text +=
            "\n  Answers were cut short or never came: the line may drop bytes, or the "
            "module answers slower than the update rate (SampleRate=" +
            std::to_string(settings_.sampleRate) + " ms) allows.";
    }
    if (counters.syncErrors > 0) {
        text += "\n  Bursts of the wrong length: the line may drop bytes, or SyncTime (" +
                std::to_string(settings_.syncTime) +
                " ms) is longer than the pause between frames.";
    }
    return text;
}

std::string LiveMonitor::Summary(const LinkCounters& counters) {
    return Count(counters.frames, "frame", "frames") + " received, " +
           Count(counters.checksumErrors, "bad checksum", "bad checksums") + ", " +
           Count(counters.syncErrors, "sync error", "sync errors") + ", " +
           Count(counters.pollsUnanswered, "poll", "polls") + " without a complete answer";
}

}  // namespace vekaton::cli
