// Where things stand in parsed text: the line and message of a failed parse,
// and the line of each node of a parsed document.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/atomic_file.h"
#include "support/temp_folder.h"
#include "xml_test_util.h"

namespace {

struct ParseError {
    bool failed = false;
    int line = -1;
    std::wstring message;
};

ParseError ErrorOf(const XMLParser& parser) {
    ParseError error;
    error.failed = parser.GetParseError(error.line, error.message);
    return error;
}

TEST(XmlPosition, FailedParsesReportTheFirstFaultAndItsLine) {
    const std::tuple<const char*, int, const wchar_t*> cases[] = {
        {"<a>\n<b>\n</a>", 3, L"mismatch"},  // not the later "premature end"
        {"<a x='1' x='2'/>", 1, L"redefined"}, {"<a>\n\n\n&undefined;</a>", 4, L"undefined"},
        {"<a>\n<p:b/>\n</a>", 2, L"prefix p"}, {"", 1, L"empty"},
    };
    for (const auto& [xml, line, words] : cases) {
        XMLParser parser;
        EXPECT_FALSE(parser.LoadXmlBytes(xml)) << xml;
        const ParseError error = ErrorOf(parser);
        EXPECT_TRUE(error.failed) << xml;
        EXPECT_EQ(error.line, line) << xml << error.message;
        EXPECT_NE(error.message.find(words), std::wstring::npos) << xml << error.message;
        EXPECT_NE(error.message.back(), L'\n');
    }

    XMLParser parser;
    EXPECT_FALSE(parser.SetXml(L"<r>\n<open>\n</r>"));
    EXPECT_EQ(ErrorOf(parser).line, 3);
    TempFolder folder;
    const std::filesystem::path file = folder.path() / "bad.xml";
    ASSERT_TRUE(VardelCommon::WriteFileAtomically(file, "<r>\n\n<x></y></r>"));
    EXPECT_FALSE(parser.LoadXmlDocument(file.wstring().c_str()));
    EXPECT_EQ(ErrorOf(parser).line, 3);
}

TEST(XmlPosition, SuccessClearsTheErrorAndUnreadFilesKeepIt) {
    XMLParser parser;
    EXPECT_FALSE(ErrorOf(parser).failed);
    ASSERT_FALSE(parser.SetXml(nullptr));
    EXPECT_FALSE(parser.LoadXmlDocument(L"/no/such/file.xml"));
    EXPECT_TRUE(ErrorOf(parser).failed);

    ParseError untouched{false, 7, L"kept"};
    ASSERT_TRUE(parser.LoadXmlBytes("<a/>"));
    EXPECT_FALSE(parser.GetParseError(untouched.line, untouched.message));
    EXPECT_EQ(untouched.line, 7);
    EXPECT_EQ(untouched.message, L"kept");

    // Copies share the document, and so its last parse.
    const XMLParser copy = parser;
    ASSERT_FALSE(parser.SetXml(L"<"));
    EXPECT_TRUE(ErrorOf(copy).failed);
}

TEST(XmlPosition, NodesKnowTheirLines) {
    std::string xml = "<?xml version='1.0'?>\n<root>\n  <a\n   x='1'/>\n  <!-- c -->\n  <b>t</b>";
    xml.append(70000, '\n');
    xml += "<far/></root>";
    XMLParser parser;
    ASSERT_TRUE(parser.LoadXmlBytes(xml));
    XMLNode root = parser.GetRootNode();
    EXPECT_EQ(root.GetLineNumber(), 2);
    // An element's line is where its start tag ends; an attribute has its
    // element's; lines past 65535 are still known.
    const std::pair<const wchar_t*, int> nodes[] = {{L"a", 4}, {L"a/@x", 4},     {L"comment()", 5},
                                                    {L"b", 6}, {L"b/text()", 6}, {L"far", 70006}};
    for (const auto& [path, line] : nodes) {
        XMLNode node;
        ASSERT_TRUE(root.GetChildNode(path, node)) << path;
        EXPECT_EQ(node.GetLineNumber(), line) << path;
    }
    EXPECT_EQ(XMLNode().GetLineNumber(), 0);
    EXPECT_EQ(root.AddNode(L"new").GetLineNumber(), 0);
    XMLNode document;
    ASSERT_TRUE(root.GetChildNode(L"/", document));
    EXPECT_EQ(document.GetLineNumber(), 0);

    ASSERT_FALSE(parser.LoadXmlBytes(xml + "<"));
    EXPECT_EQ(ErrorOf(parser).line, 70006);
}

}  // namespace
