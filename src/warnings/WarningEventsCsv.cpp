#include "warnings/WarningEventsCsv.h"

#include <string>

#include "log/CsvWriter.h"

namespace vekaton {

const char* WarningSideText(WarningSide side) {
    switch (side) {
        case WarningSide::Low:
            return "low";
        case WarningSide::High:
            return "high";
        case WarningSide::Flag:
            return "on";
    }
    return "";
}

void WriteWarningEventsCsv(std::ostream& out, std::span<const WarningEvent> events,
                           NumberPrecision precision) {
    out << "Start,End,Start Frame,End Frame,Position,Name,Limit,Extreme,Alarm\r\n";
    std::string line;
    for (const WarningEvent& event : events) {
        line.clear();
        line += TableNumberText(event.startSeconds, precision);
        line += ',';
        if (event.endSeconds) {
            line += TableNumberText(*event.endSeconds, precision);
        }
        line += ',';
        line += std::to_string(event.startFrame);
        line += ',';
        if (event.endFrame) {
            line += std::to_string(*event.endFrame);
        }
        line += ',';
        line += ValueRefText(event.ref);
        line += ',';
        AppendCsvField(line, event.name);
        line += ',';
        line += WarningSideText(event.side);
        if (event.side != WarningSide::Flag) {
            line += ' ';
            line += TableNumberText(event.limit, precision);
        }
        line += ',';
        if (event.side != WarningSide::Flag) {
            line += TableNumberText(event.extreme, precision);
        }
        line += ',';
        line += event.alarm ? "yes" : "no";
        line += "\r\n";
        out << line;
    }
}

}  // namespace vekaton
