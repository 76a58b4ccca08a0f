// CSV families: the family read from a description and its table, the family
// document and strings documents rendered from it (read back through the XML
// layer and the family-document reader), row ids, cell checks and every
// fault with its place.
#include <gtest/gtest.h>

#include "common/utf8.h"
#include "source/family_document_writer.h"
#include "source/name_guid.h"
#include "source_test_util.h"
#include "vardel/family.h"
#include "vardel/xml_parser.h"

namespace VardelSourceTest {
namespace {

// Columns in another order than the header; d maps parameter 1 (of category
// 10, the parent of 11), n parameter 3 (of 20).
const std::string kChildren = R"(
  <Name Lang="en-US">Hex screw</Name><Name Lang="DE-de">Sechskantschraube</Name>
  <Description Lang="en-US">Fully threaded</Description>
  <Category Ref="@11"/><Category Ref="@20"/>
  <Column Name="d" Type="Double" Unit="mm"/>
  <Column Name="size" Key="1"><Title Lang="de-DE">Größe</Title><Title Lang="en-US">Size</Title></Column>
  <Column Name="n" Type="integer" Key="2"/>
  <Column Name="ok" Type="boolean" Hidden="true"/>
  <Map Parameter="@3" Column="n"/><Map Parameter="@1" Column="d"/>)";
const std::string kTable = "size,d,n,ok\nM8,8,3,true\n\nM10,,-4,0\nM12,12.5,,\n";

using Cells = std::vector<std::wstring>;

class CsvFamily : public ::testing::Test {
  protected:
    // Reads the description and table from files of the folder.
    bool Read(const std::string& children, const std::string& table,
              const std::string& attributes = "") {
        const auto file =
            folder.Write("families/sub/f.csvfamily.xml", CsvDescriptionXml(children, attributes));
        folder.Write("families/sub/f.csv", table);
        return ReadFamily(file, index, family, error);
    }
    // Reads them from memory, as the fuzz target does.
    bool Parse(const std::string& children, const std::string& table,
               const std::string& attributes = "") {
        return ParseCsvFamily(CsvDescriptionXml(children, attributes), table,
                              "lib/families/f.csvfamily.xml", index, family, error);
    }

