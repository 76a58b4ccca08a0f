#include "xml/element_scan.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "vardel/xml_node_array.h"
#include "xml/xpath_literal.h"
#include "xml_test_util.h"

namespace {

using VardelXml::ChildIndex;
using VardelXml::ElementsAtPath;
using VardelXml::FindChild;
using VardelXml::FindChildByAttribute;
using VardelXml::ReadText;

std::wstring CellText(const XMLNode& row, const std::wstring& columnId) {
    std::wstring text = L"<none>";
    ReadText(FindChildByAttribute(row, "Cell", "ColumnId", columnId), text);
    return text;
}

TEST(ElementScan, ExactIdWinsOverAnEarlierCaseVariant) {
    XMLParser parser = ParsedXml(
        L"<Row><Cell ColumnId='width'>1</Cell><Cell ColumnId='Width'>2</Cell>"
        L"<Cell ColumnId='WIDTH'>3</Cell></Row>");
    const XMLNode row = parser.GetRootNode();
    EXPECT_EQ(CellText(row, L"Width"), L"2");
    EXPECT_EQ(CellText(row, L"WIDTH"), L"3");
    // No exact match: the first that matches ignoring case.
    EXPECT_EQ(CellText(row, L"wIdTh"), L"1");
    EXPECT_EQ(CellText(row, L"widt"), L"<none>");
    EXPECT_EQ(CellText(row, L"widths"), L"<none>");
}

TEST(ElementScan, OnlyPlainElementsAndAttributesOfThatNameMatch) {
    XMLParser parser = ParsedXml(
        L"<Row xmlns:p='urn:p'><Other ColumnId='A'>other</Other><!--A-->"
        L"<p:Cell ColumnId='A'>prefixed</p:Cell><Cell p:ColumnId='A'>attribute</Cell>"
        L"<Cell>no id</Cell><Cell ColumnId='A'>plain</Cell></Row>");
    EXPECT_EQ(CellText(parser.GetRootNode(), L"a"), L"plain");
    // A cell without the attribute matches no id, not even the empty one.
    EXPECT_EQ(CellText(parser.GetRootNode(), L""), L"<none>");
    EXPECT_EQ(TextOf(FindChild(parser.GetRootNode(), "Cell")), L"attribute");
    EXPECT_FALSE(FindChild(parser.GetRootNode(), "Missing").IsNode());
    EXPECT_FALSE(FindChildByAttribute(XMLNode(), "Cell", "ColumnId", L"a").IsNode());
    EXPECT_TRUE(ElementsAtPath(XMLNode(), {"Rows", "Row"}).empty());
    std::wstring text = L"kept";
    EXPECT_FALSE(ReadText(XMLNode(), text));
    EXPECT_EQ(text, L"kept");
}

TEST(ElementScan, DescendantsComeInDocumentOrderWithoutTheElementItself) {
    XMLParser parser = ParsedXml(
        L"<P n='0' xmlns:q='urn:q'><A><P n='1'><P n='2'/></P>x<q:P n='-'/></A><P n='3'/></P>");
    std::wstring numbers;
    for (const XMLNode& found : VardelXml::DescendantsNamed(parser.GetRootNode(), "P")) {
        std::wstring n;
        found.GetProperty(L"n", n);
        numbers += n;
    }
    EXPECT_EQ(numbers, L"123");
    EXPECT_TRUE(VardelXml::DescendantsNamed(XMLNode(), "P").empty());
}

// Cell ids whose matches need more than ASCII folding, and whose byte
// lengths may differ from their match's: U+017F upper-cases to "S". The
// last three lie around the length a cell list keeps in place (10 bytes).
const std::vector<std::wstring> kIds = {
    L"a",         L"A",       L"\u00e4",     L"\u00c4",      L"\u017f",        L"S",   L"s",
    L"\u017fize", L"\u00e9",  L"x y",        L"q'\"",        L"Q'\"",          L"C10", L"c1",
    L"\u212a",    L"\u0394x", L"abcdefghij", L"ABCDEFGHIJK", L"\u00e4bcdefghi"};

// The cell ids, then ids that match some only ignoring case or none.
std::vector<std::wstring> Lookups() {
    std::vector<std::wstring> lookups = kIds;
    lookups.insert(lookups.end(),
                   {L"C1", L"\u00c4X", L"Z", L"", L"SIZE", L"AB", L"k", L"ab", L"\u03b4X",
                    L"\u00c9", L"ABCDEFGHIJ", L"abcdefghijk", L"\u00c4BCDEFGHI", L"abcdefghi"});
    return lookups;
}

// A row with one cell per id of kIds, holding its position.
XMLParser RowOfIds() {
    std::wstring xml = L"<Row>";
    for (std::size_t i = 0; i < kIds.size(); ++i) {
        xml += L"<Cell ColumnId=\"";
        for (const wchar_t c : kIds[i])
            xml += c == L'"' ? std::wstring(L"&quot;") : std::wstring(1, c);
        xml += L"\">" + std::to_wstring(i) + L"</Cell>";
    }
    xml += L"</Row>";
    return ParsedXml(xml.c_str());
}

// The scan must select exactly what the two XPath forms it replaces select:
// the exact comparison first, then the case-insensitive string-compare.
TEST(ElementScan, AgreesWithTheXPathFormsItReplaces) {
    XMLParser parser = RowOfIds();
    const XMLNode row = parser.GetRootNode();
    for (const std::wstring& id : Lookups()) {
        const std::wstring literal = VardelXml::XPathLiteral(id);
        XMLNode expected;
        if (!row.GetChildNode((L"Cell[@ColumnId=" + literal + L"]").c_str(), expected)) {
            row.GetChildNode(
                (L"Cell[ms:string-compare(@ColumnId, " + literal + L", '', 'i') = 0]").c_str(),
                expected);
        }
        const XMLNode found = FindChildByAttribute(row, "Cell", "ColumnId", id);
        EXPECT_TRUE(found.IsSameNode(expected)) << "lookup of " << literal.size() << " chars";
    }
}

TEST(ElementScan, PathSelectsInDocumentOrderLikeXPath) {
    XMLParser parser = ParsedXml(
        L"<T><Rows><Row Id='1'/><Other/><Row Id='2'><Row Id='nested'/></Row></Rows>"
        L"<Columns/><Rows><Row Id='3'/></Rows></T>");
    const XMLNode table = parser.GetRootNode();
    const std::vector<XMLNode> rows = ElementsAtPath(table, {"Rows", "Row"});
    XMLNodeArray expected;
    ASSERT_TRUE(table.SelectChildNodes(L"Rows/Row", expected));
    ASSERT_EQ(rows.size(), 3u);
    ASSERT_EQ(expected.GetSize(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(rows[static_cast<std::size_t>(i)].IsSameNode(expected[i]));
    EXPECT_TRUE(ElementsAtPath(table, {"Columns", "Column"}).empty());
    ASSERT_EQ(ElementsAtPath(table, {"Rows"}).size(), 2u);
    ASSERT_EQ(ElementsAtPath(table, {}).size(), 1u);
    EXPECT_TRUE(ElementsAtPath(table, {}).front().IsSameNode(table));
}

TEST(ElementScan, ReadTextMatchesTheNodeText) {
    XMLParser parser = ParsedXml(
        L"<Row><Cell>12.5</Cell><Cell>\u00fcber \u20ac</Cell><Cell/><Cell>a<b>b</b>c</Cell>"
        L"<Cell><![CDATA[<raw>]]></Cell><Cell>x &amp; y</Cell></Row>");
    XMLNodeArray cells;
    parser.GetRootNode().GetChildNodes(cells);
    std::wstring text = L"a longer text whose buffer is reused";
    for (int i = 0; i < cells.GetSize(); ++i) {
        ASSERT_TRUE(ReadText(cells[i], text));
        EXPECT_EQ(text, TextOf(cells[i])) << "cell " << i;
    }
    ReadText(cells[0], text);
    EXPECT_EQ(text, L"12.5");
    ReadText(cells[1], text);
    EXPECT_EQ(text, L"\u00fcber \u20ac");
}

// Every lookup of the index answers what a walk over the row answers now,
// without a hint and whatever place a hint names.
void ExpectIndexAgreesWithScan(ChildIndex& index, const XMLNode& row, const char* step) {
    for (const std::wstring& id : Lookups()) {
        const XMLNode expected = FindChildByAttribute(row, "Cell", "ColumnId", id);
        EXPECT_TRUE(index.Find(row, id).IsSameNode(expected))
            << step << ", lookup of " << id.size() << " chars";
        for (std::size_t hint = 0; hint < kIds.size() + 3; ++hint) {
            std::size_t kept = hint;
            EXPECT_TRUE(index.Find(row, id, kept).IsSameNode(expected))
                << step << ", lookup of " << id.size() << " chars, hint " << hint;
        }
    }
}

TEST(ChildIndex, AHintKeptAcrossRowsFindsWhatTheScanFinds) {
    XMLParser parser = ParsedXml(
        L"<T><Row><Cell ColumnId='A'>0</Cell><Cell ColumnId='B'>1</Cell>"
        L"<Cell ColumnId='a longer id'>2</Cell></Row>"
        L"<Row><Cell ColumnId='a longer id'>3</Cell><Cell ColumnId='B'>4</Cell></Row>"
        L"<Row><Cell ColumnId='b'>5</Cell><Cell ColumnId='B'>6</Cell><Cell ColumnId='A'>7</Cell>"
        L"</Row></T>");
    const std::vector<XMLNode> rows = ElementsAtPath(parser.GetRootNode(), {"Row"});
    std::vector<std::unique_ptr<ChildIndex>> indexes;
    for (std::size_t r = 0; r < rows.size(); ++r)
        indexes.push_back(std::make_unique<ChildIndex>("Cell", "ColumnId"));
    std::size_t hint = 0;
    // Column after column, then row after row, one hint throughout.
    for (const wchar_t* id : {L"A", L"B", L"a longer id", L"b", L"A LONGER ID"}) {
        for (std::size_t r = 0; r < rows.size(); ++r) {
            EXPECT_TRUE(indexes[r]
                            ->Find(rows[r], id, hint)
                            .IsSameNode(FindChildByAttribute(rows[r], "Cell", "ColumnId", id)))
                << "row " << r;
        }
    }
    EXPECT_EQ(TextOf(indexes[2]->Find(rows[2], L"B", hint)), L"6");
    EXPECT_EQ(TextOf(indexes[2]->Find(rows[2], L"b", hint)), L"5");
}

// The index lists the cells once; every kind of edit of the document,
// made through any node, must show in the next lookup.
TEST(ChildIndex, AnswersAsTheScanDoesAcrossEditsOfTheDocument) {
    XMLParser parser = RowOfIds();
    XMLNode row = parser.GetRootNode();
    ChildIndex index("Cell", "ColumnId");
    ExpectIndexAgreesWithScan(index, row, "as parsed");

    struct Edit {
        const char* name;
        std::function<void()> apply;
    } edits[] = {
        {"exact id appended", [&] { row.AddNode(L"Cell", L"new", L"ColumnId", L"ab"); }},
        {"case variant inserted first",
         [&] {
             XMLNode first;
             row.GetFirstChildNode(first);
             first.AddNodeBefore(L"Cell", L"front", L"ColumnId", L"C1");
         }},
        {"found cell removed",
         [&] { FindChildByAttribute(row, "Cell", "ColumnId", L"S").RemoveThisNode(true); }},
        {"id attribute rewritten",
         [&] {
             FindChildByAttribute(row, "Cell", "ColumnId", L"a").SetProperty(L"ColumnId", L"Z");
         }},
        {"id attribute removed",
         [&] { FindChildByAttribute(row, "Cell", "ColumnId", L"Z").RemoveProperty(L"ColumnId"); }},
        {"id changed through the attribute node",
         [&] {
             XMLNode attribute;
             FindChildByAttribute(row, "Cell", "ColumnId", L"c1")
                 .GetChildNode(L"@ColumnId", attribute);
             attribute.SetNodeValue(L"k");
         }},
        {"id text of the attribute node replaced",
         [&] {
             XMLNode attribute;
             FindChildByAttribute(row, "Cell", "ColumnId", L"C10")
                 .GetChildNode(L"@ColumnId", attribute);
             attribute.SetNodeText(L"ab");
         }},
        {"cell moved to the end",
         [&] { row.AppendChild(FindChildByAttribute(row, "Cell", "ColumnId", L"x y")); }},
        {"cell text replaced",
         [&] { FindChildByAttribute(row, "Cell", "ColumnId", L"k").SetNodeText(L"9"); }},
        {"children replaced by text", [&] { row.SetNodeText(L"no cells"); }},
        {"cell added again", [&] { row.AddNode(L"Cell", L"last", L"ColumnId", L"SIZE"); }},
    };
    for (const Edit& edit : edits) {
        edit.apply();
        ExpectIndexAgreesWithScan(index, row, edit.name);
    }
    EXPECT_EQ(TextOf(index.Find(row, L"size")), L"last");
}

TEST(ChildIndex, FollowsTheElementItIsAskedAbout) {
    XMLParser parser = ParsedXml(
        L"<T><Row><Cell ColumnId='A'>1</Cell></Row><Row><Cell ColumnId='A'>2</Cell></Row></T>");
    const std::vector<XMLNode> rows = ElementsAtPath(parser.GetRootNode(), {"Row"});
    XMLParser copy = ParsedXml(L"<Row><Cell ColumnId='A'>3</Cell></Row>");
    ChildIndex index("Cell", "ColumnId");
    EXPECT_EQ(TextOf(index.Find(rows[0], L"a")), L"1");
    EXPECT_EQ(TextOf(index.Find(rows[1], L"a")), L"2");
    // Another document at the same edit count.
    EXPECT_EQ(TextOf(index.Find(copy.GetRootNode(), L"A")), L"3");
    EXPECT_FALSE(index.Find(XMLNode(), L"A").IsNode());
    EXPECT_EQ(TextOf(index.Find(rows[0], L"A")), L"1");
}

// Cells moving between rows change both rows' lists; edits of another row
// leave a row's answers alone.
TEST(ChildIndex, SeesCellsMovedBetweenRows) {
    XMLParser parser = ParsedXml(
        L"<T><Row><Cell ColumnId='A'>1</Cell></Row><Row><Cell ColumnId='B'>2</Cell></Row></T>");
    std::vector<XMLNode> rows = ElementsAtPath(parser.GetRootNode(), {"Row"});
    ChildIndex first("Cell", "ColumnId");
    ChildIndex second("Cell", "ColumnId");
    EXPECT_FALSE(first.Find(rows[0], L"B").IsNode());
    EXPECT_EQ(TextOf(second.Find(rows[1], L"B")), L"2");

    rows[0].AppendChild(second.Find(rows[1], L"B"));
    EXPECT_EQ(TextOf(first.Find(rows[0], L"B")), L"2");
    EXPECT_FALSE(second.Find(rows[1], L"B").IsNode());

    rows[1].AddNode(L"Cell", L"3", L"ColumnId", L"A");
    EXPECT_EQ(TextOf(first.Find(rows[0], L"A")), L"1");
    EXPECT_EQ(TextOf(second.Find(rows[1], L"A")), L"3");
}

}  // namespace
