#pragma once

#include <string>

namespace vekaton {

// Link modes, as stored in the settings file ("SyncMode=").
enum class SyncMode : int {
    ListenOnly = 1,  // "Listen Only : Delay Syncing": a silence of SyncTime ends a frame
    TalkListen = 2,  // "Talk / Listen Mode": the poll timer sends the request
    Aldl160 = 3,     // "ALDL 160 Interface": the packet trigger delivers whole packets
};

// The link configuration: what the settings file holds and the setup panel edits.
struct LinkSettings {
    int comPort = 0;
    std::string portName;  // device path; overrides comPort where a number cannot name the port
    int baudRate = 8192;
    int sampleRate = 500;  // poll timer period, ms
    std::string requestString;
    int responseBytes = 0;
    int dataBytes = 0;
    bool useCheckSum = false;
    bool requestEchoed = false;
    bool autoRun = false;
    SyncMode syncMode = SyncMode::TalkListen;
    int syncTime = 500;  // ms of silence that ends a listen-only frame
    std::string startCommand;
    std::string stopCommand;
    // The firmware loader "PIC Flash Update" runs: a program, optionally with arguments. Empty:
    // "Loader.exe" (Windows) or "Loader" next to the program, else on the PATH.
    std::string loader;

    bool operator==(const LinkSettings&) const = default;
};

// Limits shared by the settings reader, the setup panel and the engine.
inline constexpr int kMaxRequestBytes = 84;
inline constexpr int kMaxDataBytes = 500;
inline constexpr int kMaxPositions = 500;

}  // namespace vekaton