    LibraryFolder folder;
    LibraryIndex index{folder.Library()};
    FamilySource family;
    SourceError error;
};

XMLNode Root(const std::string& document) {
    XMLParser parser;
    EXPECT_TRUE(parser.LoadXmlBytes(document)) << document;
    return parser.GetRootNode();
}

// The attribute `name` of the node `xpath` selects, or its text without a name.
std::wstring At(const XMLNode& from, const wchar_t* xpath, const wchar_t* name = nullptr) {
    XMLNode node;
    std::wstring value;
    EXPECT_TRUE(from.GetChildNode(xpath, node)) << xpath;
    EXPECT_TRUE(name != nullptr ? node.GetProperty(name, value) : node.GetNodeText(value));
    return value;
}

int Count(const XMLNode& from, const wchar_t* xpath) {
    XMLNodeArray nodes;
    from.SelectChildNodes(xpath, nodes);
    return nodes.GetSize();
}

// The rendered documents, read back as a family document, give the family.
void ExpectReadsBack(const FamilySource& csv, const LibraryIndex& index) {
    std::vector<StringsFile> strings;
    for (const auto& [language, bytes] : csv.strings)
        strings.emplace_back("f.strings.xml", bytes);
    FamilySource back;
    SourceError error;
    ASSERT_TRUE(ParseFamilyDocument(csv.document, strings, "f.family.xml", index, back, error))
        << error.ToString();
    EXPECT_EQ(std::tie(back.id, back.revisionId, back.lastModified, back.isFeature, back.thumbnail,
                       back.manufacturer, back.displayNames, back.descriptions, back.categories),
              std::tie(csv.id, csv.revisionId, csv.lastModified, csv.isFeature, csv.thumbnail,
                       csv.manufacturer, csv.displayNames, csv.descriptions, csv.categories));
    ASSERT_EQ(back.members.size(), csv.members.size());
    for (std::size_t r = 0; r < csv.members.size(); ++r) {
        EXPECT_EQ(back.members[r].rowId, csv.members[r].rowId);
        EXPECT_EQ(back.members[r].values, csv.members[r].values);
    }
    ASSERT_EQ(back.parameterColumns.size(), csv.parameterColumns.size());
    for (std::size_t m = 0; m < csv.parameterColumns.size(); ++m) {
        EXPECT_EQ(back.parameterColumns[m].parameter, csv.parameterColumns[m].parameter);
        EXPECT_EQ(back.parameterColumns[m].column, csv.parameterColumns[m].column);
    }
}

TEST_F(CsvFamily, ReadsTheFamilyInHeaderOrder) {
    ASSERT_TRUE(Read(kChildren, kTable)) << error.ToString();
    EXPECT_EQ(family.file, folder.path() / "families/sub/f.csvfamily.xml");
    EXPECT_EQ(family.id, GuidOf(100));
    EXPECT_EQ(family.displayNames,
              (LocalizedTexts{{L"de-de", L"Sechskantschraube"}, {L"en-us", L"Hex screw"}}));
    EXPECT_EQ(family.revisionId, DerivedRevision(GuidOf(100), L"2024-03-01T00:00:00Z"));
    EXPECT_EQ(family.categories, (std::vector<Guid>{GuidOf(11), GuidOf(20)}));
    // Values of the mapped columns n and d, in the description's map order.
    ASSERT_EQ(family.parameterColumns.size(), 2u);
    EXPECT_EQ(family.parameterColumns[0].column, L"n");
    EXPECT_EQ(family.parameterColumns[1].column, L"d");
    ASSERT_EQ(family.members.size(), 3u);
    EXPECT_EQ(family.members[0].values, (Cells{L"3", L"8"}));
    EXPECT_EQ(family.members[1].values, (Cells{L"-4", L""}));
    EXPECT_EQ(family.members[2].values, (Cells{L"", L"12.5"}));
    ExpectReadsBack(family, index);

    // Row ids follow the data line, not blank lines or line ends; another
    // family gets others.
    const auto first = family.members;
    EXPECT_EQ(first[2].rowId, CsvRowId(GuidOf(100), 2).ToString());
    ASSERT_TRUE(Read(kChildren, "\n\nsize,d,n,ok\r\nM8,8,3,true\r\n\r\n\r\nM10,,-4,0\r\nM12,,,"));
    EXPECT_EQ(family.members[2].rowId, first[2].rowId);
    ASSERT_TRUE(Read(kChildren, kTable, " Id='@101'"));
    EXPECT_NE(family.members[0].rowId, first[0].rowId);
}

TEST_F(CsvFamily, RendersTheFamilyDocumentAndItsStrings) {
    folder.Write("families/sub/img/a.png", VardelTestImages::Png(0x00FF00));
    ASSERT_TRUE(Read(kChildren, kTable,
                     " Revision='@7' Thumbnail='img/a.png' Manufacturer='ACME' Kind='Feature'"
                     " StandardsOrganization='ISO' Standard='ISO 4017' ParentFamilyName='PF'"))
        << error.ToString();
    const XMLNode root = Root(family.document);
    EXPECT_EQ(At(root, L".", L"InternalName"), GuidOf(100).ToString());
    EXPECT_EQ(At(root, L".", L"DisplayName"), L"Hex screw");
    EXPECT_EQ(At(root, L".", L"RevisionId"), GuidOf(7).ToString());
    EXPECT_EQ(At(root, L".", L"StandardsOrg"), L"ISO");
    EXPECT_EQ(At(root, L".", L"ParentFamilyName"), L"PF");
    EXPECT_EQ(At(root, L".", L"DataTypeCategory"), kFeatureDataType);
    EXPECT_EQ(At(root, L"Thumbnail/File", L"FullFileName"), L"img/a.png");
    // Each mapped parameter sits in the family's category that has it.
    EXPECT_EQ(At(root, L"Categories/Category[1]/CategoryParameter", L"InternalName"),
              GuidOf(1).ToString());
    EXPECT_EQ(At(root, L"Categories/Category[2]/CategoryParameter", L"InternalName"),
              GuidOf(3).ToString());
    EXPECT_EQ(At(root, L"ParameterMap//ParamToColumn[2]/CategoryParameterRef", L"Category"),
              GuidOf(11).ToString());
    EXPECT_EQ(At(root, L"FamilyTable/Columns/Column[1]", L"ColumnId"), L"size");
    EXPECT_EQ(At(root, L"FamilyTable/Columns/Column[2]", L"ValueType"), L"double");
    EXPECT_EQ(At(root, L"FamilyTable/Columns/Column[1]", L"Title"), L"Size");
    EXPECT_EQ(At(root, L"FamilyTable/Columns/Column[1]", L"KeyWeight"), L"1");
    EXPECT_EQ(At(root, L"FamilyTable/Columns/Column[4]", L"Title"), L"ok");
    EXPECT_EQ(At(root, L"FamilyTable/Columns/Column[4]", L"Hidden"), L"true");
    EXPECT_EQ(Count(root, L"FamilyTable/Columns/Column[@ColumnwideValue or @Custom]"), 0);
    EXPECT_EQ(Count(root, L"FamilyTable/Rows/Row[2]/Cell"), 3);  // none for the empty d

    ASSERT_EQ(family.strings.size(), 2u);
    const XMLNode german = Root(family.strings.at(L"de-de"));
    EXPECT_EQ(At(german, L".", L"xml:lang"), L"de-de");
    EXPECT_EQ(At(german, L"DisplayName"), L"Sechskantschraube");
    EXPECT_EQ(Count(german, L"Description"), 0);
    EXPECT_EQ(At(german, L"Table/ColumnStrings[@ColumnId='size']/Title"), L"Gr\u00F6\u00DFe");

    // Without a name in the default language the first language stands in.
    ASSERT_TRUE(
        Read("<Name Lang='nl'>Schroef</Name><Name Lang='fr'>Vis</Name>"
             "<Category Ref='@10'/><Column Name='a'/>",
             "a\n1\n"));
    EXPECT_EQ(At(Root(family.document), L".", L"DisplayName"), L"Vis");
}

// The template carries one user parameter per listed column, which the
// table's columns drive; the family model finds them there.
TEST_F(CsvFamily, RendersTheTemplateAndItsColumns) {
    ASSERT_TRUE(Read(kChildren + "<Template Name='hex' FileName='models/hex.model'>"
                                 "<Parameter Column='size'/><Parameter Column='d'/></Template>",
                     kTable))
        << error.ToString();
    const XMLNode root = Root(family.document);
    EXPECT_EQ(At(root, L"FamilyTemplates/FamilyTemplate", L"FileName"), L"models/hex.model");
    const wchar_t* second = L"FamilyTemplates/FamilyTemplate[@Name='hex']/GeneralizedParameter[2]";
    EXPECT_EQ(At(root, second, L"Id"), L"2");
    EXPECT_EQ(At(root, second, L"ObjectReferenceKey"), L"d");
    EXPECT_EQ(At(root, second, L"ValueType"), L"double");
    EXPECT_EQ(At(root, second, L"UnitType"), L"mm");
    const wchar_t* bound =
        L"ParameterMap/MemberParametersMap/ColumnsToTemplate/"
        L"ColumnToTemplate[@TableColumn='d']/TemplatesParameter/TemplateParameter";
    EXPECT_EQ(At(root, bound, L"TemplateName"), L"hex");
    EXPECT_EQ(At(root, bound, L"ParameterId"), L"2");
    // The mappings beside the bindings still read back.
    ExpectReadsBack(family, index);

    const CEncapFamily model(VardelCommon::FromUtf8(family.document).c_str(), {}, L"", nullptr,
                             L"en-us", false);
    const CEncapFamilyMapping* mapping = model.GetEncapFamilyMapping();
    ASSERT_NE(mapping, nullptr);
    EXPECT_EQ(mapping->GetTemplateNames(), std::vector<std::wstring>{L"hex"});
    const CEncapFamilyTemplate* found = mapping->GetFamilyTemplate(L"HEX");
    ASSERT_NE(found, nullptr);
    std::wstring key;
    ASSERT_NE(found->GetParameter(1), nullptr);
    found->GetParameter(1)->GetObjectReferenceKey(key);
    EXPECT_EQ(key, L"size");
}

// The document keeps texts as written; a member's value is what the family
// model makes of a text cell ("&" joins trimmed pieces, quotes are dropped).
TEST_F(CsvFamily, HostileTextsRoundTripLiterally) {
    const std::wstring hostile = L"a\"b'c<d>e&f%g_h'; DROP TABLE m;-- \u00DF\U0001F529 \t|\r\n|";
    const std::string utf8 =
        "a\"\"b'c<d>e&f%g_h'; DROP TABLE m;-- \xC3\x9F\xF0\x9F\x94\xA9 \t|\r\n|";
    const std::string xml =
        "a&quot;b&apos;c&lt;d&gt;e&amp;f%g_h&apos;; DROP TABLE m;-- "
        "\xC3\x9F\xF0\x9F\x94\xA9 &#9;|&#13;&#10;|";
    ASSERT_TRUE(Read("<Name Lang='en-US'>" + xml + "</Name><Category Ref='@10'/><Column Name='" +
                         xml + "'/><Map Parameter='@1' Column='" + xml + "'/>",
                     "\"" + utf8 + "\"\n\"" + utf8 + "\"\n", " Manufacturer='" + xml + "'"))
        << error.ToString();
    EXPECT_EQ(family.displayNames.at(L"en-us"), hostile);
    EXPECT_EQ(family.parameterColumns[0].column, hostile);
    EXPECT_EQ(family.members[0].values[0],
              L"ab'c<d>ef%g_h'; DROP TABLE m;-- \u00DF\U0001F529 \t|\r\n|");
    const XMLNode root = Root(family.document);
    EXPECT_EQ(At(root, L".", L"Manufacturer"), hostile);
    EXPECT_EQ(At(root, L"FamilyTable/Rows/Row/Cell"), hostile);
    EXPECT_EQ(At(root, L"FamilyTable/Rows/Row/Cell", L"ColumnId"), hostile);
    ExpectReadsBack(family, index);

    // Blank cells stay in the document, though their value is none; XML
    // drops blank texts on reading, so a blank name or title in a
    // description is none.
    ASSERT_TRUE(
        Read("<Name Lang='en-US'>x</Name><Name Lang='fr'> </Name><Category Ref='@10'/>"
             "<Column Name=' '><Title Lang='en-US'>&#9;</Title></Column><Column Name='b'/>"
             "<Map Parameter='@1' Column=' '/>",
             " ,b\n\" \r\n\t\",\n"))
        << error.ToString();
    EXPECT_EQ(At(Root(family.document), L"FamilyTable/Rows/Row/Cell"), L" \r\n\t");
    EXPECT_EQ(family.members[0].values, Cells{L""});
    EXPECT_EQ(family.displayNames.size(), 1u);
    EXPECT_EQ(At(Root(family.document), L"FamilyTable/Columns/Column", L"Title"), L" ");
    ExpectReadsBack(family, index);
}

// Every element's name, attributes, text and line, in document order.
std::vector<std::pair<std::wstring, int>> Elements(const XMLParser& parser) {
    XMLNodeArray nodes;
    parser.GetRootNode().SelectChildNodes(L"descendant-or-self::*", nodes);
    std::vector<std::pair<std::wstring, int>> elements;
    for (int i = 0; i < nodes.GetSize(); ++i) {
        std::wstring xml;
        nodes.GetAt(i).GetXml(xml);
        elements.emplace_back(xml, nodes.GetAt(i).GetLineNumber());
    }
    return elements;
}

// The family model gets the rendered documents as trees built alongside
// the texts: they must be what parsing the texts gives, escapes, blank
// cells, texts beyond ASCII and lines included.
TEST(RenderedFamily, TreesAreTheParsedTexts) {
    FamilySource family;
    family.id = GuidOf(1);
    family.displayNames = {{L"de", L"Schraube & <Mutter> \"\u00DF\""}, {L"en", L"screw"}};
    family.categories = {GuidOf(10)};
    family.parameterColumns = {{GuidOf(2), L"d"}};
    std::vector<RenderedColumn> columns(2);
    columns[0].id = L"d";
    columns[0].titles = {{L"fr", L"\t"}};
    columns[1].id = L"n&m";
    const std::vector<RenderedRow> rows{{L"r1", {L"8", L" "}},
                                        {L"r2", {L"", L"a\"b\r\n\U0001F529"}}};
    const std::vector<MappedParameter> mapped{{GuidOf(10), true}};
    RenderedTrees trees;
    RenderFamilyDocuments(family, columns, rows, mapped, nullptr, L"en", trees);

    XMLParser parsed;
    ASSERT_TRUE(parsed.LoadXmlBytes(family.document));
    EXPECT_EQ(Elements(trees.document), Elements(parsed));
    ASSERT_EQ(trees.strings.size(), 3u);
    auto strings = family.strings.begin();
    for (const XMLParser& tree : trees.strings) {
        ASSERT_TRUE(parsed.LoadXmlBytes((strings++)->second));
        EXPECT_EQ(Elements(tree), Elements(parsed));
    }
}

// A designation joined from two columns, a value derived from two others
// (in mm, through the columns' units), a range column and a text cell that
// is a formula of its own; all four mapped.
const std::string kFormulas = R"(
  <Name Lang="en-US">Screw</Name><Category Ref="@11"/><Category Ref="@20"/>
  <Column Name="len" Type="integer" Range="[10;100;5;40]"/>
  <Column Name="d" Type="double" Unit="mm"/><Column Name="P" Type="double" Unit="mm"/>
  <Column Name="l" Type="double" Unit="mm"/><Column Name="note"/>
  <Column Name="designation" Formula='"M" &amp; {d} &amp; "x" &amp; {l}'/>
  <Column Name="D1" Type="double" Unit="mm" Formula="{d} - 5*sqrt(3)/8*{P}"/>
  <Map Parameter="@2" Column="designation"/><Map Parameter="@1" Column="D1"/>
  <Map Parameter="@3" Column="len"/><Map Parameter="@4" Column="note"/>)";

