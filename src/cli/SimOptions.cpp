#include "cli/SimOptions.h"

#include <optional>

#include "cli/CliArguments.h"
#include "common/IntConversion.h"
#include "engine/CommandString.h"

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
        } else if (name == "--mode") {
            if (const auto text = reader.Value(); text && !ParseSimMode(*text, config.mode)) {
                reader.Fail("--mode " + *text + ": expected listen, talk or aldl160");
            }
        } else if (name == "--request") {
            ParseBytes(reader, config.request);
        } else if (name == "--header") {
            ParseBytes(reader, config.header);
        } else if (name == "--data-bytes") {
            config.dataBytes = reader.IntValue(0, kMaxDataBytes).value_or(config.dataBytes);
        } else if (name == "--checksum" || name == "--no-checksum") {
            reader.NoValue();
            config.checksum = name == "--checksum";
        } else if (name == "--echo" || name == "--no-echo") {
            reader.NoValue();
            config.echo = name == "--echo";
        } else if (name == "--interval") {
            config.intervalMs = reader.IntValue(1, 3600000).value_or(config.intervalMs);
        } else if (name == "--fault") {
            if (const auto text = reader.Value()) {
                ParseFault(*text, config, reader);
            }
        } else if (name == "--seed") {
            if (const auto seed = reader.IntValue(0, 2147483647)) {
                config.seed = static_cast<std::uint32_t>(*seed);
            }
        } else if (name == "--baud") {
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
    return result;
}

std::string SimUsage() {
    return "usage: vekaton-sim [options]\n"
           "A simulated engine module behind its interface adapter, on a pseudo-terminal.\n"
           "Prints the device path on the first line, then serves until stopped (Ctrl-C).\n"
           "\n"
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
           "  --interval MS      listen and aldl160 modes: time from frame to frame (default 100)\n"
           "  --baud N           pace the bytes at this line speed; 0 sends at once (default "
           "8192)\n"
           "  --fault NAME[:N]   put a fault into every N-th frame (default every frame);\n"
           "                     NAME is bad-checksum, drop-byte, stray-bytes or silence;\n"
           "                     may be given once per fault\n"
           "  --seed N           seed of the simulated engine (default 1)\n"
           "  --replay FILE      send the records of a data log instead, looping\n"
           "  --sent-log FILE    write every frame made, as meant before faults, as a data log\n"
           "  --link PATH        make PATH a symbolic link to the device (removed on exit)\n"
           "  --help             this text\n";
}

}  // namespace vekaton::cli
