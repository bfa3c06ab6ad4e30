#pragma once

// Hand-written ADX files for the import tests: the usual 8192-baud GM link (mode 1 request,
// 3 header bytes, 20 data bytes) around the objects a test is about.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "definitions/AdxImport.h"

namespace vekaton::testing {

inline constexpr std::string_view kAdxLink = R"(
<ADXHEADER id="HDR" idhash="0x00000001" title="Header">
  <baud>8192</baud>
  <DEFAULTS datasizeinbits="8" sigdigits="2" outputtype="3" signed="0" lsbfirst="0" float="0" />
  <monitorcmd>POLL</monitorcmd>
</ADXHEADER>
<ADXMACRO id="POLL" idhash="0x00000004" title="Poll" repeatcount="1">
  <NODE commandID="CMD1" repeatcount="1" />
  <NODE commandID="CMD1RE" repeatcount="1" />
</ADXMACRO>
<ADXCSENDCOMMAND id="CMD1" idhash="0x11111111" title="Mode 1 request">
  <SNDCMDCHECKSUM type="2" />
  <bytestring size="0x3">805601</bytestring>
</ADXCSENDCOMMAND>
<ADXCLISTENPACKET id="CMD1RE" idhash="0x22222222" title="Mode 1 reply" flags="0x00000005">
  <packetbodylength>23</packetbodylength>
  <packetoffsetinbody>3</packetoffsetinbody>
  <packetsize>20</packetsize>
</ADXCLISTENPACKET>
)";

// The whole file: the link, then the objects.
inline std::string AdxFile(std::string_view objects, std::string_view link = kAdxLink) {
    return "<?xml version=\"1.0\"?>\n<ADXFORMAT version=\"1.01\">" + std::string(link) +
           std::string(objects) + "\n</ADXFORMAT>\n";
}

// An ADXVALUE with the fields given as XML inside it.
inline std::string AdxValue(std::string_view title, std::string_view hash,
                            std::string_view fields) {
    return "<ADXVALUE id=\"V" + std::string(hash) + "\" idhash=\"" + std::string(hash) +
           "\" title=\"" + std::string(title) + "\">" + std::string(fields) + "</ADXVALUE>\n";
}

// An ADXBITMASK at a data byte (0-based, hex) with its operand and result.
inline std::string AdxBitMask(std::string_view title, std::string_view offset,
                              std::string_view operand, std::string_view result,
                              std::string_view texts = "") {
    std::uint32_t hash = 2166136261U;  // FNV-1a of the title: distinct masks, distinct hashes
    for (const char c : title) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619U;
    }
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08X", hash);
    return "<ADXBITMASK id=\"B\" idhash=\"" + std::string(hex) + "\" title=\"" +
           std::string(title) + "\">" + std::string(texts) + "<packetoffset>" +
           std::string(offset) + "</packetoffset><operand>" + std::string(operand) +
           "</operand><bitop>AND</bitop><result>" + std::string(result) +
           "</result></ADXBITMASK>\n";
}

// The report line of the object with this title, without the title; "" when there is none.
inline std::string ReportOf(const AdxImport& import, std::string_view title) {
    const std::string lead = std::string(title) + ": ";
    for (const std::string& line : import.report) {
        if (line.rfind(lead, 0) == 0) {
            return line.substr(lead.size());
        }
    }
    return "";
}

}  // namespace vekaton::testing
