// Reads the objects of an ADX file's XML into AdxDocument, field by field.
#include <array>
#include <utility>

#include "definitions/AdxDocument.h"
#include "definitions/AdxFields.h"
#include "definitions/XmlText.h"

namespace vekaton {
namespace {

constexpr std::size_t kMaxRequestText = 1024;  // hex digits of one request

// Collects the first thing wrong with an object's fields.
class FieldReader {
  public:
    FieldReader(const XmlElement& element, std::string& problem)
        : element_(element), problem_(problem) {}

    std::optional<std::string> Text(std::string_view name) const {
        return AdxField(element_, name);
    }

    template <typename Parse>
    auto Read(std::string_view name, Parse parse, std::string_view what)
        -> decltype(parse(std::string_view())) {
        const auto text = Text(name);
        if (!text) {
            return std::nullopt;
        }
        auto value = parse(*text);
        if (!value) {
            Note("its " + std::string(name) + " \"" + Clipped(*text) + "\" is not " +
                 std::string(what));
        }
        return value;
    }
    std::optional<std::uint32_t> Hex(std::string_view name) {
        return Read(name, ParseAdxHex, "a hex number");
    }
    std::optional<int> Int(std::string_view name) {
        const auto value = Read(name, ParseAdxInteger, "a whole number");
        if (value && (*value < -1000000000 || *value > 1000000000)) {
            Note("its " + std::string(name) + " is far out of range");
            return std::nullopt;
        }
        return value ? std::optional<int>(static_cast<int>(*value)) : std::nullopt;
    }
    std::optional<bool> Flag(std::string_view name) { return Read(name, ParseAdxFlag, "0 or 1"); }
    std::optional<double> RealAttribute(const XmlElement* holder, std::string_view name) {
        if (holder == nullptr) {
            return std::nullopt;
        }
        const std::string* text = holder->Attribute(name);
        if (text == nullptr) {
            return std::nullopt;
        }
        const auto value = ParseAdxReal(*text);
        if (!value) {
            Note("its " + holder->name + " " + std::string(name) + " \"" + Clipped(*text) +
                 "\" is not a number");
        }
        return value;
    }
    void Note(std::string problem) {
        if (problem_.empty()) {
            problem_ = std::move(problem);
        }
    }

  private:
    const XmlElement& element_;
    std::string& problem_;
};

AdxHeader ReadHeader(const XmlElement& e, std::string& problem) {
    FieldReader fields(e, problem);
    AdxHeader header;
    header.baud = fields.Int("baud");
    if (const XmlElement* defaults = e.Child("DEFAULTS")) {
        FieldReader d(*defaults, problem);
        header.defaultBits = d.Int("datasizeinbits").value_or(8);
        header.defaultSigned = d.Flag("signed").value_or(false);
        header.defaultLsbFirst = d.Flag("lsbfirst").value_or(false);
        header.defaultFloat = d.Flag("float").value_or(false);
        header.defaultDigits = d.Int("sigdigits");
    }
    header.connectCommand = fields.Text("connectcmd").value_or("");
    header.monitorCommand = fields.Text("monitorcmd").value_or("");
    return header;
}

std::optional<std::vector<std::uint8_t>> HexBytes(std::string_view text) {
    std::string digits;
    for (const char c : text) {
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') {
            digits += c;
        }
    }
    if (digits.size() % 2 != 0 || digits.size() > kMaxRequestText) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const auto byte = ParseAdxHex(std::string_view(digits).substr(i, 2));
        if (!byte || digits[i] == '+' || digits[i] == '-') {
            return std::nullopt;
        }
        bytes.push_back(static_cast<std::uint8_t>(*byte));
    }
    return bytes;
}

AdxSendCommand ReadSendCommand(const XmlElement& e, std::string& problem) {
    FieldReader fields(e, problem);
    AdxSendCommand command;
    if (const XmlElement* checksum = e.Child("SNDCMDCHECKSUM")) {
        command.checksumType = FieldReader(*checksum, problem).Int("type").value_or(0);
    }
    const XmlElement* bytes = e.Child("bytestring");
    if (bytes == nullptr) {
        fields.Note("it has no bytestring");
        return command;
    }
    if (const auto parsed = HexBytes(bytes->text)) {
        command.bytes = *parsed;
    } else {
        fields.Note("its bytestring \"" + Clipped(bytes->text) + "\" is not hex bytes");
    }
    if (bytes->Attribute("size") != nullptr) {
        const auto size = FieldReader(*bytes, problem).Hex("size");
        command.declaredSize = size ? std::optional<int>(static_cast<int>(*size)) : std::nullopt;
    }
    return command;
}