TEST_F(CsvFamily, FormulaAndRangeColumnsGiveEvaluatedValues) {
    ASSERT_TRUE(Read(kFormulas,
                     "d,P,l,note\n8,1.25,30,\"{l} & \"\" mm\"\"\"\n10,1.5,16,\"{none}\"\n6,,5,x\n"))
        << error.ToString();
    ASSERT_EQ(family.members.size(), 3u);
    EXPECT_EQ(family.members[0].values, (Cells{L"M8x30", L"6.6468353", L"40", L"30 mm"}));
    // A cell or formula that does not evaluate leaves no value, for this
    // member only.
    EXPECT_EQ(family.members[1].values, (Cells{L"M10x16", L"8.3762024", L"40", L""}));
    EXPECT_EQ(family.members[2].values, (Cells{L"M6x5", L"", L"40", L"x"}));

    // Formula columns follow the table's, with their formulas; a range
    // column is a custom one. The documents read back to the same values.
    const XMLNode root = Root(family.document);
    EXPECT_EQ(At(root, L"FamilyTable/Columns/Column[4]", L"ColumnId"), L"note");
    EXPECT_EQ(At(root, L"FamilyTable/Columns/Column[5]", L"ColumnId"), L"len");
    EXPECT_EQ(At(root, L"FamilyTable/Columns/Column[5]", L"ColumnwideValue"), L"[10;100;5;40]");
    EXPECT_EQ(At(root, L"FamilyTable/Columns/Column[5]", L"Custom"), L"true");
    EXPECT_EQ(At(root, L"FamilyTable/Columns/Column[6]", L"ColumnwideValue"),
              L"\"M\" & {d} & \"x\" & {l}");
    EXPECT_EQ(Count(root, L"FamilyTable/Columns/Column[@Custom]"), 1);
    EXPECT_EQ(Count(root, L"FamilyTable/Rows/Row[1]/Cell"), 4);
    ExpectReadsBack(family, index);
}

