// The XML reader of definition files: what it takes in, and every hostile or broken file it
// refuses at once, naming the line and column where the file goes wrong.
#include <gtest/gtest.h>

#ifndef _WIN32  // POSIX-only: FIFOs
#include <sys/stat.h>
#endif

#include <chrono>
#include <fstream>

#include "definitions/XmlReader.h"
#include "files/ScratchFolder.h"

namespace vekaton {
namespace {

const std::filesystem::path kHostile =
    std::filesystem::path(VEKATON_TEST_DATA_DIR) / "adx" / "hostile";

XmlError ErrorOf(std::string_view text) {
    const XmlReadResult result = ParseXml(text);
    EXPECT_FALSE(result.root);
    return result.error.value_or(XmlError{-1, -1, "accepted"});
}

TEST(XmlReaderTest, ReadsElementsAttributesTextAndReferences) {
    const XmlReadResult result = ParseXml(
        "<?xml version=\"1.0\"?>\r\n<!-- before -->\r\n<Root a='1' b=\"x &amp; y\">\r\n"
        "  <Child title=\"line&#013;&#010;two\">t&lt;&gt;&quot;&apos;&#x41;&#66;</Child>\r\n"
        "  <child/><![CDATA[<raw> & text]]><?pi ignored?>\r\n</Root>\r\n<!-- after -->");
    ASSERT_TRUE(result.root) << DescribeXmlError(*result.error);
    const XmlElement& root = *result.root;
    EXPECT_EQ(root.name, "Root");
    EXPECT_EQ(*root.Attribute("B"), "x & y");
    ASSERT_EQ(root.children.size(), 2U);
    EXPECT_EQ(root.children[0].text, "t<>\"'AB");
    EXPECT_EQ(*root.children[0].Attribute("title"), "line\r\ntwo");
    EXPECT_EQ(root.children[0].line, 4);
    EXPECT_EQ(root.children[0].column, 3);
    EXPECT_EQ(root.Child("CHILD"), &root.children[0]);  // names ignore letter case
    EXPECT_NE(root.text.find("<raw> & text"), std::string::npos);
}

TEST(XmlReaderTest, ReadsTheEncodingsDefinitionFilesComeIn) {
    // Latin-1 declared, Windows-1252 undeclared, UTF-8 with its mark, UTF-16 with its mark.
    const auto title = [](std::string_view text) {
        const XmlReadResult result = ParseXml(text);
        return result.root ? *result.root->Attribute("t") : "refused";
    };
    EXPECT_EQ(title("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a t=\"\xB0"
                    "F\"/>"),
              "\u00B0F");
    EXPECT_EQ(title("<a t=\"\x80\"/>"), "\u20AC");
    EXPECT_EQ(title("\xEF\xBB\xBF<a t=\"\u00B0C\"/>"), "\u00B0C");
    EXPECT_EQ(title(std::string("\xFF\xFE<\0a\0 \0t\0=\0'\0x\0'\0/\0>\0", 22)), "x");
    const XmlError unknown = ErrorOf("<?xml version=\"1.0\" encoding=\"EBCDIC\"?><a/>");
    EXPECT_EQ(unknown.line, 1);
    EXPECT_NE(unknown.message.find("ebcdic"), std::string::npos);
}

TEST(XmlReaderTest, RefusesADocumentTypeWhereItStands) {
    for (const char* name : {"entity-bomb.adx", "external-entity.adx"}) {
        const auto start = std::chrono::steady_clock::now();
        const XmlReadResult result = ReadXmlFile(kHostile / name);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << name;
        ASSERT_TRUE(result.error) << name;
        EXPECT_EQ(result.error->line, 2) << name;
        EXPECT_EQ(result.error->column, 1) << name;
        EXPECT_NE(result.error->message.find("document type"), std::string::npos) << name;
        EXPECT_EQ(DescribeXmlError(*result.error).rfind("line 2, column 1: ", 0), 0U);
    }
    EXPECT_EQ(ErrorOf("<a>\n  <!DOCTYPE a></a>").line, 2);
}

TEST(XmlReaderTest, ExpandsNoEntityBeyondXmlsOwn) {
    const XmlReadResult result = ReadXmlFile(kHostile / "undeclared-entity.adx");
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->line, 3);
    EXPECT_EQ(result.error->column, 57);  // at the '&' of &secret;
    EXPECT_NE(result.error->message.find("&secret;"), std::string::npos);
    EXPECT_EQ(ErrorOf("<a>fish & chips</a>").column, 9);
    EXPECT_EQ(ErrorOf("<a>&#0;</a>").column, 4);        // NUL is no XML character
    EXPECT_EQ(ErrorOf("<a>&#x110000;</a>").column, 4);  // beyond Unicode
    EXPECT_EQ(ErrorOf("<a>&#99999999999;</a>").column, 4);
}

TEST(XmlReaderTest, RefusesDeepNestingAtTheFirstElementTooDeep) {
    const XmlReadResult result = ReadXmlFile(kHostile / "deep-nesting.adx");
    ASSERT_TRUE(result.error);
    // ADXFORMAT is level 1 on line 2; the NEST of level 33 is on line 34, indented by 7.
    EXPECT_EQ(result.error->line, 34);
    EXPECT_EQ(result.error->column, 8);
    EXPECT_NE(result.error->message.find("nested more than 32"), std::string::npos);

    std::string deepest;
    for (int i = 0; i < kMaxXmlDepth; ++i) {
        deepest += "<a>";
    }
    for (int i = 0; i < kMaxXmlDepth; ++i) {
        deepest += "</a>";
    }
    EXPECT_TRUE(ParseXml(deepest).root);
    EXPECT_FALSE(ParseXml("<b>" + deepest + "</b>").root);
    // A million opening tags cannot reach the stack either.
    EXPECT_EQ(ErrorOf(std::string(1000000, '<') + "a>").column, 2);
    std::string million;
    for (int i = 0; i < 1000000; ++i) {
        million += "<a>";
    }
    EXPECT_EQ(ErrorOf(million).column, 3 * kMaxXmlDepth + 1);
}

TEST(XmlReaderTest, RefusesAFileOver16MegabytesWhereItPassesThatSize) {
    testing::ScratchFolder folder;
    {
        std::ofstream out(folder / "huge.adx", std::ios::binary);
        out << "<ADXFORMAT>\n";
        const std::string line = "<!-- " + std::string(90, 'x') + " -->\n";  // 100 bytes
        for (std::size_t written = 12; written < kMaxXmlBytes + 1000; written += line.size()) {
            out << line;
        }
    }
    const auto start = std::chrono::steady_clock::now();
    const XmlReadResult result = ReadXmlFile(folder / "huge.adx");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    ASSERT_TRUE(result.error);
    // Byte 16 MB lies on line 2 + (16 MB - 12) / 100, at its column.
    const std::size_t offset = kMaxXmlBytes - 12;
    EXPECT_EQ(result.error->line, static_cast<int>(2 + offset / 100));
    EXPECT_EQ(result.error->column, static_cast<int>(1 + offset % 100));
    EXPECT_NE(result.error->message.find("16 MB"), std::string::npos);

    // A sparse file of a terabyte is refused as quickly: only 16 MB are ever read.
    { std::ofstream out(folder / "sparse.adx", std::ios::binary); }
    std::filesystem::resize_file(folder / "sparse.adx", 1ULL << 40);
    const XmlReadResult sparse = ReadXmlFile(folder / "sparse.adx");
    ASSERT_TRUE(sparse.error);
    EXPECT_EQ(sparse.error->line, 1);
}

TEST(XmlReaderTest, RefusesMoreNodesThanADefinitionFileHas) {
    std::string many = "<r>";
    for (std::size_t i = 0; i < kMaxXmlNodes; ++i) {
        many += "<a/>";
    }
    many += "</r>";
    const XmlError error = ErrorOf(many);
    EXPECT_EQ(error.column, static_cast<int>(4 + 4 * (kMaxXmlNodes - 1)));
    EXPECT_NE(error.message.find("elements and attributes"), std::string::npos);
}

TEST(XmlReaderTest, NamesWhereABrokenFileBreaks) {
    struct Case {
        std::string_view text;
        int line;
        int column;
        std::string_view words;
    };
    const Case cases[] = {
        {"<a>\n<b></a>", 2, 4, "does not match <b>"},
        {"<a>\n  <b>", 2, 3, "never closed"},
        {"<a x='1' x='2'/>", 1, 10, "given twice"},
        {"<a x=1/>", 1, 6, "in quotes"},
        {"<a x='<'/>", 1, 7, "'<' inside"},
        {"<a>\x01</a>", 1, 4, "control character"},
        {"<a/><b/>", 1, 5, "second root"},
        {"hello", 1, 1, "not an XML file"},
        {"", 1, 1, "no XML element"},
        {"<a><!-- open</a>", 1, 4, "comment that is never closed"},
        {"<a><![CDATA[x</a>", 1, 4, "CDATA section that is never closed"},
        {"<a>\r\n\r\n  <", 3, 4, "element name"},
        {"<a\u00E9b x='1'>\n\u00E9\u00E9</a\u00E9b >x", 2, 10, "text after"},
    };
    for (const Case& c : cases) {
        const XmlError error = ErrorOf(c.text);
        EXPECT_EQ(error.line, c.line) << c.text;
        EXPECT_EQ(error.column, c.column) << c.text;
        EXPECT_NE(error.message.find(c.words), std::string::npos)
            << c.text << ": " << error.message;
    }
}

TEST(XmlReaderTest, ReadsOnlyRegularFiles) {
    testing::ScratchFolder folder;
    const XmlReadResult missing = ReadXmlFile(folder / "missing.adx");
    ASSERT_TRUE(missing.error);
    EXPECT_EQ(missing.error->line, 0);
    std::filesystem::create_directory(folder / "folder.adx");
    const XmlReadResult directory = ReadXmlFile(folder / "folder.adx");
    ASSERT_TRUE(directory.error);
    EXPECT_EQ(directory.error->line, 0);
    EXPECT_NE(directory.error->message.find("a folder"), std::string::npos)
        << directory.error->message;
}

#ifndef _WIN32  // POSIX-only: FIFOs
TEST(XmlReaderTest, RefusesAFifoWithoutWaitingForAWriter) {
    testing::ScratchFolder folder;
    ASSERT_EQ(::mkfifo((folder / "pipe.adx").c_str(), 0600), 0);
    const XmlReadResult pipe = ReadXmlFile(folder / "pipe.adx");
    ASSERT_TRUE(pipe.error);
    EXPECT_NE(pipe.error->message.find("FIFO"), std::string::npos);
}
#endif

}  // namespace
}  // namespace vekaton
