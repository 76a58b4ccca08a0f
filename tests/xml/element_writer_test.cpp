#include "xml/element_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "xml_test_util.h"

namespace {

using VardelXml::ElementWriter;
using VardelXml::NodeHandle;

// The document's own text, declared for UTF-16 as the writer declares it.
std::wstring DocumentText(XMLParser& parser) {
    parser.CreateXmlDocument(L"UTF-16");
    return XmlOf(parser);
}

std::wstring WrittenAsItIs(const XMLParser& parser) {
    std::wstring out;
    ElementWriter writer(parser.GetRootNode(), "UTF-16", out);
    writer.Write(writer.Root());
    writer.Finish();
    return out;
}

TEST(ElementWriter, WritesARootAsItIsAsTheDocumentsOwnText) {
    const std::vector<std::wstring> documents = {
        L"<r a=\"&lt;&gt;&amp;&quot;'&#9;&#10;&#13;\u00e9\U0001D11E\" b=''>"
        L"t&lt;&gt;&amp;&#13;'\"\t\n\u00e9\U0001D11E<e/><e></e><e>x</e></r>",
        L"<r xmlns=\"urn:d\" xmlns:p=\"urn:p\" p:a=\"1\" xml:lang=\"de\">"
        L"<p:e xmlns:q=\"urn:q\" q:b=\"2\"><f xmlns=\"\"/></p:e></r>",
        L"<r><!--c&<>--><?pi x&<?><?pi?><![CDATA[a<&]]>]]&gt;</r>",
    };
    for (const std::wstring& document : documents) {
        XMLParser parser = ParsedXml(document.c_str());
        // Declarations no parse keeps: quotes in namespace names.
        parser.GetRootNode().SetProperty(L"xmlns:s", L"urn:\"'&<");
        parser.GetRootNode().SetProperty(L"xmlns:d", L"urn:\"");
        EXPECT_EQ(WrittenAsItIs(parser), DocumentText(parser)) << document;
    }
}

// Children written one by one, as a table's cells are: short plain leaves
// take a shorter path, which must give the same text as every other.
TEST(ElementWriter, ChildrenWrittenOneByOneComeOutAsTheDocumentHoldsThem) {
    const std::wstring longText = std::wstring(240, L't') + L"&lt;&amp;&gt;" + L"uuuuuuuuuu";
    XMLParser parser = ParsedXml(
        (L"<r xmlns:p='urn:p'><c a='1' b=''>12.5</c><c/><c a='&lt;&quot;&#9;'>x&amp;y&#13;</c>"
         L"<c a='\u00e9'>\u00e9</c><p:c>n</p:c><c p:a='1'>n</c><c xmlns:q='urn:q'/>"
         L"<c a='" +
         std::wstring(250, L'a') + L"&amp;'>" + longText + L"</c><c>" + longText + L"</c><c>" +
         std::wstring(250, L't') + L"&amp;</c><c><d/></c><c>t<!--k--></c>text<!--k--></r>")
            .c_str());
    std::wstring out;
    ElementWriter writer(parser.GetRootNode(), "UTF-16", out);
    writer.Open(writer.Root());
    for (NodeHandle child = writer.Root().FirstChild(); child; child = child.Next()) {
        writer.Write(child);
    }
    writer.Close();
    writer.Finish();
    EXPECT_EQ(out, DocumentText(parser));
}

TEST(ElementWriter, NewTextAndNewElementsComeOutAsTheTreeWouldHoldThem) {
    const wchar_t* const document =
        L"<r><c a='1'>old</c><c/><c>t<!--k--><e xmlns:p='urn:p'/></c></r>";
    // Texts reach the tree as UTF-8 and C strings: NULs end them, what is no
    // Unicode scalar value becomes U+FFFD.
    const std::vector<std::wstring> texts = {
        L"",
        L"a<b>&c\rd\te\nf\"g'h",
        std::wstring(L"\0ab", 3),
        std::wstring(L"x\0y", 3),
        L"\xD800z\x110000",
        L"\u00e9\U0001D11E",
        std::wstring(250, L'x') + L"<&>\xD800" + std::wstring(10, L'y'),
    };
    for (const std::wstring& text : texts) {
        XMLParser edited = ParsedXml(document);
        XMLNodeArray cells;
        edited.GetRootNode().GetChildNodes(cells);
        for (int i = 0; i < cells.GetSize(); ++i) {
            cells[i].SetNodeText(text);
        }
        edited.GetRootNode().AddNode(L"n", text.c_str(), L"id", text.c_str());

        const XMLParser source = ParsedXml(document);
        std::wstring out;
        ElementWriter writer(source.GetRootNode(), "UTF-16", out);
        writer.Open(writer.Root());
        for (NodeHandle cell = writer.Root().FirstChild(); cell; cell = cell.Next()) {
            writer.WriteWithText(cell, text);
        }
        writer.WriteNew(L"n", text.c_str(), L"id", text.c_str());
        writer.Close();
        writer.Finish();
        EXPECT_EQ(out, DocumentText(edited)) << testing::PrintToString(text);
        // WriteLeaf writes as WriteNew for a text that is not empty.
        if (!text.empty() && text[0] != L'\0') {
            std::wstring asNew;
            std::wstring asLeaf;
            ElementWriter(source.GetRootNode(), "", asNew).WriteNew(L"n", text, L"id", text);
            ElementWriter(source.GetRootNode(), "", asLeaf)
                .WriteLeaf(ElementWriter::MakeLeafTags(L"n", L"id", text), text);
            EXPECT_EQ(asLeaf, asNew) << testing::PrintToString(text);
        }
    }
}

TEST(ElementWriter, HandlesReadTextAndAttributesAsTheTreeHoldsThem) {
    const XMLParser parser = ParsedXml(
        L"<r id='x&amp;\u00e9'><a>abc</a><b>ab\u00e9</b><c/><d>a<!--k-->b<e>c</e></d></r>");
    std::wstring out;
    const ElementWriter writer(parser.GetRootNode(), "", out);
    EXPECT_EQ(out, L"<?xml version=\"1.0\"?>\n");
    std::vector<NodeHandle> children;
    for (NodeHandle child = writer.Root().FirstChild(); child; child = child.Next()) {
        children.push_back(child);
    }
    ASSERT_EQ(children.size(), 4u);
    const std::vector<std::pair<std::wstring, bool>> a = {
        {L"abc", true}, {L"ab", false}, {L"abcd", false}, {L"", false}};
    for (const auto& [text, equal] : a) {
        EXPECT_EQ(children[0].HasText(text), equal) << text;
    }
    EXPECT_TRUE(children[1].HasText(L"ab\u00e9"));
    EXPECT_FALSE(children[1].HasText(L"abe"));
    EXPECT_FALSE(children[1].HasText(L"ab"));
    EXPECT_TRUE(children[2].HasText(L""));
    EXPECT_FALSE(children[2].HasText(L"x"));
    EXPECT_TRUE(children[3].HasText(L"abc"));

    std::wstring value = L"kept";
    EXPECT_TRUE(writer.Root().Attribute("id", value));
    EXPECT_EQ(value, L"x&\u00e9");
    EXPECT_FALSE(writer.Root().Attribute("Id", value));
    EXPECT_EQ(value, L"");
    EXPECT_TRUE(children[0].IsElement("a"));
    EXPECT_FALSE(children[0].IsElement("b"));
    EXPECT_FALSE(children[0].FirstChild().FirstChild());

    std::wstring none;
    EXPECT_FALSE(ElementWriter(XMLNode(), "UTF-16", none).Root());
}

}  // namespace

