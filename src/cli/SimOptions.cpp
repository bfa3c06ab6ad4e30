#include "cli/SimOptions.h"

#include <optional>

#include "cli/CliArguments.h"
#include "common/IntConversion.h"
#include "engine/CommandString.h"
#include "io/SimulatedLink.h"
#include "set/ConfigurationSet.h"

namespace vekaton::cli {

namespace {

// "NAME" or "NAME:EVERY": the fault goes into every EVERY-th frame (every frame without EVERY).
void ParseFault(const std::string& text, SimulatorConfig& config, ArgumentReader& reader) {
    const auto colon = text.find(':');
    const std::string name = text.substr(0, colon);
    const auto fault = SimFaultFromName(name);
    if (!fault) {
        std::string names;
        for (int k = 0; k < kSimFaultKinds; ++k) {
            names += (k == 0 ? "" : ", ");
            names += SimFaultName(static_cast<SimFault>(k));
        }
        reader.Fail("unknown fault '" + name + "' (known: " + names + ")");
        return;
    }
    int every = 1;
    if (colon != std::string::npos) {
        const auto parsed = TryStrToInt(text.substr(colon + 1));
        if (!parsed || *parsed < 1 || *parsed > 1000000) {
            reader.Fail("--fault " + text + ": the count after ':' must be 1 to 1000000");
            return;
        }
        every = *parsed;
    }
    config.faultEvery[static_cast<std::size_t>(*fault)] = every;
}

// Request and header bytes, written as command text ("$F4 $57" or "244,87").
void ParseBytes(ArgumentReader& reader, std::vector<std::uint8_t>& bytes) {
    if (const auto text = reader.Value()) {
        bool truncated = false;
        bytes = RequestTextToBytes(*text, &truncated);
        if (truncated) {
            reader.Fail(reader.Name() + ": more than 84 bytes");
        }
    }
}

}  // namespace

bool ParseSimMode(std::string_view text, SyncMode& mode) {
    if (text == "listen" || text == "1") {
        mode = SyncMode::ListenOnly;
    } else if (text == "talk" || text == "2") {
        mode = SyncMode::TalkListen;
    } else if (text == "aldl160" || text == "3") {
        mode = SyncMode::Aldl160;
    } else {
        return false;
    }
    return true;
}

SimOptionsParse ParseSimOptions(const std::vector<std::string>& args) {
    SimOptionsParse result;
    SimOptions& options = result.options;
    SimulatorConfig& config = options.config;
    ArgumentReader reader(args);
    while (reader.Next()) {
        const std::string& name = reader.Name();
        if (name == "--help" || name == "-h") {
            reader.NoValue();
            options.help = true;
        } else if (name == "--dir") {
            options.setDir = reader.Value().value_or("");
        } else if (name == "--set") {
            options.setName = reader.Value().value_or("");
        } else if (name == "--mode") {
            options.given.mode = true;
            if (const auto text = reader.Value(); text && !ParseSimMode(*text, config.mode)) {
                reader.Fail("--mode " + *text + ": expected listen, talk or aldl160");
            }
        } else if (name == "--request") {
            options.given.request = true;
            ParseBytes(reader, config.request);
        } else if (name == "--header") {
            options.given.header = true;
            ParseBytes(reader, config.header);
        } else if (name == "--data-bytes") {
            options.given.dataBytes = true;
            config.dataBytes = reader.IntValue(0, kMaxDataBytes).value_or(config.dataBytes);
        } else if (name == "--checksum" || name == "--no-checksum") {
            options.given.checksum = true;
            reader.NoValue();
            config.checksum = name == "--checksum";
        } else if (name == "--echo" || name == "--no-echo") {
            options.given.echo = true;
            reader.NoValue();
            config.echo = name == "--echo";
        } else if (name == "--interval") {
            options.given.interval = true;
            config.intervalMs = reader.IntValue(1, 3600000).value_or(config.intervalMs);
        } else if (name == "--stop-after") {
            config.stopAfterFrames = reader.IntValue(0, 2147483647).value_or(-1);
        } else if (name == "--fault") {
            if (const auto text = reader.Value()) {
                ParseFault(*text, config, reader);
            }
        } else if (name == "--seed") {
            if (const auto seed = reader.IntValue(0, 2147483647)) {
                config.seed = static_cast<std::uint32_t>(*seed);
            }
        } else if (name == "--baud") {
            options.given.baud = true;
            options.baudRate = reader.IntValue(0, 4000000).value_or(options.baudRate);
        } else if (name == "--replay") {
            options.replayPath = reader.Value().value_or("");
        } else if (name == "--sent-log") {
            options.sentLogPath = reader.Value().value_or("");
        } else if (name == "--link") {
            options.linkPath = reader.Value().value_or("");
        } else {
            reader.FailUnknown();
        }
    }
    result.error = reader.Error();
    if (result.error.empty() && options.setDir.empty() && !options.setName.empty()) {
        result.error = "--set needs --dir (the folder of the set)";
    }
    return result;
}

void ApplySetLink(SimOptions& options, const LinkSettings& settings) {
    const SimulatorConfig fromSet = SimulatedLink::ConfigFor(settings);
    SimulatorConfig& config = options.config;
    const SimExplicitOptions& given = options.given;
    if (!given.mode) {
        config.mode = fromSet.mode;
    }
    if (!given.request) {
        config.request = fromSet.request;
    }
    if (!given.header) {
        config.header = fromSet.header;
    }
    if (!given.dataBytes) {
        config.dataBytes = fromSet.dataBytes;
    }
    if (!given.checksum) {
        config.checksum = fromSet.checksum;
    }
    if (!given.echo) {
        config.echo = fromSet.echo;
    }
    if (!given.interval) {
        config.intervalMs = fromSet.intervalMs;
    }
    if (!given.baud) {
        options.baudRate = settings.baudRate;
    }
}

std::optional<std::string> LoadSimSet(const SimOptions& options, LinkSettings& settings) {
    std::error_code ec;
    const std::filesystem::path folder(options.setDir);
    if (!std::filesystem::is_directory(folder, ec)) {
        return "cannot use the folder '" + options.setDir + "': it is not a folder";
    }
    ConfigurationSet set(folder);
    if (options.setName.empty()) {
        if (const LoadedSetNames loaded = set.LoadNames(); loaded.warning) {
            return *loaded.warning;
        }
    } else if (!IsUsableSetName(options.setName)) {
        return "'" + options.setName + "' cannot name a set: a set name names files in the folder";
    } else {
        set.UsePointerSet(options.setName);
    }
    const SettingsFileRead read = set.ReadSettings(LinkSettings{});
    const std::string file = set.Names().settingsFileName;
    if (!read.found) {
        return "no settings file " + file + " in " + options.setDir +
               ": the set's link settings are needed";
    }
    if (!read.errorMessage.empty()) {
        return read.errorMessage;
    }
    if (!read.result.outOfRange.empty()) {
        return read.path.filename().string() + " holds values out of range:\n  " +
               read.result.outOfRange.front();
    }
    settings = read.result.settings;
    return std::nullopt;
}

std::string SimUsage() {
    return "usage: vekaton-sim [--dir DIR [--set NAME]] [options]\n"
           "A simulated engine module behind its interface adapter, on a pseudo-terminal.\n"
           "Prints the device path on its first line, then serves until stopped (Ctrl-C,\n"
           "SIGTERM). Point vekaton-cli live or the window's setup at that path, or at the\n"
           "link made with --link.\n"
           "\n"
           "  --dir DIR          answer as the configuration set in DIR expects: its mode,\n"
           "                     request, header size, data bytes, checksum, echo, update\n"
           "                     rate and baud rate; options given here still win\n"
           "  --set NAME         that set (default: the one Vekaton.Ini names, else Default)\n"
           "  --mode listen|talk|aldl160  link mode (default talk):\n"
           "        listen   bursts of header, data and checksum, silence in between\n"
           "        talk     answers every request with header, data and checksum\n"
           "        aldl160  packets of start string (the request), data and checksum\n"
           "  --request TEXT     the request, or the start string in aldl160 mode, as hex\n"
           "                     command text (default \"$F4 $57 $01 $00 $B4\"; \"\" answers\n"
           "                     any bytes)\n"
           "  --header TEXT      response header bytes (default \"$F4 $95 $01\")\n"
           "  --data-bytes N     data bytes per frame, 0 to 500 (default 63)\n"
           "  --checksum | --no-checksum   end each frame with a checksum (default on)\n"
           "  --echo | --no-echo           read back every byte the host sends (default off)\n"
           "  --interval MS      listen and aldl160 modes: time from frame to frame\n"
           "                     (default 100)\n"
           "  --baud N           pace the bytes at this line speed; 0 sends at once\n"
           "                     (default 8192)\n"
           "  --fault NAME[:N]   put a fault into every N-th frame (default every frame);\n"
           "                     NAME is bad-checksum, drop-byte, stray-bytes or silence;\n"
           "                     may be given once per fault\n"
           "  --stop-after N     send N frames, then none, like an engine switched off\n"
           "                     (default: never stop)\n"
           "  --seed N           seed of the simulated engine (default 1)\n"
           "  --replay FILE      send the records of a data log instead, looping\n"
           "  --sent-log FILE    write every frame made, as meant before faults, as a data log\n"
           "  --link PATH        make PATH a symbolic link to the device (removed on exit)\n"
           "  -h, --help         this text\n"
           "\n"
           "Examples:\n"
           "  vekaton-sim --dir demo --link /tmp/ecm &\n"
           "  vekaton-cli live --dir demo --port /tmp/ecm --seconds 5\n"
           "  vekaton-sim --dir demo --link /tmp/ecm --fault bad-checksum:10 --stop-after 50\n"
           "\n"
           "Exit codes: 0 stopped by a signal; 1 the set, the pseudo-terminal, the link or a\n"
           "log failed; 64 wrong usage.\n";
}

}  // namespace vekaton::cli
