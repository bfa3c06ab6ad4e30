#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "definitions/XmlReader.h"

namespace vekaton {

// What an ADX definition file holds, read from its XML but not yet judged: every object of the
// root in file order, with the fields this program can use. A field that is present but cannot
// be read leaves the object's `problem` set; the object is then reported, never used.

enum class AdxKind {
    Header,
    SendCommand,
    ListenPacket,
    Macro,
    Silence,
    Value,
    BitMask,
    LookupTable,
    Other,  // objects this program does not import (dashboards, list views, ...)
};

struct AdxHeader {
    std::optional<int> baud;
    int defaultBits = 8;
    bool defaultSigned = false;
    bool defaultLsbFirst = false;
    bool defaultFloat = false;
    std::optional<int> defaultDigits;
    std::string connectCommand;  // an id (or idhash) of a macro or command; empty when none
    std::string monitorCommand;
};

struct AdxSendCommand {
    std::vector<std::uint8_t> bytes;  // without the checksum
    std::optional<int> declaredSize;
    std::optional<int> checksumType;  // SNDCMDCHECKSUM type; nothing when none is asked for
};

struct AdxListenPacket {
    std::optional<int> bodyLength;
    std::optional<int> headerBytes;  // packetoffsetinbody
    std::optional<int> dataBytes;    // packetsize
    std::optional<std::uint32_t> flags;
    std::string headerString;
};

struct AdxMacroStep {
    std::string command;  // commandID: the id of a command, listen packet, silence or macro
    std::optional<std::uint32_t> flags;
};

struct AdxMacro {
    std::vector<AdxMacroStep> steps;
};

struct AdxVariable {
    std::string name;  // varID as written
    std::string type;  // "native", "link", or what the file says
    std::optional<std::uint32_t> link;
};

inline constexpr std::uint32_t kAdxNotPlaced = 0xFFFFFFFFU;

struct AdxValue {
    std::optional<std::uint32_t> offset;  // 0-based from the first data byte
    int bits = 8;
    bool isSigned = false;
    bool lsbFirst = false;
    bool isFloat = false;
    std::uint32_t flags = 0;
    std::string units;
    std::optional<double> rangeLow;
    std::optional<double> rangeHigh;
    std::optional<double> alarmLow;
    std::optional<double> alarmHigh;
    std::optional<int> digits;
    std::string equation = "X";
    std::vector<AdxVariable> variables;
    std::optional<std::uint32_t> lookup;
    std::optional<std::uint32_t> parent;  // parentcmdidhash
};

struct AdxBitMask {
    std::optional<std::uint32_t> offset;
    std::uint32_t operand = 0;
    std::uint32_t result = 0;
    std::string bitOperation = "AND";
    std::string trueText;
    std::string falseText;
    std::optional<std::uint32_t> parent;
};

struct AdxTableEntry {
    double input = 0.0;
    double output = 0.0;
};

struct AdxLookupTable {
    std::vector<AdxTableEntry> entries;
    std::optional<int> lookupMode;
};

struct AdxObject {
    AdxKind kind = AdxKind::Other;
    std::string element;  // the element's name as written
    std::string id;
    std::optional<std::uint32_t> idHash;
    std::string title;  // one line, for reports
    int line = 0;
    std::string problem;  // why the object cannot be used as read; empty when it can
    std::variant<std::monostate, AdxHeader, AdxSendCommand, AdxListenPacket, AdxMacro, AdxValue,
                 AdxBitMask, AdxLookupTable>
        data;

    // The name a report gives the object: its title, else its id, else its element.
    std::string Name() const;
};

struct AdxDocument {
    std::vector<AdxObject> objects;  // in file order

    // The first header's fields; the defaults when the file has none.
    const AdxHeader& Header() const;

    // The object with this id (exact, else ignoring case), or with this idhash; null when none.
    const AdxObject* FindById(const std::string& id) const;
    const AdxObject* FindByHash(std::uint32_t hash) const;
    std::size_t IndexOf(const AdxObject* object) const;
};

// Reads the objects of a parsed ADX file. Nothing when the root is not an ADXFORMAT element;
// `error` then says what the file is instead.
std::optional<AdxDocument> ReadAdxDocument(const XmlElement& root, std::string& error);

}  // namespace vekaton