TEST_F(CsvFamily, FormulaFaultsNameTheColumnElement) {
    const std::string base =
        "<Name Lang='en'>x</Name><Category Ref='@10'/><Column Name='a' Type='double'/>\n";
    const std::pair<std::string, std::string> cases[] = {
        {"<Column Name='f' Formula='{b}*2'/>",
         "f.csvfamily.xml:4: element Column: column \"f\": the formula \"{b}*2\" refers to column "
         "\"b\", which the table does not have"},
        {"<Column Name='f' Formula='{a'/>",
         "f.csvfamily.xml:4: element Column: column \"f\": the formula \"{a\" has a \"{\" without "
         "\"}\" or a \"}\" without \"{\""},
        {"<Column Name='f' Type='double' Formula='{a} +'/>",
         "f.csvfamily.xml:4: element Column: column \"f\": the formula \"{a} +\" does not give a "
         "value of the column's type"},
        {"<Column Name='f' Type='double' Formula='{g}'/>\n<Column Name='g' Type='double' "
         "Formula='{f}'/>",
         "f.csvfamily.xml:4: element Column: column \"f\": the formula \"{g}\" refers back to its "
         "own column"},
        {"<Column Name='f' Type='double' Range='[1;10;20;5]'/>",
         "f.csvfamily.xml:4: element Column: column \"f\": the range \"[1;10;20;5]\" is not "
         "[min;max;step;default] with min <= default <= max and step <= max - min"},
        {"<Column Name='f' Range='1..10'/>",
         "f.csvfamily.xml:4: element Column: column \"f\": the range \"1..10\" is not "
         "[min;max;step;default]"},
        {"<Column Name='f' Range='[1;10;1;5]'/>",
         "f.csvfamily.xml:4: element Column: column \"f\": the range \"[1;10;1;5]\" needs a "
         "double or integer column"},
        {"<Column Name='f' Formula='1' Range='[1;10;1;5]'/>",
         "f.csvfamily.xml:4: element Column: a column has a Formula or a Range, not both"},
    };
    for (const auto& [column, message] : cases) {
        EXPECT_FALSE(Parse(base + column, "a\n1\n")) << column;
        EXPECT_EQ(error.ToString().substr(0, ("lib/families/" + message).size()),
                  "lib/families/" + message)
            << column;
    }
    // A formula column takes no values from the table.
    EXPECT_FALSE(Parse(base + "<Column Name='f' Formula='{a}'/>", "\na,f\n1,2\n"));
    EXPECT_EQ(error.ToString(),
              "lib/families/f.csv:2: column \"f\": its Column has a formula and "
              "takes no values from the table");
}