// A plain leaf (one attribute, at most one text, no namespaces) with some
// text comes out of WriteLeaf as Write writes it; other elements are not
// plain leaves.
TEST(ElementWriter, PlainLeavesComeOutOfWriteLeafAsWriteWritesThem) {
    const XMLParser parser = ParsedXml(
        L"<r xmlns:p='urn:p'><c a='1'>12.5</c><c a='&lt;&quot;&#9;\u00e9'>x&amp;y&#13;\u00e9</c>"
        L"<c a='1'/><c a='1' b='2'>t</c><c>t</c><p:c a='1'>t</p:c><c p:a='1'>t</c>"
        L"<c a='1' xmlns:q='urn:q'>t</c><c a='1'>t<!--k--></c><c a='1'><d/></c></r>");
    // Per child: whether it is a plain leaf, and its text when it has one.
    const std::vector<std::pair<bool, const wchar_t*>> children = {
        {true, L"12.5"},  {true, L"x&y\r\u00e9"}, {true, nullptr},  {false, nullptr},
        {false, nullptr}, {false, nullptr},       {false, nullptr}, {false, nullptr},
        {false, nullptr}, {false, nullptr},
    };
    std::wstring unused;
    const ElementWriter reader(parser.GetRootNode(), "", unused);
    std::size_t i = 0;
    for (NodeHandle child = reader.Root().FirstChild(); child; child = child.Next(), ++i) {
        ASSERT_LT(i, children.size());
        const auto& [plain, text] = children[i];
        std::wstring attribute;
        child.Attribute("a", attribute);
        EXPECT_EQ(child.IsPlainLeafWith("a", attribute), plain) << i;
        EXPECT_FALSE(child.IsPlainLeafWith("a", attribute + L"x")) << i;
        EXPECT_FALSE(child.IsPlainLeafWith("b", attribute)) << i;
        if (text == nullptr)
            continue;
        std::wstring written;
        std::wstring asLeaf;
        ElementWriter(parser.GetRootNode(), "", written).Write(child);
        ElementWriter(parser.GetRootNode(), "", asLeaf)
            .WriteLeaf(ElementWriter::MakeLeafTags(L"c", L"a", attribute), text);
        EXPECT_EQ(asLeaf, written) << i;
    }
    EXPECT_EQ(i, children.size());
}
