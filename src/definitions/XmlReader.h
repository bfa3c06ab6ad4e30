#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vekaton {

// Limits of the XML reader. Definition files are a few hundred kilobytes and a few levels deep;
// anything far beyond that is refused before it can cost time or memory.
inline constexpr std::size_t kMaxXmlBytes = 16U * 1024U * 1024U;
inline constexpr int kMaxXmlDepth = 32;
inline constexpr std::size_t kMaxXmlNodes = 250000;  // elements and attributes together

struct XmlAttribute {
    std::string name;
    std::string value;
};

// One element with its attributes, child elements and the character data directly inside it.
// Text is UTF-8 with the five predefined entities and character references replaced.
struct XmlElement {
    std::string name;
    std::vector<XmlAttribute> attributes;
    std::vector<XmlElement> children;
    std::string text;
    int line = 0;  // where the start tag begins, 1-based
    int column = 0;

    // Names are matched without regard to ASCII letter case; the first match wins.
    const std::string* Attribute(std::string_view attributeName) const;
    const XmlElement* Child(std::string_view childName) const;
};

// Where and why a text is not accepted as XML. Columns count characters, not bytes.
struct XmlError {
    int line = 0;
    int column = 0;
    std::string message;
};
// "line 3, column 14: " followed by the message.
std::string DescribeXmlError(const XmlError& error);

struct XmlReadResult {
    std::optional<XmlElement> root;  // set exactly when error is not
    std::optional<XmlError> error;
};

// Reads an XML document held in memory. Takes no document type declaration, expands no entity
// but the five of XML and character references, and reads nothing besides the text: there is
// no way for a document to reach another file or the network. A text over kMaxXmlBytes, an
// element nested deeper than kMaxXmlDepth and a document of more than kMaxXmlNodes nodes are
// refused at the place where the limit is passed. Accepts UTF-8 (with or without its byte order
// mark), UTF-16 with a byte order mark, and the single-byte Windows and ISO 8859-1 encodings
// when the declaration names them; undeclared text that is not UTF-8 is read as Windows-1252.
XmlReadResult ParseXml(std::string_view bytes);

// Reads a regular file through ParseXml, never more than kMaxXmlBytes + 1 bytes of it. A file
// that cannot be opened or read gives an error at line 0 with the reason.
XmlReadResult ReadXmlFile(const std::filesystem::path& path);

}  // namespace vekaton
