#include <gtest/gtest.h>

#include "xml_test_util.h"

namespace {

const wchar_t* const kTable =
    L"<Family><Table>"
    L"<Row Id='r1'><Cell ColumnId='a'>1</Cell><Cell ColumnId='b'>2</Cell></Row>"
    L"<Row Id='r2'><Cell ColumnId='a'>3</Cell><Cell ColumnId='b'>4</Cell></Row>"
    L"</Table><Name Value='Hex Bolt'/></Family>";

TEST(XmlXPath, SelectionIsRelativeToTheNode) {
    XMLParser parser = ParsedXml(kTable);
    XMLNodeArray rows;
    ASSERT_TRUE(parser.GetRootNode().SelectChildNodes(L"Table/Row", rows));
    ASSERT_EQ(rows.GetSize(), 2);
    XMLNode cell;
    ASSERT_TRUE(rows[1].GetChildNode(L"Cell[@ColumnId=\"b\"]", cell));
    EXPECT_EQ(TextOf(cell), L"4");
    ASSERT_TRUE(rows[1].GetChildNode(L"../Row[1]/Cell[2]", cell));
    EXPECT_EQ(TextOf(cell), L"2");
    XMLNodeArray cells;
    ASSERT_TRUE(rows[0].SelectChildNodes(L"//Cell[@ColumnId='a']", cells));
    EXPECT_EQ(cells.GetSize(), 2);
}

// Plain name paths are walked without the engine; "child::" steps take the
// engine, whose answer the walk must give, first node included.
TEST(XmlXPath, NamePathsSelectWhatTheEngineSelects) {
    XMLParser parser = ParsedXml(
        L"<R xmlns:p='urn:p'><A><B i='1'/>t<B i='2'><C i='3'/></B></A><p:A><B i='4'/></p:A>"
        L"<A/><A><B i='5'><C i='6'/><C i='7'/></B></A><D xmlns='urn:d'><B i='8'/></D></R>");
    const XMLNode root = parser.GetRootNode();
    const auto ids = [](const XMLNodeArray& nodes) {
        std::wstring joined;
        for (int i = 0; i < nodes.GetSize(); ++i) {
            std::wstring id;
            nodes[i].GetProperty(L"i", id);
            joined += id;
        }
        return joined;
    };
    const struct {
        const wchar_t* walked;
        const wchar_t* engine;
        const wchar_t* expected;
    } cases[] = {
        {L"A/B", L"child::A/child::B", L"125"},
        {L" A / B / C ", L"child::A/child::B/child::C", L"367"},
        {L"D/B", L"child::D/child::B", L""},
        {L"A/Missing", L"child::A/child::Missing", L""},
    };
    for (const auto& c : cases) {
        XMLNodeArray walked, engine;
        ASSERT_TRUE(root.SelectChildNodes(c.walked, walked)) << c.walked;
        ASSERT_TRUE(root.SelectChildNodes(c.engine, engine)) << c.engine;
        EXPECT_EQ(ids(walked), c.expected) << c.walked;
        EXPECT_EQ(ids(engine), c.expected) << c.engine;
        XMLNode first;
        EXPECT_EQ(root.GetChildNode(c.walked, first), engine.GetSize() > 0) << c.walked;
        if (engine.GetSize() > 0) {
            EXPECT_TRUE(first.IsSameNode(engine[0])) << c.walked;
        }
    }
}

TEST(XmlXPath, AttributesAndTextCanBeSelected) {
    XMLParser parser = ParsedXml(kTable);
    XMLNode attribute, text;
    ASSERT_TRUE(parser.GetRootNode().GetChildNode(L"Name/@Value", attribute));
    EXPECT_EQ(NameOf(attribute), L"Value");
    EXPECT_EQ(TextOf(attribute), L"Hex Bolt");
    EXPECT_EQ(attribute.GetChildCount(), 0);
    EXPECT_FALSE(attribute.GetParentNode().IsNode());
    ASSERT_TRUE(attribute.SetNodeText(L"Nut"));
    std::wstring value;
    XMLNode name;
    ASSERT_TRUE(parser.GetRootNode().GetChildNode(L"Name", name));
    ASSERT_TRUE(name.GetProperty(L"Value", value));
    EXPECT_EQ(value, L"Nut");
    // Removing the attribute leaves the selected node usable.
    ASSERT_TRUE(name.RemoveProperty(L"Value"));
    EXPECT_EQ(TextOf(attribute), L"Nut");

    ASSERT_TRUE(parser.GetRootNode().GetChildNode(L"Table/Row/Cell/text()", text));
    EXPECT_EQ(NameOf(text), L"#text");
    XMLNodeArray none;
    EXPECT_TRUE(parser.GetRootNode().SelectChildNodes(L"namespace::*", none));
    EXPECT_TRUE(none.IsEmpty());
}

TEST(XmlXPath, InvalidOrNonNodeExpressionsFailAndLeaveTheOutput) {
    XMLParser parser = ParsedXml(kTable);
    XMLNode root = parser.GetRootNode();
    XMLNode kept = root;
    XMLNodeArray nodes;
    nodes.Add(root);
    for (const wchar_t* bad : {L"Row[", L"count(Row)", L"undeclared:f()", L"", L"\"text\""}) {
        EXPECT_FALSE(root.GetChildNode(bad, kept)) << bad;
        EXPECT_TRUE(kept.IsSameNode(root));
        EXPECT_FALSE(root.SelectChildNodes(bad, nodes)) << bad;
    }
    EXPECT_FALSE(root.GetChildNode(nullptr, kept));
    EXPECT_TRUE(root.SelectChildNodes(L"Nothing", nodes));
    EXPECT_TRUE(nodes.IsEmpty());
}

TEST(XmlXPath, StringCompareAndTranslateCaseFolding) {
    XMLParser parser = ParsedXml(L"<R><N v='Straße'/><N v='ÄBC'/><N v='abc'/><N v='ABC'/></R>");
    XMLNode root = parser.GetRootNode();
    XMLNodeArray nodes;
    ASSERT_TRUE(root.SelectChildNodes(L"N[ms:string-compare(@v, 'äbc', '', 'i') = 0]", nodes));
    ASSERT_EQ(nodes.GetSize(), 1);
    ASSERT_TRUE(root.SelectChildNodes(L"N[ms:string-compare(@v, 'abc', '', 'i') = 0]", nodes));
    EXPECT_EQ(nodes.GetSize(), 2);
    ASSERT_TRUE(root.SelectChildNodes(L"N[ms:string-compare(@v, 'abc') = 0]", nodes));
    EXPECT_EQ(nodes.GetSize(), 1);
    ASSERT_TRUE(root.SelectChildNodes(L"N[ms:string-compare(@v, 'abc') < 0]", nodes));
    EXPECT_EQ(nodes.GetSize(), 2);  // "Straße" and "ABC"; "ÄBC" sorts after
    EXPECT_FALSE(root.SelectChildNodes(L"N[ms:string-compare(@v) = 0]", nodes));

    const wchar_t* folded =
        L"N[translate(@v, 'ABCDEFGHIJKLMNOPQRSTUVWXYZ', 'abcdefghijklmnopqrstuvwxyz') = 'abc']";
    ASSERT_TRUE(root.SelectChildNodes(folded, nodes));
    EXPECT_EQ(nodes.GetSize(), 2);
}

TEST(XmlXPath, ExtensionWorksOnLoadedAndSharedDocuments) {
    XMLParser first = ParsedXml(L"<R><N v='A'/></R>");
    XMLParser shared;
    shared.SetDocument(first.GetDocument());
    XMLNode found;
    EXPECT_TRUE(shared.GetRootNode().GetChildNode(L"N[ms:string-compare(@v,'a','','i')=0]", found));
}

TEST(XmlXPath, DocumentOrderHoldsAfterMovingElements) {
    XMLParser parser = ParsedXml(L"<R><A i='1'/><B><A i='2'/></B><A i='3'/></R>");
    XMLNode root = parser.GetRootNode();
    XMLNode last;
    ASSERT_TRUE(root.GetChildNode(L"A[@i='3']", last));
    XMLNode inserted = last;
    ASSERT_TRUE(root.InsertChild(inserted, 0).IsNode());
    XMLNodeArray all;
    ASSERT_TRUE(root.SelectChildNodes(L"//A", all));
    ASSERT_EQ(all.GetSize(), 3);
    std::wstring order;
    for (int i = 0; i < all.GetSize(); ++i) {
        std::wstring value;
        all[i].GetProperty(L"i", value);
        order += value;
    }
    EXPECT_EQ(order, L"312");
}

// The forms family rows use are answered without the XPath engine; prefixing
// "self::node()/" sends the same question to the engine.
TEST(XmlXPath, CellLookupFormsAgreeWithTheEngine) {
    XMLParser parser = ParsedXml(
        L"<Row xmlns:p='urn:p'><Cell ColumnId='a'>1</Cell><Cell ColumnId='A'>2</Cell>"
        L"<Cell>3</Cell><Cell p:ColumnId='a'>4</Cell><p:Cell ColumnId='a'>5</p:Cell>"
        L"<Other ColumnId='a'>6</Other><Cell ColumnId='a&amp;b'>7</Cell><Cell ColumnId=''>8</Cell>"
        L"<Inner xmlns='urn:d'><Cell ColumnId='a'>9</Cell></Inner><Cell "
        L"ColumnId='a'>10</Cell></Row>");
    const XMLNode row = parser.GetRootNode();
    const std::wstring expressions[] = {
        L"Cell[@ColumnId=\"a\"]",
        L"Cell[ @ColumnId = 'a' ]",
        L"Cell[@ColumnId='a&b']",
        L"Cell[@ColumnId='']",
        L"Cell[@Missing='']",
        L"Inner[@ColumnId='a']",
        L"Cell[ms:string-compare(@ColumnId, 'A', '' , 'i' ) = 0 ]",
        L"Cell[ms:string-compare(@ColumnId,'A','','')=0]",
        L"Cell[ms:string-compare(@ColumnId, '', '', 'i') = 0]",
        L"Cell[ms:string-compare(@Missing, 'x', '', 'i') = 0]",
    };
    for (const std::wstring& expression : expressions) {
        XMLNodeArray fast, engine;
        ASSERT_TRUE(row.SelectChildNodes(expression.c_str(), fast)) << expression;
        ASSERT_TRUE(row.SelectChildNodes((L"self::node()/" + expression).c_str(), engine))
            << expression;
        std::wstring fastTexts, engineTexts;
        for (int i = 0; i < fast.GetSize(); ++i)
            fastTexts += TextOf(fast[i]) + L",";
        for (int i = 0; i < engine.GetSize(); ++i)
            engineTexts += TextOf(engine[i]) + L",";
        EXPECT_EQ(fastTexts, engineTexts) << expression;
    }
    XMLNode first;
    ASSERT_TRUE(row.GetChildNode(L"Cell[@ColumnId='a']", first));
    EXPECT_EQ(TextOf(first), L"1");
    EXPECT_FALSE(row.GetChildNode(L"Cell[@ColumnId='zz']", first));
    EXPECT_EQ(TextOf(first), L"1");
}

}  // namespace
