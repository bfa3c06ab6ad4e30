#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "definitions/XmlReader.h"

namespace vekaton {

// Where a text position lies: the 1-based line and column (in characters) of byte `offset`.
// CR LF, LF and a lone CR each end a line.
struct TextPlace {
    int line = 1;
    int column = 1;
};
TextPlace PlaceOfOffset(std::string_view text, std::size_t offset);

// The document's bytes as UTF-8: byte order marks are taken off, UTF-16 is converted, and the
// encoding the XML declaration names is honoured (see ParseXml). An encoding this reader does
// not know gives an error at the declaration.
std::variant<std::string, XmlError> DecodeXmlBytes(std::string_view bytes);

}  // namespace vekaton