AdxListenPacket ReadListenPacket(const XmlElement& e, std::string& problem) {
    FieldReader fields(e, problem);
    AdxListenPacket packet;
    packet.bodyLength = fields.Int("packetbodylength");
    packet.headerBytes = fields.Int("packetoffsetinbody");
    packet.dataBytes = fields.Int("packetsize");
    packet.flags = fields.Hex("flags");
    packet.headerString = Clipped(fields.Text("headerstring").value_or(""));
    return packet;
}

AdxMacro ReadMacro(const XmlElement& e, std::string& problem) {
    AdxMacro macro;
    for (const XmlElement& child : e.children) {
        if (!EqualsIgnoringCase(child.name, "NODE")) {
            continue;
        }
        FieldReader node(child, problem);
        macro.steps.push_back({node.Text("commandID").value_or(""), node.Hex("flags")});
    }
    return macro;
}

void ReadMath(const XmlElement& math, FieldReader& fields, std::string& problem, AdxValue& value) {
    FieldReader m(math, problem);
    value.equation = m.Text("equation").value_or("X");
    value.lookup = m.Hex("lookupidhash");
    for (const XmlElement& child : math.children) {
        if (!EqualsIgnoringCase(child.name, "VAR")) {
            continue;
        }
        FieldReader var(child, problem);
        AdxVariable variable;
        variable.name = Clipped(var.Text("varID").value_or(""), 30);
        variable.type = Clipped(var.Text("type").value_or(""), 30);
        variable.link = var.Hex("linkIDHash");
        if (variable.name.empty()) {
            fields.Note("a VAR of its MATH has no varID");
        }
        value.variables.push_back(std::move(variable));
    }
}

AdxValue ReadValue(const XmlElement& e, const AdxHeader& header, std::string& problem) {
    FieldReader fields(e, problem);
    AdxValue value;
    value.offset = fields.Hex("packetoffset");
    value.bits = fields.Int("sizeinbits").value_or(header.defaultBits);
    const auto flags = fields.Hex("flags");
    value.flags = flags.value_or(0);
    value.isSigned = flags ? (*flags & 0x1U) != 0 : header.defaultSigned;
    value.isSigned = fields.Flag("signed").value_or(value.isSigned);
    value.lsbFirst = fields.Flag("lsbfirst").value_or(header.defaultLsbFirst);
    value.isFloat = fields.Flag("float").value_or(header.defaultFloat);
    value.units = Clipped(fields.Text("units").value_or(""));
    const XmlElement* range = e.Child("range");
    value.rangeLow = fields.RealAttribute(range, "low");
    value.rangeHigh = fields.RealAttribute(range, "high");
    const XmlElement* alarms = e.Child("alarms");
    value.alarmLow = fields.RealAttribute(alarms, "low");
    value.alarmHigh = fields.RealAttribute(alarms, "high");
    value.digits = fields.Int("digcount");
    if (!value.digits) {
        value.digits = header.defaultDigits;
    }
    value.parent = fields.Hex("parentcmdidhash");
    if (const XmlElement* math = e.Child("MATH")) {
        ReadMath(*math, fields, problem, value);
    }
    return value;
}

AdxBitMask ReadBitMask(const XmlElement& e, std::string& problem) {
    FieldReader fields(e, problem);
    AdxBitMask mask;
    mask.offset = fields.Hex("packetoffset");
    const auto operand = fields.Hex("operand");
    const auto result = fields.Hex("result");
    if (!operand) {
        fields.Note("it has no operand");
    }
    mask.operand = operand.value_or(0);
    mask.result = result.value_or(0);
    mask.bitOperation = Clipped(fields.Text("bitop").value_or("AND"));
    mask.trueText = Clipped(fields.Text("truestring").value_or(""), 100);
    mask.falseText = Clipped(fields.Text("falsestring").value_or(""), 100);
    mask.parent = fields.Hex("parentcmdidhash");
    return mask;
}

AdxLookupTable ReadLookupTable(const XmlElement& e, std::string& problem) {
    FieldReader fields(e, problem);
    AdxLookupTable table;
    table.lookupMode = fields.Int("lookupmode");
    for (const XmlElement& child : e.children) {
        if (!EqualsIgnoringCase(child.name, "tableentry")) {
            continue;
        }
        const auto input = fields.RealAttribute(&child, "input");
        const auto output = fields.RealAttribute(&child, "output");
        if (!input || !output) {
            fields.Note("a tableentry lacks its input or output");
            continue;
        }
        table.entries.push_back({*input, *output});
    }
    return table;
}

