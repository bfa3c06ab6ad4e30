#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/LinkSettings.h"
#include "set/SetFileReader.h"

namespace vekaton {

// Numeric link settings that are checked against a range wherever they are read or typed.
enum class LinkField { ComPort, BaudRate, SampleRate, ResponseBytes, DataBytes, SyncTime };

struct FieldRange {
    int min = 0;
    int max = 0;
};

FieldRange RangeOf(LinkField field);
// The field's key in the settings file: "ComPort", "BaudRate", "SampleRate", "ResponseBytes",
// "# Bytes of Data", "SyncTime".
std::string_view FieldName(LinkField field);
// nullopt when the value lies in the field's range; otherwise a sentence naming field and range.
std::optional<std::string> CheckRange(LinkField field, int value);

// The outcome of reading settings file text over the settings in force.
struct SettingsReadResult {
    // Fields not read, and fields whose value was refused, keep their previous values.
    LinkSettings settings;
    // The last line taken: lines are read in order from line 1, and keyed lines ("PortName=",
    // "Loader=") wherever they stand after line 13. When reading stopped, the lines before the
    // bad one. The port is opened when line 1 was read, the sample rate label set when line 3 was.
    int linesRead = 0;
    // Lines the file holds. Missing flag lines (7 to 9) read as FALSE without an error, so a
    // file of fewer than nine lines is cut short even when reading did not stop.
    int linesInFile = 0;
    // The file goes past line 9 and reading got there: the mode label and the receive path are
    // set from it. A nine-line file leaves both alone.
    bool reachedModeLine = false;
    // Line 10 named a mode (1, 2, 3, or the older TRUE/FALSE); otherwise the label stays.
    bool syncModeRecognised = false;
    // "'%s' is not a valid integer value": the lines from errorLine on were not read.
    std::optional<std::string> error;
    int errorLine = 0;
    // Refused values (out of range, unknown mode) and a request of more than 84 bytes.
    std::vector<std::string> warnings;
    // Every value out of range or not understood, each named with its line, also those that
    // equal the value in force and so raise no warning. Programs that cannot work with a value
    // in force refuse the file on these.
    std::vector<std::string> outOfRange;
    bool requestTruncated = false;
    // A value was refused or lines after the settings were not read: the file is kept as
    // name + ".bad" before it is rewritten.
    bool dropped = false;

    // Whether the caller connects the receive path of settings.syncMode (and arms the packet
    // trigger in mode 3). Also after a stopped reading, so what was read is put to use.
    bool ConnectReceivePath() const { return reachedModeLine || error.has_value(); }
};

// Reads the lines by position, taking the text after the first "=" of each (the whole line
// when there is none); keys are not looked at. After line 13, optional keyed lines follow in any
// order: "PortName=" names the device, "Loader=" the firmware loader; other lines after the
// settings are reported.
SettingsReadResult ParseSettings(std::string_view text, const LinkSettings& previous);

// The port number of a device for "ComPort=": n for "COMn" and for "/dev/ttyS<n-1>", 0 for
// any other device (which only "PortName=" names).
int ComPortNumberOfDevice(std::string_view device);

// The thirteen lines, each ended by CR LF, then "PortName=" when a device is named and "Loader="
// when a firmware loader is set. "ComPort=" follows the named device (ComPortNumberOfDevice);
// without one it is comPort.
std::string FormatSettings(const LinkSettings& settings);

// Reading and writing the settings file of a set, by name in a folder, ignoring letter case.
struct SettingsFileRead : SetFileRead {
    SettingsReadResult result;
};

// A file that stopped reading, or could not be read, is noted in `guard` so that it is backed
// up before it is first rewritten.
SettingsFileRead ReadSettingsFile(const std::filesystem::path& folder, std::string_view fileName,
                                  const LinkSettings& previous, DamagedFileGuard& guard);

// Writes through the safe-write helper, replacing an existing file of any letter case. A noted
// damaged file is backed up first; when that fails the file is left alone and the error returned.
std::optional<std::string> WriteSettingsFile(const std::filesystem::path& folder,
                                             std::string_view fileName,
                                             const LinkSettings& settings, DamagedFileGuard& guard);

}  // namespace vekaton