TEST_F(CsvFamily, CellsMustMatchTheirColumnType) {
    struct Case {
        const char *type, *value, *expected;  // null: accepted
    };
    const Case cases[] = {
        {"double", "8", nullptr},
        {"double", "-0.35", nullptr},
        {"double", "+2.", nullptr},
        {"double", ".5E-7", nullptr},
        {"double", "", nullptr},
        {"double", "M8", "a number"},
        {"double", "8 ", "a number"},
        {"double", "8,5", "a number"},
        {"double", "inf", "a number"},
        {"double", "nan", "a number"},
        {"double", "0x10", "a number"},
        {"double", "1e", "a number"},
        {"double", ".", "a number"},
        {"integer", "-007", nullptr},
        {"integer", "1.0", "a whole number"},
        {"integer", "1e3", "a whole number"},
        {"integer", "-", "a whole number"},
        {"boolean", "TRUE", nullptr},
        {"boolean", "0", nullptr},
        {"boolean", "yes", "true, false, 1 or 0"},
        {"string", "anything", nullptr},
    };
    for (const Case& c : cases) {
        const bool ok = Parse(std::string("<Category Ref='@10'/><Name Lang='en'>x</Name>"
                                          "<Column Name='k'/><Column Name='v' Type='") +
                                  c.type + "'/>",
                              std::string("k,v\na,1\n\nb,\"") + c.value + "\"\n");
        EXPECT_EQ(ok, c.expected == nullptr) << c.type << " " << c.value;
        if (c.expected != nullptr) {
            EXPECT_EQ(error.ToString(), std::string("lib/families/f.csv:4: column \"v\": \"") +
                                            c.value + "\" is not " + c.expected);
        }
    }
}

