#include "support/SetFilesForTest.h"

#include <fstream>
#include <utility>

namespace vekaton::testing {
namespace {

const char* Flag(bool on) {
    return on ? "TRUE" : "FALSE";
}

void Write(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

}  // namespace

std::string SettingsFile(const LinkSetUp& s) {
    std::string text = "ComPort=" + std::to_string(s.comPort) + "\r\n";
    text += "BaudRate=" + std::to_string(s.baudRate) + "\r\n";
    text += "SampleRate=" + std::to_string(s.sampleRate) + "\r\n";
    text += "RequestString=" + s.request + "\r\n";
    text += "ResponseBytes=" + std::to_string(s.responseBytes) + "\r\n";
    text += "# Bytes of Data=" + std::to_string(s.dataBytes) + "\r\n";
    text += std::string("Use CheckSum=") + Flag(s.checksum) + "\r\n";
    text += std::string("RequestEchoed=") + Flag(s.echoed) + "\r\n";
    text += std::string("AutoRun=") + Flag(s.autoRun) + "\r\n";
    text += "SyncMode=" + std::to_string(s.syncMode) + "\r\n";
    text += "SyncTime=" + std::to_string(s.syncTime) + "\r\n";
    text += "StartCommand=" + s.startCommand + "\r\n";
    text += "StopCommand=" + s.stopCommand + "\r\n";
    if (s.portName) {
        text += "PortName=" + *s.portName + "\r\n";
    }
    if (s.loader) {
        text += "Loader=" + *s.loader + "\r\n";
    }
    return text;
}

ParameterLine Analog(int position, int byteCount, std::string description, std::string formula) {
    return {position, byteCount, std::nullopt, std::move(description), std::move(formula)};
}

ParameterLine Bit(int position, int bit, std::string description) {
    return {position, 1, bit, std::move(description), ""};
}

std::string ParameterFile(const ParameterSetUp& setUp) {
    std::string text;
    for (const std::string& comment : setUp.comments) {
        text += comment + "\r\n";
    }
    text += "\r\n";
    for (const ParameterLine& line : setUp.lines) {
        text += std::to_string(line.position) + ",";
        if (line.bit) {
            text += "1,1," + std::to_string(*line.bit) + "," + line.description;
        } else {
            text += std::to_string(line.byteCount) + ",0," + line.description + "," + line.formula;
        }
        text += "\r\n";
    }
    return text + "END\r\n";
}

std::string SetPointerFile(const std::string& setName) {
    return setName + "\r\n";
}

void SetFiles::WriteTo(const std::filesystem::path& folder) const {
    const bool named = !setName.empty();
    if (settings) {
        Write(folder / (named ? setName + ".ini" : "Default.Ini"), SettingsFile(*settings));
    }
    if (parameters) {
        Write(folder / ((named ? setName : "Default") + ".cfg"), ParameterFile(*parameters));
    }
    if (named) {
        Write(folder / "Vekaton.Ini", SetPointerFile(setName));
    }
}

}  // namespace vekaton::testing
