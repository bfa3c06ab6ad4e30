// Reads arbitrary bytes as a settings file over valid settings. Every value that comes out must
// lie in its range or be the one that was in force, and what is written must read back the same.
// Messages quote the file's text shortly and never carry a NUL or a control character.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "set/SettingsFile.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void CheckField(vekaton::LinkField field, int value, int previous) {
    Check(value == previous || !vekaton::CheckRange(field, value));
}

bool HasLineBreak(const std::string& text) {
    return text.find('\r') != std::string::npos;
}

// A message built from file text: short, whatever the file's lines, and printable.
void CheckMessage(const std::string& message) {
    Check(message.size() < 400);
    for (const char c : message) {
        const auto u = static_cast<unsigned char>(c);
        Check(u >= 0x20 && u != 0x7F);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using vekaton::LinkField;
    const std::string text(reinterpret_cast<const char*>(data), size);
    vekaton::LinkSettings previous;
    previous.dataBytes = 10;
    previous.portName = "/dev/ttyUSB0";
    const vekaton::SettingsReadResult r = vekaton::ParseSettings(text, previous);
    const vekaton::LinkSettings& s = r.settings;

    // Thirteen lines by position (missing ones read as empty), then keyed lines anywhere after.
    Check(r.linesRead >= 0 && r.linesRead <= std::max(13, r.linesInFile));
    Check(r.error.has_value() == (r.errorLine > 0));
    if (r.error) {
        Check(r.linesRead == r.errorLine - 1);
        CheckMessage(*r.error);
    }
    for (const std::string& warning : r.warnings) {
        CheckMessage(warning);
    }
    CheckField(LinkField::ComPort, s.comPort, previous.comPort);
    CheckField(LinkField::BaudRate, s.baudRate, previous.baudRate);
    CheckField(LinkField::SampleRate, s.sampleRate, previous.sampleRate);
    CheckField(LinkField::ResponseBytes, s.responseBytes, previous.responseBytes);
    CheckField(LinkField::DataBytes, s.dataBytes, previous.dataBytes);
    CheckField(LinkField::SyncTime, s.syncTime, previous.syncTime);
    const int mode = static_cast<int>(s.syncMode);
    Check(mode >= 1 && mode <= 3);

    if (!HasLineBreak(s.requestString) && !HasLineBreak(s.startCommand) &&
        !HasLineBreak(s.stopCommand) && !HasLineBreak(s.portName) && !HasLineBreak(s.loader)) {
        const auto again = vekaton::ParseSettings(vekaton::FormatSettings(s), previous);
        Check(!again.error);
        // "ComPort=" is written from the device in use, so a number that disagrees with the
        // "PortName=" line comes back as the device's own number.
        vekaton::LinkSettings expected = s;
        if (!s.portName.empty()) {
            expected.comPort = vekaton::ComPortNumberOfDevice(s.portName);
        }
        Check(again.settings == expected);
    }
    return 0;
}
