#include <gtest/gtest.h>

#include "xml_test_util.h"

namespace {

TEST(XmlNode, EmptyNodeFailsEverythingQuietly) {
    XMLNode empty;
    std::wstring text = L"kept";
    XMLNode other;
    XMLNodeArray nodes;
    EXPECT_FALSE(empty.IsNode());
    EXPECT_FALSE(empty.GetNodeName(text));
    EXPECT_FALSE(empty.GetNodeText(text));
    EXPECT_FALSE(empty.SetNodeText(L"x"));
    EXPECT_FALSE(empty.GetXml(text));
    EXPECT_EQ(text, L"kept");
    EXPECT_EQ(empty.GetChildCount(), 0);
    EXPECT_FALSE(empty.GetFirstChildNode(other));
    EXPECT_FALSE(empty.GetChildNode(L"*", other));
    EXPECT_FALSE(empty.SelectChildNodes(L"*", nodes));
    EXPECT_FALSE(empty.AddNode(L"A").IsNode());
    EXPECT_FALSE(empty.SetProperty(L"a", L"b"));
    EXPECT_FALSE(empty.RemoveThisNode(false));
    EXPECT_FALSE(empty.RemoveChildNode(L"A"));
    EXPECT_FALSE(empty.ImportNode(empty, true).IsNode());
    EXPECT_TRUE(empty.IsSameNode(XMLNode()));
}

TEST(XmlNode, NamesOfEveryKind) {
    XMLParser parser = ParsedXml(L"<p:R xmlns:p='urn:p'>t<!--c--><![CDATA[d]]><?pi x?><E/></p:R>");
    XMLNode root = parser.GetRootNode();
    std::vector<std::wstring> names;
    ASSERT_TRUE(root.GetChildNames(names));
    EXPECT_EQ(names,
              (std::vector<std::wstring>{L"#text", L"#comment", L"#cdata-section", L"pi", L"E"}));
    EXPECT_EQ(NameOf(root), L"p:R");
    EXPECT_EQ(NameOf(root.GetParentNode()), L"#document");
    EXPECT_FALSE(root.GetParentNode().GetParentNode().IsNode());

    XMLNodeArray children;
    ASSERT_TRUE(root.GetChildNodes(children));
    std::vector<std::wstring> arrayNames;
    children.GetNodeNames(arrayNames);
    EXPECT_EQ(arrayNames, names);
}

TEST(XmlNode, TextValueAndChildNavigation) {
    XMLParser parser = ParsedXml(L"<R><A>one<B>two</B></A><C/><D/></R>");
    XMLNode root = parser.GetRootNode();
    EXPECT_EQ(TextOf(root), L"onetwo");
    EXPECT_EQ(root.GetChildCount(), 3);

    XMLNode a, last, next, text;
    ASSERT_TRUE(root.GetFirstChildNode(a));
    ASSERT_TRUE(root.GetLastChildNode(last));
    EXPECT_EQ(NameOf(last), L"D");
    EXPECT_FALSE(last.GetNextSibling(next));
    ASSERT_TRUE(a.GetNextSibling(next));
    EXPECT_EQ(NameOf(next), L"C");
    EXPECT_FALSE(root.GetChildNodeByIdx(-1, next));
    EXPECT_FALSE(root.GetChildNodeByIdx(3, next));
    EXPECT_EQ(NameOf(next), L"C");  // untouched on failure

    ASSERT_TRUE(a.GetFirstChildNode(text));
    std::wstring value = L"x";
    ASSERT_TRUE(text.GetNodeValue(value));
    EXPECT_EQ(value, L"one");
    ASSERT_TRUE(a.GetNodeValue(value));  // elements have no value
    EXPECT_EQ(value, L"");
    EXPECT_FALSE(a.SetNodeValue(L"v"));
    ASSERT_TRUE(text.SetNodeValue(L"uno"));
    EXPECT_EQ(TextOf(a), L"unotwo");
}

TEST(XmlNode, ChildNodesByNameMatchesExactly) {
    XMLParser parser = ParsedXml(L"<Row><Cell/><cell/><Value/><Cell/></Row>");
    XMLNodeArray cells;
    XMLNode row = parser.GetRootNode();
    ASSERT_TRUE(row.GetChildNodes(L"Cell", cells));
    EXPECT_EQ(cells.GetSize(), 2);
    ASSERT_TRUE(row.GetChildNodes(L"Missing", cells));
    EXPECT_TRUE(cells.IsEmpty());
}

TEST(XmlNode, SetNodeTextReplacesAllChildrenAndOldNodesStayUsable) {
    XMLParser parser = ParsedXml(L"<R><A><B>b</B>tail</A></R>");
    XMLNode a, b;
    ASSERT_TRUE(parser.GetRootNode().GetFirstChildNode(a));
    ASSERT_TRUE(a.GetFirstChildNode(b));
    ASSERT_TRUE(a.SetNodeText(L"new & <text>"));
    EXPECT_EQ(a.GetChildCount(), 1);
    EXPECT_EQ(XmlOf(a), L"<A>new &amp; &lt;text&gt;</A>");
    // The replaced child is detached but alive.
    EXPECT_EQ(TextOf(b), L"b");
    EXPECT_FALSE(b.GetParentNode().IsNode());
    ASSERT_TRUE(a.SetNodeText(L""));
    EXPECT_EQ(XmlOf(a), L"<A></A>");
}

// Texts are rewritten in place when the new one fits: shorter, equal, and
// longer texts, short texts kept inside their node (up to 15 bytes, and back
// there from a block of their own), and whitespace texts the parser shares
// between nodes (which must not change with the one written).
TEST(XmlNode, RewrittenTextsLeaveEveryOtherTextAlone) {
    XMLParser parser = ParsedXml(
        L"<R xml:space='preserve'><C>12.5</C><C>a long text beyond sixteen bytes</C>"
        L"<C>                    </C><C>                    </C></R>");
    XMLNodeArray cells;
    ASSERT_TRUE(parser.GetRootNode().GetChildNodes(cells));
    const struct {
        int cell;
        const wchar_t* text;
    } writes[] = {{0, L"7.5"},
                  {0, L"99.5"},
                  {0, L"123456789012345"},   // the longest text a node holds itself
                  {0, L"1234567890123456"},  // one byte more: a block of its own
                  {0, L"100.25"},
                  {1, L"short"},
                  {1, L"ä longer than the first text was"},
                  {2, L"x"}};
    for (const auto& write : writes) {
        ASSERT_TRUE(cells[write.cell].SetNodeText(write.text));
        EXPECT_EQ(TextOf(cells[write.cell]), write.text);
    }
    EXPECT_EQ(XmlOf(parser.GetRootNode()),
              L"<R xml:space=\"preserve\"><C>100.25</C><C>\u00e4 longer than the first text "
              L"was</C><C>x</C><C>                    </C></R>");
}

TEST(XmlNodeArray, ArrayOperationsAndBounds) {
    XMLParser parser = ParsedXml(L"<R><A/><B/><C/></R>");
    XMLNodeArray nodes;
    ASSERT_TRUE(parser.GetRootNode().GetChildNodes(nodes));
    EXPECT_EQ(nodes.GetUpperBound(), 2);
    EXPECT_THROW(nodes.GetAt(3), std::invalid_argument);
    EXPECT_THROW(nodes[-1], std::invalid_argument);

    XMLNodeArray copy(nodes);
    EXPECT_EQ(copy.Append(copy), 3);  // appending itself doubles it
    EXPECT_EQ(copy.GetSize(), 6);
    copy.RemoveAt(1, 4);
    std::vector<std::wstring> names;
    copy.GetNodeNames(names);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"A", L"C"}));
    copy.InsertAt(1, copy[0], 2);
    copy.InsertAt(99, nodes);
    copy.GetNodeNames(names);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"A", L"A", L"A", L"C", L"A", L"B", L"C"}));
    EXPECT_THROW(copy.RemoveAt(6, 2), std::invalid_argument);

    copy.SetAtGrow(9, nodes[1]);
    EXPECT_EQ(copy.GetSize(), 10);
    EXPECT_FALSE(copy[8].IsNode());
    copy.SetSize(1);
    EXPECT_EQ(copy.Add(nodes[2]), 1);
    EXPECT_TRUE(copy[1].IsSameNode(nodes[2]));
    copy.RemoveAll();
    EXPECT_EQ(copy.GetData(), nullptr);
}

}  // namespace