TEST_F(CsvFamily, DescriptionFaultsNameTheElementAndLine) {
    const std::string base = "<Name Lang='en'>x</Name><Category Ref='@10'/>\n";
    const std::string mapped = base + "<Column Name='a'/><Map Parameter=";
    struct Case {
        std::string children, attributes;
        int line;
        std::string where, what;
    };
    const Case cases[] = {
        {"<Name>", "", 4, "", "not well-formed XML"},
        {base, " Id='x'", 2, "element CsvFamily", "attribute Id: \"x\" is not a GUID"},
        {base, " LastModified='2024-03-01'", 2, "element CsvFamily", "attribute LastModified"},
        {base, " Kind='assembly'", 2, "element CsvFamily",
         "attribute Kind: \"assembly\" is not part or feature"},
        {base, " Revision='{x}'", 2, "element CsvFamily",
         "attribute Revision: \"{x}\" is not a GUID"},
        {base, " Table='/etc/passwd'", 2, "element CsvFamily",
         "attribute Table must be a path relative"},
        {"<Category Ref='@10'/>", "", 2, "element CsvFamily", "no Name element"},
        {"<Name Lang='en'>x</Name>", "", 2, "element CsvFamily", "the family is in no category"},
        {"<Name Lang='en'>x</Name>\n<Category Ref='@13'/>", "", 4, "element Category",
         "no category of the library has the id " + Id(13)},
        {base + "<Category Ref='@10'/>", "", 4, "element Category",
         "category " + Id(10) + " given twice"},
        {base + "<Column/>", "", 4, "element Column", "missing required attribute Name"},
        {base + "<Column Name=''/>", "", 4, "element Column", "attribute Name is empty"},
        {base + "<Column Name='a'/>\n<Column Name='a'/>", "", 5, "element Column",
         "duplicate column a"},
        {base + "<Column Name='a' Type='text'/>", "", 4, "element Column",
         "attribute Type: \"text\""},
        {base + "<Column Name='a' Key='0'/>", "", 4, "element Column",
         "attribute Key: \"0\" is not a positive whole number"},
        {base + "<Column Name='a' Hidden='no'/>", "", 4, "element Column", "attribute Hidden"},
        {base + "<Column Name='a'><Title>t</Title></Column>", "", 4, "element Title",
         "missing required attribute Lang"},
        {mapped + "'@9' Column='a'/>", "", 4, "element Map",
         "no parameter of the library has the id " + Id(9)},
        {mapped + "'@5' Column='a'/>", "", 4, "element Map",
         "parameter " + Id(5) + " belongs to none of the family's categories or their ancestors"},
        {mapped + "'@2' Column='a'/>", "", 4, "element Map",
         "parameter " + Id(2) + " belongs to none"},
        {mapped + "'@1' Column='b'/>", "", 4, "element Map", "no Column is named b"},
        {mapped + "'@1'/>", "", 4, "element Map", "missing required attribute Column"},
        {mapped + "'@1' Column='a'/>\n<Map Parameter='@1' Column='a'/>", "", 5, "element Map",
         "parameter " + Id(1) + " mapped twice"},
        {base + "<Column Name='a'/><Template Name='t'/>", "", 4, "element Template",
         "missing required attribute FileName"},
        {base + "<Column Name='a'/><Template Name='' FileName='f'/>", "", 4, "element Template",
         "attribute Name is empty"},
        {base + "<Template Name='t' FileName='f'/>\n<Template Name='u' FileName='g'/>", "", 5,
         "element Template", "a family has one Template"},
        {base + "<Column Name='a'/><Template Name='t' FileName='f'><Parameter Column='b'/>"
                "</Template>",
         "", 4, "element Parameter", "no Column is named b"},
        {base + "<Column Name='a'/><Template Name='t' FileName='f'><Parameter Column='a'/>\n"
                "<Parameter Column='a'/></Template>",
         "", 5, "element Parameter", "column a given twice"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(Parse(c.children, "a\n1\n", c.attributes)) << c.children << c.attributes;
        EXPECT_EQ(error.file, std::filesystem::path("lib/families/f.csvfamily.xml"));
        EXPECT_EQ(error.line, c.line) << c.children << c.attributes;
        EXPECT_EQ(error.where, c.where) << c.children << c.attributes;
        EXPECT_EQ(error.what.substr(0, c.what.size()), c.what) << c.children << c.attributes;
    }
}

TEST_F(CsvFamily, TableFaultsNameTheLineAndColumn) {
    const std::string children =
        "<Name Lang='en'>x</Name><Category Ref='@10'/>\n<Column Name='a'/>\n<Column Name='b'/>";
    const std::pair<std::string, std::string> cases[] = {
        {"a,b,c\n", "f.csv:1: column \"c\": no Column of the description describes it"},
        {"\na,b,a\n", "f.csv:2: column \"a\": the header names it twice"},
        {"a\n", "f.csvfamily.xml:5: element Column: column \"b\" is not in the table's header"},
        {"a,b\n1,2\n1,2,3\n", "f.csv:3: 3 fields where the header has 2"},
        {"a,b\n\"x\x01y\",2\n", "f.csv:2: column \"a\": holds a character XML cannot hold"},
        {"a,b\n\"\xEF\xBF\xBF\",2\n", "f.csv:2: column \"a\": holds a character XML cannot hold"},
        {"", "f.csv: the table has no header line"},
    };
    for (const auto& [table, message] : cases) {
        EXPECT_FALSE(Parse(children, table)) << table;
        EXPECT_EQ(error.ToString(), "lib/families/" + message) << table;
    }
    const auto file = folder.Write("families/g.csvfamily.xml", CsvDescriptionXml(children));
    EXPECT_FALSE(ReadFamily(file, index, family, error));
    EXPECT_EQ(error.ToString(), (folder.path() / "families/g.csv").string() + ": cannot be read");
}

}  // namespace
}  // namespace VardelSourceTest
