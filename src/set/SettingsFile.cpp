#include "set/SettingsFile.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "common/AsciiCase.h"
#include "common/CommandText.h"
#include "common/IntConversion.h"
#include "common/MessageText.h"
#include "common/NoteList.h"
#include "common/TextLines.h"
#include "files/FileLookup.h"
#include "files/SafeFile.h"
#include "set/DamagedFileGuard.h"
#include "set/SetFileReader.h"

namespace vekaton {

namespace {

constexpr int kLineOfMode = 10;
constexpr std::string_view kPortNameKey = "PortName";
constexpr std::string_view kLoaderKey = "Loader";

std::string_view ValueOf(std::string_view line) {
    const std::size_t equals = line.find('=');
    return equals == std::string_view::npos ? line : line.substr(equals + 1);
}

const char* BoolText(bool value) {
    return value ? "TRUE" : "FALSE";
}

class LineReader {
  public:
    LineReader(std::string_view text, const LinkSettings& previous) : lines_(SplitLines(text)) {
        result_.settings = previous;
        result_.linesInFile = static_cast<int>(std::min<std::size_t>(lines_.size(), INT_MAX));
    }

    SettingsReadResult Read() {
        try {
            ReadLines();
            ReportExtraLines();
        } catch (const ConversionError& error) {
            result_.error = error.what();
            result_.errorLine = lineNumber_;
        }
        return std::move(result_);
    }

  private:
    // Lines past the end read as empty, as they always have: a missing number then stops the
    // reading with the usual conversion error.
    std::string_view Next() {
        ++lineNumber_;
        const std::size_t index = static_cast<std::size_t>(lineNumber_ - 1);
        return index < lines_.size() ? ValueOf(lines_[index]) : std::string_view();
    }

    void Taken() { result_.linesRead = lineNumber_; }

    // Reads one integer line into `field`; a value out of range is refused with a warning.
    void ReadInt(LinkField field, int& target, bool upperCase = false) {
        const std::string_view raw = Next();
        const int value = StrToInt(upperCase ? std::string_view(UpperAscii(raw)) : raw);
        if (const auto problem = CheckRange(field, value)) {
            result_.outOfRange.push_back(LinePrefix(field) + *problem);
            // A value that is already in force (say 0 data bytes before any setup) is not news.
            if (value != target) {
                result_.warnings.push_back(LinePrefix(field) + *problem + " " +
                                           KeptText(field, target));
                result_.dropped = true;
            }
        } else {
            target = value;
        }
        Taken();
    }

    // What a refused value leaves in force. Saying that 0 is kept would be no help where 0 is out
    // of range itself.
    static std::string KeptText(LinkField field, int inForce) {
        if (CheckRange(field, inForce)) {
            return "The value in force, " + std::to_string(inForce) +
                   ", is not valid either: set " + std::string(FieldName(field)) + " in the setup.";
        }
        return std::to_string(inForce) + " is kept.";
    }

    std::string LinePrefix(LinkField field) const {
        return "Line " + std::to_string(lineNumber_) + " (" + std::string(FieldName(field)) + "): ";
    }

    bool ReadBool() {
        const bool value = UpperAscii(Next()) == "TRUE";
        Taken();
        return value;
    }

    void ReadLines() {
        LinkSettings& s = result_.settings;
        ReadInt(LinkField::ComPort, s.comPort);
        s.portName.clear();  // a device name belongs to the port number it came with
        s.loader.clear();    // and a loader to the file that names it
        ReadInt(LinkField::BaudRate, s.baudRate);
        ReadInt(LinkField::SampleRate, s.sampleRate);
        s.requestString = std::string(Next());
        Taken();
        CheckRequestLength();
        ReadInt(LinkField::ResponseBytes, s.responseBytes);
        ReadInt(LinkField::DataBytes, s.dataBytes);
        s.useCheckSum = ReadBool();
        s.requestEchoed = ReadBool();
        s.autoRun = ReadBool();
        if (lines_.size() < static_cast<std::size_t>(kLineOfMode)) {
            return;
        }
        result_.reachedModeLine = true;
        ReadMode();
        ReadInt(LinkField::SyncTime, s.syncTime, true);
        s.startCommand = UpperAscii(Next());
        Taken();
        s.stopCommand = UpperAscii(Next());
        Taken();
        // Optional keyed lines after the thirteen positional ones, in any order. A line with
        // another key is reported with the other lines that are not settings.
        keyedFrom_ = 13;
        for (std::size_t index = 13; index < lines_.size(); ++index) {
            const std::string_view line = lines_[index];
            const std::size_t equals = line.find('=');
            if (equals == std::string_view::npos) {
                continue;
            }
            const std::string key = UpperAscii(line.substr(0, equals));
            if (key == UpperAscii(kPortNameKey)) {
                s.portName = std::string(line.substr(equals + 1));
            } else if (key == UpperAscii(kLoaderKey)) {
                s.loader = std::string(line.substr(equals + 1));
            } else {
                continue;
            }
            keyed_.push_back(index);
            lineNumber_ = static_cast<int>(index) + 1;
            Taken();
        }
    }

