// ADX import: any bytes must read without touching memory out of bounds, in bounded time and
// memory. What is accepted keeps the report's promise (one line per object of the file, none
// broken by a control character) and writes only formulas the real builder takes, into a
// parameter file that reads back as written.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "decode/ParameterTable.h"
#include "decode/Parser.h"
#include "decode/ParserErrors.h"
#include "definitions/AdxImport.h"
#include "definitions/XmlReader.h"
#include "set/ParameterFile.h"

namespace {

bool HasControl(const std::string& line) {
    for (const char c : line) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            return true;
        }
    }
    return false;
}

std::size_t RootObjects(std::string_view text) {
    const vekaton::XmlReadResult xml = vekaton::ParseXml(text);
    return xml.root ? xml.root->children.size() : 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const vekaton::AdxImportResult result = vekaton::ImportAdx(text);
    if (!result.import) {
        if (result.error.empty() || HasControl(result.error)) {
            std::abort();
        }
        return 0;
    }
    const vekaton::AdxImport& import = *result.import;
    if (import.report.size() != RootObjects(text)) {
        std::abort();
    }
    for (const std::string& line : import.report) {
        if (line.empty() || HasControl(line)) {
            std::abort();
        }
    }
    vekaton::TParser parser;
    for (int p = vekaton::ParameterTable::kFirstPosition;
         p <= vekaton::ParameterTable::kLastPosition; ++p) {
        const vekaton::ParameterRecord& record = import.table->At(p);
        if (p > import.settings.dataBytes &&
            (!record.Formula().empty() || record.IsDigital || !record.Descriptions[0].empty())) {
            std::abort();  // nothing beyond the frame's data bytes
        }
        if (!record.Formula().empty()) {
            try {
                parser.Compile(record.Formula());
            } catch (const vekaton::EMathParserError&) {
                std::abort();
            }
        }
    }
    const std::string cfg = vekaton::WriteParameterText(*import.table, {});
    vekaton::ParameterTable read;
    const vekaton::ParameterFileReadResult reading = vekaton::ReadParameterText(cfg, read);
    if (reading.error || !reading.warnings.empty() ||
        vekaton::WriteParameterText(read, {}) != cfg) {
        std::abort();
    }
    return 0;
}
