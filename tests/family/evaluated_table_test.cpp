// The evaluated table text, byte for byte, on tables holding everything a
// family document may hold around and inside its cells: characters to
// escape, namespaces declared inside and outside the table, comments,
// processing instructions, CDATA, foreign elements, mixed and empty cells,
// unknown and duplicate columns, rows without cells, a missing or second
// "Rows". The expected texts are those the table gave when it built the
// evaluated table as a document of its own and serialised that.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "family/support/family_xml.h"
#include "family/support/scripted_provider.h"
#include "vardel/family.h"
#include "vardel/family_table.h"

namespace {

// Three columns: a plain string, a double and a string whose formula gives
// a text to escape; `extra` adds more.
std::wstring Columns(const std::wstring& extra = L"") {
    return L"<Columns><Column ColumnId=\"S\" ValueType=\"string\"/>"
           L"<Column ColumnId=\"N\" ValueType=\"double\"/>"
           L"<Column ColumnId=\"F\" ValueType=\"string\" "
           L"ColumnwideValue=\"&quot;f&lt;&amp;&gt;&quot;\"/>" +
           extra + L"</Columns>";
}

struct Case {
    const char* name;
    std::wstring document;
    std::wstring expected;
    /// Set on the table element after loading: declarations no parse keeps.
    FamilyTest::Attributes tableProperties = {};
};

const std::vector<Case>& Cases() {
    static const std::vector<Case> cases = {
        {"Escapes",
         L"<Family InternalName=\"f\"><FamilyTable "
         L"Note=\"a&amp;b&lt;c&gt;d&quot;e'f&#9;g&#10;h&#13;i \u00e9\U0001D11E\">" +
             Columns(L"<Column ColumnId=\"I&quot;d&amp;&lt;&gt;&#9;\u00e9\" ValueType=\"string\" "
                     L"ColumnwideValue=\"&quot;x&#13;y&#9;z&#10;\U0001D11E&quot;\"/>") +
             L"<Rows><Row RowId=\"r&amp;0\" Tab=\"&#9;\">"
             L"<Cell ColumnId=\"S\">\"a&lt;b&gt;c&amp;d\" &amp; \"&#13;&#9;&#10;'\" &amp; "
             L"\"\u00e9\U0001D11E\"</Cell><Cell ColumnId=\"N\">2.5</Cell></Row>"
             L"<Row RowId=\"r1\"><Cell ColumnId=\"S\">plain \u00e9\U0001D11E &amp; "
             L"&lt;kept&gt;&#13;&#9;\"</Cell></Row></Rows></FamilyTable></Family>",
         L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<FamilyTable "
         L"Note=\"a&amp;b&lt;c&gt;d&quot;e'f&#9;g&#10;h&#13;i \u00E9\U0001D11E\">"
         L"<Columns>"
         L"<Column ColumnId=\"S\" ValueType=\"string\"/>"
         L"<Column ColumnId=\"N\" ValueType=\"double\"/>"
         L"<Column ColumnId=\"F\" ValueType=\"string\" "
         L"ColumnwideValue=\"&quot;f&lt;&amp;&gt;&quot;\"/>"
         L"<Column ColumnId=\"I&quot;d&amp;&lt;&gt;&#9;\u00E9\" ValueType=\"string\" "
         L"ColumnwideValue=\"&quot;x&#13;y&#9;z&#10;\U0001D11E&quot;\"/></Columns>"
         L"<Rows>"
         L"<Row RowId=\"r&amp;0\" Tab=\"&#9;\">"
         L"<Cell ColumnId=\"S\">a&lt;b&gt;cd&#13;\t\n'\u00E9\U0001D11E</Cell>"
         L"<Cell ColumnId=\"N\">2.5</Cell><Cell ColumnId=\"F\">f&lt;&gt;</Cell>"
         L"<Cell ColumnId=\"I&quot;d&amp;&lt;&gt;&#9;\u00E9\">x&#13;y\tz\n\U0001D11E</Cell></Row>"
         L"<Row RowId=\"r1\">"
         L"<Cell ColumnId=\"S\">plain \u00E9\U0001D11E&lt;kept&gt;&#13;\t</Cell>"
         L"<Cell ColumnId=\"N\"/><Cell ColumnId=\"F\">f&lt;&gt;</Cell>"
         L"<Cell ColumnId=\"I&quot;d&amp;&lt;&gt;&#9;\u00E9\">x&#13;y\tz\n\U0001D11E</Cell></Row>"
         L"</Rows></FamilyTable>\n"},
        {"RareContent",
         L"<Family InternalName=\"f\"><FamilyTable><!--before--><?pi table?>" +
             Columns(L"<Column ColumnId=\"E\" ValueType=\"string\" ColumnwideValue=\"{S}\"/>") +
             L"stray&amp;<Rows><!--in rows--><?empty?>"
             L"<Row RowId=\"r0\"><!--in row--><Cell ColumnId=\"S\"><!--in cell-->\"p\" &amp; "
             L"\"q\"</Cell><Cell ColumnId=\"N\"><![CDATA[1<2]]></Cell><Extra a=\"1\">"
             L"<Sub>t</Sub><Empty/></Extra>text &amp; more</Row>"
             L"<Row RowId=\"r1\"><Cell ColumnId=\"S\">\" \"</Cell><Cell ColumnId=\"E\">{S}</Cell>"
             L"<Cell ColumnId=\"Gone\">"
             L"&lt;old&gt;&#13;\u00e9<!--x--></Cell><Cell ColumnId=\"s\">\"d1\"</Cell>"
             L"<Cell ColumnId=\"S\">\"d2\"</Cell></Row>"
             L"<Row RowId=\"r2\"><Cell ColumnId=\"S\">\" \"</Cell>"
             L"<Cell ColumnId=\"E\"><?pi in cell?>{S}</Cell>"
             L"<Cell ColumnId=\"F\">kept<!--c--></Cell><Cell ColumnId=\"N\"/></Row>"
             L"<Row RowId=\"r3\"/><Row RowId=\"r4\"></Row></Rows>"
             L"<Rows><Row RowId=\"second\"><Cell ColumnId=\"S\">\"not\"</Cell></Row></Rows>"
             L"<!--after--></FamilyTable></Family>",
         L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<FamilyTable><!--before--><?pi table?>"
         L"<Columns>"
         L"<Column ColumnId=\"S\" ValueType=\"string\"/>"
         L"<Column ColumnId=\"N\" ValueType=\"double\"/>"
         L"<Column ColumnId=\"F\" ValueType=\"string\" "
         L"ColumnwideValue=\"&quot;f&lt;&amp;&gt;&quot;\"/>"
         L"<Column ColumnId=\"E\" ValueType=\"string\" "
         L"ColumnwideValue=\"{S}\"/></Columns>stray&amp;"
         L"<Rows><!--in rows--><?empty?>"
         L"<Row RowId=\"r0\"><!--in row--><Cell ColumnId=\"S\">pq</Cell>"
         L"<Cell ColumnId=\"N\"><![CDATA[1<2]]></Cell>"
         L"<Extra a=\"1\"><Sub>t</Sub><Empty/></Extra>text &amp; more"
         L"<Cell ColumnId=\"F\">f&lt;&gt;</Cell><Cell ColumnId=\"E\">pq</Cell></Row>"
         L"<Row RowId=\"r1\"><Cell ColumnId=\"S\"> </Cell><Cell ColumnId=\"E\"></Cell>"
         L"<Cell ColumnId=\"Gone\">&lt;old&gt;&#13;\u00E9<!--x--></Cell>"
         L"<Cell ColumnId=\"s\"> </Cell><Cell ColumnId=\"S\"> </Cell><Cell ColumnId=\"N\"/>"
         L"<Cell ColumnId=\"F\">f&lt;&gt;</Cell></Row>"
         L"<Row RowId=\"r2\"><Cell ColumnId=\"S\"> </Cell><Cell ColumnId=\"E\"/>"
         L"<Cell ColumnId=\"F\">kept<!--c--></Cell><Cell ColumnId=\"N\"/></Row>"
         L"<Row RowId=\"r3\"><Cell ColumnId=\"S\"/><Cell ColumnId=\"N\"/>"
         L"<Cell ColumnId=\"F\">f&lt;&gt;</Cell><Cell ColumnId=\"E\"/></Row>"
         L"<Row RowId=\"r4\"><Cell ColumnId=\"S\"/><Cell ColumnId=\"N\"/>"
         L"<Cell ColumnId=\"F\">f&lt;&gt;</Cell><Cell ColumnId=\"E\"/></Row>"
         L"</Rows>"
         L"<Rows>"
         L"<Row RowId=\"second\"><Cell ColumnId=\"S\">\"not\"</Cell></Row>"
         L"</Rows>"
         L"<!--after--></FamilyTable>\n"},
        {"Namespaces",
         L"<Family InternalName=\"f\" xmlns:x=\"urn:x\" xmlns:q=\"urn:q\" xmlns:z=\"urn:z\" "
         L"xmlns:y=\"urn:y\"><FamilyTable xmlns:t=\"urn:t\" t:a=\"1\" x:b=\"2\" "
         L"xml:lang=\"en\">" +
             Columns() +
             L"<Rows xmlns:w=\"urn:w\"><Row RowId=\"r0\" q:mark=\"m\">"
             L"<Cell ColumnId=\"S\" x:flag=\"1\" xml:lang=\"de\">\"v\" &amp; \"w\"</Cell>"
             L"<x:Extra z:a=\"1\"><Inner xmlns=\"urn:d\"><Deep/></Inner><w:W/></x:Extra></Row>"
             L"<Row RowId=\"r1\" xmlns:x=\"urn:other\"><x:Local/>"
             L"<Cell ColumnId=\"S\"><y:b/>\"r\"</Cell></Row></Rows></FamilyTable></Family>",
         L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<FamilyTable xmlns:t=\"urn:t\" "
         L"xmlns:a=\"urn:&quot;a'\" xmlns:b='urn:\"b' xmlns:c=\"urn:c&<>'\" "
         L"xmlns:x=\"urn:x\" xmlns:q=\"urn:q\" xmlns:z=\"urn:z\" xmlns:y=\"urn:y\" "
         L"t:a=\"1\" x:b=\"2\" xml:lang=\"en\">"
         L"<Columns>"
         L"<Column ColumnId=\"S\" ValueType=\"string\"/>"
         L"<Column ColumnId=\"N\" ValueType=\"double\"/>"
         L"<Column ColumnId=\"F\" ValueType=\"string\" "
         L"ColumnwideValue=\"&quot;f&lt;&amp;&gt;&quot;\"/></Columns>"
         L"<Rows xmlns:w=\"urn:w\">"
         L"<Row RowId=\"r0\" q:mark=\"m\">"
         L"<Cell ColumnId=\"S\" x:flag=\"1\" xml:lang=\"de\">vw</Cell>"
         L"<x:Extra z:a=\"1\"><Inner xmlns=\"urn:d\"><Deep/></Inner><w:W/></x:Extra>"
         L"<Cell ColumnId=\"N\"/><Cell ColumnId=\"F\">f&lt;&gt;</Cell></Row>"
         L"<Row xmlns:x=\"urn:other\" RowId=\"r1\"><x:Local/><Cell ColumnId=\"S\">r</Cell>"
         L"<Cell ColumnId=\"N\"/><Cell ColumnId=\"F\">f&lt;&gt;</Cell></Row>"
         L"</Rows></FamilyTable>\n",
         {{L"xmlns:a", L"urn:\"a'"}, {L"xmlns:b", L"urn:\"b"}, {L"xmlns:c", L"urn:c&<>'"}}},
        {"NoRows",
         L"<Family InternalName=\"f\" xmlns:x=\"urn:x\"><FamilyTable>" +
             Columns(L"<Column ColumnId=\"K\" ValueType=\"string\" x:k=\"1\"/>") +
             L"<!--no rows--></FamilyTable></Family>",
         L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<FamilyTable xmlns:x=\"urn:x\">"
         L"<Columns>"
         L"<Column ColumnId=\"S\" ValueType=\"string\"/>"
         L"<Column ColumnId=\"N\" ValueType=\"double\"/>"
         L"<Column ColumnId=\"F\" ValueType=\"string\" "
         L"ColumnwideValue=\"&quot;f&lt;&amp;&gt;&quot;\"/>"
         L"<Column ColumnId=\"K\" ValueType=\"string\" x:k=\"1\"/></Columns><!--no "
         L"rows--></FamilyTable>\n"},
        {"EmptyTable", L"<Family InternalName=\"f\"><FamilyTable/></Family>",
         L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<FamilyTable/>\n"},
    };
    return cases;
}

TEST(EvaluatedTable, TextIsTheSerialisedEvaluatedCopy) {
    for (const Case& c : Cases()) {
        CEncapFamily family(c.document.c_str(), {}, L"", new FamilyTest::ScriptedProvider(),
                            L"en-US", false);
        CEncapFamilyTable* table = family.GetEncapFamilyTable();
        ASSERT_NE(table, nullptr) << c.name;
        for (const auto& [name, value] : c.tableProperties) {
            ASSERT_TRUE(table->GetXMLNode().SetProperty(name.c_str(), value)) << c.name;
        }
        std::wstring xml;
        ASSERT_TRUE(table->GetEvaluatedXml(xml)) << c.name;
        EXPECT_EQ(xml, c.expected) << c.name;
    }
}

}  // namespace