    void ReadMode() {
        const std::string value = UpperAscii(Next());
        std::optional<SyncMode> mode;
        if (value == "1" || value == "TRUE") {
            mode = SyncMode::ListenOnly;
        } else if (value == "2" || value == "FALSE") {
            mode = SyncMode::TalkListen;
        } else if (value == "3") {
            mode = SyncMode::Aldl160;
        }
        if (mode) {
            result_.settings.syncMode = *mode;
            result_.syncModeRecognised = true;
        } else {
            const std::string problem =
                "Line 10 (SyncMode): \"" + QuoteText(value) + "\" is not 1, 2 or 3.";
            result_.outOfRange.push_back(problem);
            result_.warnings.push_back(problem + " Mode " +
                                       std::to_string(static_cast<int>(result_.settings.syncMode)) +
                                       " is kept.");
            result_.dropped = true;
        }
        Taken();
    }

    // Lines after the settings are not the program's; the writer would leave them out.
    void ReportExtraLines() {
        const std::size_t from = std::min(keyedFrom_, static_cast<std::size_t>(result_.linesRead));
        std::vector<std::string> named;  // the first few, then only counted
        std::size_t count = 0;
        for (std::size_t i = from; i < lines_.size(); ++i) {
            if (lines_[i].find_first_not_of(" \t") == std::string::npos ||
                std::find(keyed_.begin(), keyed_.end(), i) != keyed_.end()) {
                continue;
            }
            if (++count <= kExtraLinesNamed) {
                named.push_back(std::to_string(i + 1));
            }
        }
        if (count == 1) {
            result_.warnings.push_back("Line " + named.front() +
                                       ": not a setting of this program; it is not kept.");
        } else if (count > 1) {
            result_.warnings.push_back("Lines " + NamedExamples(named, count) +
                                       ": not settings of this program; they are not kept.");
        }
        result_.dropped = result_.dropped || count > 0;
    }

    static constexpr std::size_t kExtraLinesNamed = 5;

    void CheckRequestLength() {
        bool truncated = false;
        RequestTextToBytes(result_.settings.requestString, &truncated);
        if (truncated) {
            result_.requestTruncated = true;
            result_.warnings.push_back("Line 4 (RequestString): the request gives more than " +
                                       std::to_string(kMaxRequestBytes) +
                                       " bytes; only the first " +
                                       std::to_string(kMaxRequestBytes) + " are sent.");
        }
    }

