#include "definitions/XmlReader.h"

#include <span>

#include "definitions/XmlEncoding.h"
#include "definitions/XmlText.h"
#include "files/RegularFile.h"
#include "platform/Files.h"

namespace vekaton {
namespace {

constexpr std::size_t kMaxNameLength = 256;

// A failure inside the parser, turned into an XmlError at its edge.
struct XmlFault {
    XmlError error;
};

bool IsNameStart(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || c >= 0x80;
}

bool IsNameChar(unsigned char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

bool IsName(std::string_view text) {
    if (text.empty() || !IsNameStart(static_cast<unsigned char>(text[0]))) {
        return false;
    }
    for (const char c : text) {
        if (!IsNameChar(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return true;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// A control character that XML does not allow in a document (tab, LF and CR are allowed).
bool IsForbiddenControl(unsigned char c) {
    return (c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F;
}

class Parser {
  public:
    explicit Parser(std::string_view text) : text_(text) {}

    XmlElement Document() {
        std::optional<XmlElement> root;
        for (;;) {
            SkipSpace();
            if (AtEnd()) {
                break;
            }
            if (StartsWith("<!DOCTYPE") || StartsWith("<!doctype")) {
                Fail(
                    "the file declares a document type (<!DOCTYPE>); document types are not "
                    "read, so no entity of its own and no external file can be used");
            }
            if (StartsWith("<!--")) {
                Comment();
            } else if (StartsWith("<?")) {
                ProcessingInstruction();
            } else if (Peek() == '<' && !root) {
                root = Element(1);
            } else if (Peek() == '<') {
                Fail("a second root element; an XML file has exactly one");
            } else {
                Fail(root ? "text after the end of the root element"
                          : "text before the root element; this is not an XML file");
            }
        }
        if (!root) {
            Fail("the file holds no XML element");
        }
        return std::move(*root);
    }

  private:
    [[noreturn]] void Fail(std::string message) const { FailAt(line_, column_, message); }
    [[noreturn]] static void FailAt(int line, int column, std::string message) {
        throw XmlFault{{line, column, std::move(message)}};
    }

    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek(std::size_t ahead = 0) const {
        return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0';
    }
    bool StartsWith(std::string_view prefix) const {
        return text_.substr(pos_, prefix.size()) == prefix;
    }

    void Advance(std::size_t count = 1) {
        for (std::size_t i = 0; i < count && pos_ < text_.size(); ++i, ++pos_) {
            const auto c = static_cast<unsigned char>(text_[pos_]);
            if (c == '\n' || (c == '\r' && Peek(1) != '\n')) {
                ++line_;
                column_ = 1;
            } else if (c != '\r' && (c & 0xC0U) != 0x80U) {
                ++column_;
            }
        }
    }

    bool SkipSpace() {
        const std::size_t start = pos_;
        while (!AtEnd() && IsSpace(Peek())) {
            Advance();
        }
        return pos_ != start;
    }

    // Counts an element or attribute that starts at line, column.
    void CountNode(int line, int column) {
        if (++nodes_ > kMaxXmlNodes) {
            FailAt(line, column,
                   "more than " + std::to_string(kMaxXmlNodes) +
                       " elements and attributes, far more than a definition file holds");
        }
    }

    std::string Name(std::string_view what) {
        if (!IsNameStart(static_cast<unsigned char>(Peek()))) {
            Fail("expected " + std::string(what));
        }
        const std::size_t start = pos_;
        while (!AtEnd() && IsNameChar(static_cast<unsigned char>(Peek()))) {
            if (pos_ - start >= kMaxNameLength) {
                Fail("a name longer than " + std::to_string(kMaxNameLength) + " characters");
            }
            Advance();
        }
        return std::string(text_.substr(start, pos_ - start));
    }

    // Skips from `open` to the end of `close`; a construct never closed is an error at its start.
    void SkipPast(std::string_view open, std::string_view close, std::string_view what) {
        const int line = line_;
        const int column = column_;
        const std::size_t end = text_.find(close, pos_ + open.size());
        if (end == std::string_view::npos) {
            FailAt(line, column, std::string(what) + " that is never closed");
        }
        Advance(end + close.size() - pos_);
    }

    void Comment() { SkipPast("<!--", "-->", "a comment"); }
    void ProcessingInstruction() { SkipPast("<?", "?>", "a processing instruction"); }

    void CharacterData(std::string& out) {
        const int line = line_;
        const int column = column_;
        const std::size_t start = pos_ + 9;  // after "<![CDATA["
        const std::size_t end = text_.find("]]>", start);
        if (end == std::string_view::npos) {
            FailAt(line, column, "a CDATA section that is never closed");
        }
        CheckCharacters(start, end);
        out.append(text_.substr(start, end - start));
        Advance(end + 3 - pos_);
    }

    // Control characters mark a binary file or a damaged one: refuse them where they stand.
    void CheckCharacters(std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            if (IsForbiddenControl(static_cast<unsigned char>(text_[i]))) {
                Advance(i - pos_);
                Fail("a control character (code " +
                     std::to_string(static_cast<unsigned char>(text_[i])) +
                     ") that XML does not allow");
            }
        }
    }

    // At '&': appends what the reference stands for.
    void Reference(std::string& out) {
        const std::size_t semicolon = text_.find(';', pos_);
        if (semicolon == std::string_view::npos || semicolon - pos_ > kMaxNameLength) {
            Fail("a '&' that starts no entity; write a plain '&' as &amp;");
        }
        const std::string_view body = text_.substr(pos_ + 1, semicolon - pos_ - 1);
        const bool named = !body.empty() && (body[0] == '#' || IsName(body));
        if (!named) {
            Fail("a '&' that starts no entity; write a plain '&' as &amp;");
        }
        if (body[0] == '#') {
            const auto code = CharacterReferenceValue(body.substr(1));
            if (!code) {
                Fail("the character reference &" + Clipped(body, 20) +
                     "; names no character that XML allows");
            }
            AppendUtf8(out, *code);
        } else if (const auto entity = PredefinedEntity(body)) {
            out += *entity;
        } else {
            Fail("the entity &" + Clipped(body, 40) +
                 "; is not one of XML's own (&amp; &lt; &gt; &quot; &apos;); no other entity is "
                 "expanded");
        }
        Advance(semicolon + 1 - pos_);
    }

    std::string AttributeValue() {
        const char quote = Peek();
        if (quote != '"' && quote != '\'') {
            Fail("expected an attribute value in quotes");
        }
        const int line = line_;
        const int column = column_;
        Advance();
        std::string value;
        for (;;) {
            if (AtEnd()) {
                FailAt(line, column, "an attribute value that is never closed");
            }
            const char c = Peek();
            if (c == quote) {
                Advance();
                return value;
            }
            if (c == '<') {
                Fail("a '<' inside an attribute value; write it as &lt;");
            }
            if (c == '&') {
                Reference(value);
                continue;
            }
            CheckCharacters(pos_, pos_ + 1);
            value += IsSpace(c) ? ' ' : c;
            Advance();
        }
    }

    XmlElement Element(int depth) {
        XmlElement element;
        element.line = line_;
        element.column = column_;
        if (depth > kMaxXmlDepth) {
            Fail("elements nested more than " + std::to_string(kMaxXmlDepth) +
                 " deep, far deeper than a definition file goes");
        }
        Advance();  // '<'
        element.name = Name("an element name after '<'");
        CountNode(element.line, element.column);
        for (;;) {
            const bool spaced = SkipSpace();
            if (StartsWith("/>")) {
                Advance(2);
                return element;
            }
            if (Peek() == '>') {
                Advance();
                break;
            }
            if (AtEnd()) {
                FailAt(element.line, element.column,
                       "the start tag <" + element.name + " is never closed");
            }
            if (!spaced) {
                Fail("expected a blank, '>' or '/>' in the start tag <" + element.name);
            }
            const int line = line_;
            const int column = column_;
            XmlAttribute attribute;
            attribute.name = Name("an attribute name, '>' or '/>'");
            SkipSpace();
            if (Peek() != '=') {
                Fail("expected '=' after the attribute " + attribute.name);
            }
            Advance();
            SkipSpace();
            attribute.value = AttributeValue();
            for (const XmlAttribute& other : element.attributes) {
                if (other.name == attribute.name) {
                    FailAt(line, column, "the attribute " + attribute.name + " is given twice");
                }
            }
            CountNode(line, column);
            element.attributes.push_back(std::move(attribute));
        }
        Content(element, depth);
        return element;
    }

    void Content(XmlElement& element, int depth) {
        for (;;) {
            if (AtEnd()) {
                FailAt(element.line, element.column,
                       "the element <" + element.name + "> is never closed");
            }
            const char c = Peek();
            if (c == '&') {
                Reference(element.text);
            } else if (c != '<') {
                const std::size_t end = std::min(text_.find_first_of("<&", pos_), text_.size());
                CheckCharacters(pos_, end);
                element.text.append(text_.substr(pos_, end - pos_));
                Advance(end - pos_);
            } else if (StartsWith("</")) {
                const int line = line_;
                const int column = column_;
                Advance(2);
                const std::string name = Name("an element name after '</'");
                if (name != element.name) {
                    FailAt(line, column,
                           "the end tag </" + name + "> does not match <" + element.name +
                               "> at line " + std::to_string(element.line) + ", column " +
                               std::to_string(element.column));
                }
                SkipSpace();
                if (Peek() != '>') {
                    Fail("expected '>' to end the end tag </" + name);
                }
                Advance();
                return;
            } else if (StartsWith("<!--")) {
                Comment();
            } else if (StartsWith("<![CDATA[")) {
                CharacterData(element.text);
            } else if (StartsWith("<!DOCTYPE") || StartsWith("<!doctype")) {
                Fail("a document type (<!DOCTYPE>) inside an element; document types are not read");
            } else if (StartsWith("<!")) {
                Fail("markup starting with '<!' that is not a comment or CDATA section");
            } else if (StartsWith("<?")) {
                ProcessingInstruction();
            } else {
                element.children.push_back(Element(depth + 1));
            }
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
    int column_ = 1;
    std::size_t nodes_ = 0;
};

XmlReadResult Failure(XmlError error) {
    // Names and text of the file stand in messages: they stay on one line, with no control
    // character that could steer a terminal.
    error.message = Clipped(error.message, 300);
    XmlReadResult result;
    result.error = std::move(error);
    return result;
}

}  // namespace

const std::string* XmlElement::Attribute(std::string_view attributeName) const {
    for (const XmlAttribute& attribute : attributes) {
        if (EqualsIgnoringCase(attribute.name, attributeName)) {
            return &attribute.value;
        }
    }
    return nullptr;
}

const XmlElement* XmlElement::Child(std::string_view childName) const {
    for (const XmlElement& child : children) {
        if (EqualsIgnoringCase(child.name, childName)) {
            return &child;
        }
    }
    return nullptr;
}

std::string DescribeXmlError(const XmlError& error) {
    if (error.line <= 0) {
        return error.message;
    }
    return "line " + std::to_string(error.line) + ", column " + std::to_string(error.column) +
           ": " + error.message;
}

XmlReadResult ParseXml(std::string_view bytes) {
    if (bytes.size() > kMaxXmlBytes) {
        const TextPlace place = PlaceOfOffset(bytes, kMaxXmlBytes);
        return Failure({place.line, place.column,
                        "the file is larger than 16 MB, far larger than a definition file; it "
                        "is refused where it passes that size"});
    }
    auto decoded = DecodeXmlBytes(bytes);
    if (auto* error = std::get_if<XmlError>(&decoded)) {
        return Failure(std::move(*error));
    }
    try {
        XmlReadResult result;
        result.root = Parser(std::get<std::string>(decoded)).Document();
        return result;
    } catch (const XmlFault& fault) {
        return Failure(fault.error);
    }
}

XmlReadResult ReadXmlFile(const std::filesystem::path& path) {
    const OpenedFile file = OpenRegularForReading(path);
    if (!file.IsOpen()) {
        return Failure({0, 0, file.reason});
    }
    // One byte beyond the limit tells a file that is too large; the rest is never read.
    std::string bytes(kMaxXmlBytes + 1, '\0');
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        std::error_code error;
        const std::size_t n = platform::Read(
            file.fd, std::as_writable_bytes(std::span(bytes).subspan(filled)), error);
        if (error) {
            return Failure({0, 0, "could not be read: " + error.message()});
        }
        if (n == 0) {
            break;
        }
        filled += n;
    }
    bytes.resize(filled);
    return ParseXml(bytes);
}

}  // namespace vekaton