constexpr std::array<std::pair<std::string_view, AdxKind>, 8> kKinds = {{
    {"ADXHEADER", AdxKind::Header},
    {"ADXCSENDCOMMAND", AdxKind::SendCommand},
    {"ADXCLISTENPACKET", AdxKind::ListenPacket},
    {"ADXMACRO", AdxKind::Macro},
    {"ADXCLISTENSILENCE", AdxKind::Silence},
    {"ADXVALUE", AdxKind::Value},
    {"ADXBITMASK", AdxKind::BitMask},
    {"ADXLOOKUPTABLE", AdxKind::LookupTable},
}};

AdxKind KindOf(std::string_view element) {
    for (const auto& [name, kind] : kKinds) {
        if (EqualsIgnoringCase(element, name)) {
            return kind;
        }
    }
    return AdxKind::Other;
}

AdxObject ReadObject(const XmlElement& e, const AdxHeader& header) {
    AdxObject object;
    object.kind = KindOf(e.name);
    object.element = e.name;
    object.line = e.line;
    object.id = Clipped(AdxField(e, "id").value_or(""), 100);
    object.title = Clipped(e.Attribute("title") ? *e.Attribute("title") : "", 200);
    if (const std::string* hash = e.Attribute("idhash")) {
        object.idHash = ParseAdxHex(*hash);
        if (!object.idHash) {
            object.problem = "its idhash \"" + Clipped(*hash) + "\" is not a hex number";
        }
    }
    std::string& problem = object.problem;
    switch (object.kind) {
        case AdxKind::Header:
            object.data = ReadHeader(e, problem);
            break;
        case AdxKind::SendCommand:
            object.data = ReadSendCommand(e, problem);
            break;
        case AdxKind::ListenPacket:
            object.data = ReadListenPacket(e, problem);
            break;
        case AdxKind::Macro:
            object.data = ReadMacro(e, problem);
            break;
        case AdxKind::Value:
            object.data = ReadValue(e, header, problem);
            break;
        case AdxKind::BitMask:
            object.data = ReadBitMask(e, problem);
            break;
        case AdxKind::LookupTable:
            object.data = ReadLookupTable(e, problem);
            break;
        case AdxKind::Silence:
        case AdxKind::Other:
            break;
    }
    return object;
}

}  // namespace

std::string AdxObject::Name() const {
    if (!title.empty()) {
        return title;
    }
    return id.empty() ? element : id;
}

const AdxHeader& AdxDocument::Header() const {
    static const AdxHeader kNoHeader;
    for (const AdxObject& object : objects) {
        if (const auto* header = std::get_if<AdxHeader>(&object.data)) {
            return *header;
        }
    }
    return kNoHeader;
}

const AdxObject* AdxDocument::FindById(const std::string& id) const {
    if (id.empty()) {
        return nullptr;
    }
    for (const AdxObject& object : objects) {
        if (object.id == id) {
            return &object;
        }
    }
    for (const AdxObject& object : objects) {
        if (EqualsIgnoringCase(object.id, id)) {
            return &object;
        }
    }
    const auto hash = ParseAdxHex(id);
    return hash && id.size() > 2 && (id[1] == 'x' || id[1] == 'X') ? FindByHash(*hash) : nullptr;
}

const AdxObject* AdxDocument::FindByHash(std::uint32_t hash) const {
    for (const AdxObject& object : objects) {
        if (object.idHash == hash) {
            return &object;
        }
    }
    return nullptr;
}

std::size_t AdxDocument::IndexOf(const AdxObject* object) const {
    return static_cast<std::size_t>(object - objects.data());
}

std::optional<AdxDocument> ReadAdxDocument(const XmlElement& root, std::string& error) {
    if (!EqualsIgnoringCase(root.name, "ADXFORMAT")) {
        error = "its root element is <" + root.name +
                ">, not <ADXFORMAT>: this is not an ADX definition file";
        return std::nullopt;
    }
    // Values take their size, sign and byte order from the header wherever it stands.
    AdxHeader header;
    for (const XmlElement& child : root.children) {
        if (KindOf(child.name) == AdxKind::Header) {
            std::string ignored;
            header = ReadHeader(child, ignored);
            break;
        }
    }
    AdxDocument document;
    for (const XmlElement& child : root.children) {
        document.objects.push_back(ReadObject(child, header));
    }
    return document;
}

}  // namespace vekaton