    std::vector<std::string> lines_;
    int lineNumber_ = 0;
    SettingsReadResult result_;
    std::size_t keyedFrom_ = SIZE_MAX;  // where the keyed lines begin, once reading got there
    std::vector<std::size_t> keyed_;    // the keyed lines taken
};

}  // namespace

FieldRange RangeOf(LinkField field) {
    switch (field) {
        case LinkField::ComPort:
            return {0, INT_MAX};
        case LinkField::BaudRate:
            return {1, INT_MAX};
        case LinkField::SampleRate:
            return {1, 65535};  // the data log keeps the interval in 16 bits
        case LinkField::ResponseBytes:
            return {0, 65535};  // keeps the frame length arithmetic far from overflow
        case LinkField::DataBytes:
            return {1, kMaxDataBytes};
        case LinkField::SyncTime:
            return {1, INT_MAX};
    }
    return {0, INT_MAX};
}

std::string_view FieldName(LinkField field) {
    switch (field) {
        case LinkField::ComPort:
            return "ComPort";
        case LinkField::BaudRate:
            return "BaudRate";
        case LinkField::SampleRate:
            return "SampleRate";
        case LinkField::ResponseBytes:
            return "ResponseBytes";
        case LinkField::DataBytes:
            return "# Bytes of Data";
        case LinkField::SyncTime:
            return "SyncTime";
    }
    return "";
}

std::optional<std::string> CheckRange(LinkField field, int value) {
    const FieldRange range = RangeOf(field);
    if (value >= range.min && value <= range.max) {
        return std::nullopt;
    }
    std::string text = std::string(FieldName(field)) + " must be ";
    if (range.max == INT_MAX) {
        text += range.min == 0 ? "0 or more" : "more than " + std::to_string(range.min - 1);
    } else {
        text += "from " + std::to_string(range.min) + " to " + std::to_string(range.max);
    }
    return text + ", not " + std::to_string(value) + ".";
}

SettingsReadResult ParseSettings(std::string_view text, const LinkSettings& previous) {
    return LineReader(text, previous).Read();
}

int ComPortNumberOfDevice(std::string_view device) {
    // Digits only, without leading zeros, so that the number names the device back.
    const auto number = [](std::string_view digits) -> std::optional<int> {
        if (digits.empty() || digits.size() > 9 || (digits.size() > 1 && digits[0] == '0') ||
            digits.find_first_not_of("0123456789") != std::string_view::npos) {
            return std::nullopt;
        }
        return std::stoi(std::string(digits));
    };
    constexpr std::string_view kWindowsPrefix = "COM";
    constexpr std::string_view kUnixPrefix = "/dev/ttyS";
    if (device.size() > kWindowsPrefix.size() &&
        UpperAscii(device.substr(0, kWindowsPrefix.size())) == kWindowsPrefix) {
        const auto n = number(device.substr(kWindowsPrefix.size()));
        return n && *n >= 1 ? *n : 0;
    }
    if (device.substr(0, kUnixPrefix.size()) == kUnixPrefix) {
        const auto n = number(device.substr(kUnixPrefix.size()));
        return n ? *n + 1 : 0;
    }
    return 0;
}

std::string FormatSettings(const LinkSettings& s) {
    const int comPort = s.portName.empty() ? s.comPort : ComPortNumberOfDevice(s.portName);
    std::vector<std::string> lines = {
        "ComPort=" + std::to_string(comPort),
        "BaudRate=" + std::to_string(s.baudRate),
        "SampleRate=" + std::to_string(s.sampleRate),
        "RequestString=" + OneLine(s.requestString),
        "ResponseBytes=" + std::to_string(s.responseBytes),
        "# Bytes of Data=" + std::to_string(s.dataBytes),
        std::string("Use CheckSum=") + BoolText(s.useCheckSum),
        std::string("RequestEchoed=") + BoolText(s.requestEchoed),
        std::string("AutoRun=") + BoolText(s.autoRun),
        "SyncMode=" + std::to_string(static_cast<int>(s.syncMode)),
        "SyncTime=" + std::to_string(s.syncTime),
        "StartCommand=" + OneLine(s.startCommand),
        "StopCommand=" + OneLine(s.stopCommand),
    };
    if (!s.portName.empty()) {
        lines.push_back(std::string(kPortNameKey) + "=" + OneLine(s.portName));
    }
    if (!s.loader.empty()) {
        lines.push_back(std::string(kLoaderKey) + "=" + OneLine(s.loader));
    }
    return JoinLinesCrLf(lines);
}

SettingsFileRead ReadSettingsFile(const std::filesystem::path& folder, std::string_view fileName,
                                  const LinkSettings& previous, DamagedFileGuard& guard) {
    SettingsFileRead read;
    read.result.settings = previous;
    const auto text = OpenSetFile(folder, fileName, kSettingsFileType, guard, read);
    if (!text) {
        return read;
    }
    read.result = ParseSettings(*text, previous);
    if (read.result.error) {
        NoteReadingStopped(read, *read.result.error, read.result.errorLine, guard);
    }
    if (!read.result.warnings.empty()) {
        // What was refused is lost at the next save unless the file is kept as it was.
        NoteWarnings(read, kSettingsFileType, read.result.warnings,
                     read.result.dropped && !read.result.error, guard);
    }
    return read;
}

std::optional<std::string> WriteSettingsFile(const std::filesystem::path& folder,
                                             std::string_view fileName,
                                             const LinkSettings& settings,
                                             DamagedFileGuard& guard) {
    const std::filesystem::path path = ResolveSetFile(folder, fileName);
    const std::string text = FormatSettings(settings);
    if (auto error = SaveSizeProblem(path, text.size())) {
        return error;
    }
    if (auto error = guard.BeforeRewrite(path)) {
        return error;
    }
    return WriteFileAtomically(path, text);
}

}  // namespace vekaton
