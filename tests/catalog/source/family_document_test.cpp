// Family documents of the system's own format: the facts read out of them,
// their strings documents found beside them, and every fault with its place.
#include <gtest/gtest.h>

#include "source/family_document_writer.h"
#include "source/name_guid.h"
#include "source_test_util.h"

namespace VardelSourceTest {
namespace {

// Columns and rows of the clamp's table, starting on line 14: D maps
// parameter 1 and M parameter 2; M has a formula, r2's D a cell that does
// not evaluate.
const std::string kColumns =
    R"(<Column ColumnId="RID"/><Column ColumnId="D" ValueType="Double" UnitType="mm" KeyWeight="1"/>)"
    R"(<Column ColumnId="M" ColumnwideValue="=steel"/>)";
const std::string kTable = "    <Columns>" + kColumns + R"(</Columns>
    <Rows><Row RowId="r1"><Cell ColumnId="RID">r1</Cell><Cell ColumnId="D">10</Cell></Row>
      <Row RowId="r2"><Cell ColumnId="D">=D*2</Cell><Cell ColumnId="M">&lt;brass&gt;</Cell></Row></Rows>)";

// The root's start tag ends on line 3, `maps` are on line 11, `table`
// starts on line 14, `extra` on the line after the table's last.
std::string Clamp(const std::string& rootAttributes = "", const std::string& extra = "",
                  const std::string& table = kTable, const std::string& maps = "") {
    return Ids(R"(<?xml version="1.0" encoding="UTF-8"?>
<Family InternalName="{@200}" DisplayName="Clamp" Description="Root text" Manufacturer="M"
        LastModifiedTime="2024-04-01T10:00:00Z" ParentLibraryName="PL")" +
               rootAttributes + R"(>
  <Thumbnail><File FullFileName="img/clamp.bmp"/></Thumbnail>
  <Categories>
    <Category InternalName="@11"><CategoryParameter InternalName="@1"/><Category InternalName="@12"/></Category>
    <Category InternalName="@77"/><Category InternalName="not a guid"/><Category InternalName="@11"/>
  </Categories>
  <ParameterMap><MemberParametersMap><ParamsToColumn>
    <ParamToColumn TableColumn="D"><CategoryParameterRef Category="@11" CategoryParameter="@1"/></ParamToColumn>
    <ParamToColumn TableColumn="m"><CategoryParameterRef CategoryParameter="@2"/></ParamToColumn>)" +
               maps + R"(
  </ParamsToColumn></MemberParametersMap></ParameterMap>
  <FamilyTable>
)" + table + "\n  </FamilyTable>\n" +
               extra + "\n</Family>\n");
}

// The clamp with `columns` after its own and `rows` after its own.
std::string ClampWith(const std::string& columns, const std::string& rows = "") {
    return Clamp("", "",
                 "    <Columns>" + kColumns + columns +
                     "</Columns>\n    <Rows><Row RowId='r1'/><Row RowId='r2'/>" + rows + "</Rows>");
}

// The clamp with `maps` after its own mappings.
std::string ClampMaps(const std::string& maps) {
    return Clamp("", "", kTable, Ids(maps));
}

const std::string kEnglish =
    "<FamilyStrings xml:lang='en-US'><DisplayName>Clamp "
    "EN</DisplayName><Description/></FamilyStrings>";
const std::string kGerman =
    "<S xml:lang='DE-de'>\n<DisplayName>Klemme</DisplayName><Description>Text</Description></S>";

class FamilyDocument : public ::testing::Test {
  protected:
    bool Parse(const std::string& document, const std::vector<StringsFile>& strings = {}) {
        return ParseFamilyDocument(document, strings, "lib/clamp.family.xml", index, family, error);
    }

    LibraryFolder folder;
    LibraryIndex index{folder.Library()};
    FamilySource family;
    SourceError error;
};

TEST_F(FamilyDocument, ReadsTheDocumentWithItsStringsDocuments) {
    const std::string document =
        Clamp(" DataTypeCategory='" +
              std::string(kFeatureDataType.begin(), kFeatureDataType.end()) + "'");
    const auto file = folder.Write("families/c/clamp.family.xml", document);
    folder.Write("families/c/clamp.strings.en-US.xml", kEnglish);
    folder.Write("families/c/clamp.strings.de-DE.xml", kGerman);
    folder.Write("families/c/clamp.strings.txt", "not a strings document");
    folder.Write("families/c/clampX.strings.fr.xml", "<broken");
    folder.Write("families/c/img/clamp.bmp", VardelTestImages::Bmp(0xC0FFEE));
    ASSERT_TRUE(ReadFamily(file, index, family, error)) << error.ToString();

    EXPECT_EQ(family.file, file);
    EXPECT_EQ(family.id, GuidOf(200));
    EXPECT_TRUE(family.isFeature);
    EXPECT_EQ(family.revisionId, DerivedRevision(GuidOf(200), L"2024-04-01T10:00:00Z"));
    EXPECT_EQ(family.manufacturer, L"M");
    EXPECT_EQ(family.parentLibraryName, L"PL");
    EXPECT_EQ(family.thumbnail, L"img/clamp.bmp");
    EXPECT_EQ(family.thumbnailImage.mediaType, "image/bmp");
    EXPECT_EQ(family.thumbnailImage.bytes, VardelTestImages::Bmp(0xC0FFEE));
    // Nested categories count, each once; those the library lacks do not.
    EXPECT_EQ(family.categories, (std::vector<Guid>{GuidOf(11), GuidOf(12)}));
    // Strings documents first, the root attributes for the default language.
    EXPECT_EQ(family.displayNames,
              (LocalizedTexts{{L"de-de", L"Klemme"}, {L"en-us", L"Clamp EN"}}));
    EXPECT_EQ(family.descriptions, (LocalizedTexts{{L"de-de", L"Text"}, {L"en-us", L"Root text"}}));
    EXPECT_EQ(family.document, document);
    EXPECT_EQ(family.strings,
              (std::map<std::wstring, std::string>{{L"de-de", kGerman}, {L"en-us", kEnglish}}));

    // Values as the family model evaluates them: a column's formula where the
    // row has no cell, none for a cell that does not evaluate.
    ASSERT_EQ(family.parameterColumns.size(), 2u);
    EXPECT_EQ(family.parameterColumns[0].column, L"D");
    EXPECT_EQ(family.parameterColumns[1].parameter, GuidOf(2));
    EXPECT_EQ(family.parameterColumns[1].column, L"M");
    ASSERT_EQ(family.members.size(), 2u);
    EXPECT_EQ(family.members[0].rowId, L"r1");
    EXPECT_EQ(family.members[0].values, (std::vector<std::wstring>{L"10", L"=steel"}));
    EXPECT_EQ(family.members[1].values, (std::vector<std::wstring>{L"", L"<brass>"}));

    ASSERT_TRUE(
        Parse(Ids("<Family InternalName='@201' LastModifiedTime='2024-01-01T00:00:00Z' "
                  "RevisionId='@5'><Categories><Category InternalName='@20'/></Categories>"
                  "</Family>")))
        << error.ToString();
    EXPECT_FALSE(family.isFeature);
    EXPECT_EQ(family.revisionId, GuidOf(5));
    EXPECT_TRUE(family.displayNames.empty() && family.members.empty() && family.strings.empty());
}

TEST_F(FamilyDocument, FaultsNameTheElementAndLine) {
    struct Case {
        std::string document;
        int line;
        std::string where, what;
    };
    const Case cases[] = {
        {"<Family>\n<x></Family>", 2, "", "not well-formed XML"},
        {"<Family LastModifiedTime='2024-01-01T00:00:00Z'/>", 1, "element Family",
         "missing required attribute InternalName"},
        {Ids("<Family InternalName='@1'/>"), 1, "element Family",
         "missing required attribute LastModifiedTime"},
        {Clamp(Ids(" DataTypeCategory='@3'")), 3, "element Family",
         "attribute DataTypeCategory names neither parts nor features"},
        {Clamp(" DataTypeCategory='part'"), 3, "element Family",
         "attribute DataTypeCategory: \"part\""},
        {Clamp(" RevisionId=''"), 3, "element Family", "attribute RevisionId: \"\" is not a GUID"},
        {Ids("<Family InternalName='@1' LastModifiedTime='2024-01-01T00:00:00Z'>\n<Categories>"
             "<Category InternalName='@77'/></Categories></Family>"),
         1, "element Family", "the family is in no category of the library"},
        {"<Family>\n\xC3\x28</Family>", 2, "", "not UTF-8"},
        // Columns and rows the table would leave out.
        {ClampWith("\n<Column/>"), 15, "element Column", "missing required attribute ColumnId"},
        {ClampWith("\n<Column ColumnId='D'/>"), 15, "element Column", "duplicate column D"},
        {ClampWith("", "\n<Row/>"), 16, "element Row", "missing required attribute RowId"},
        {ClampWith("", "\n<Row RowId='R1'/>"), 16, "element Row", "duplicate row id R1"},
        // Column formulas the model refuses name their column.
        {ClampWith("\n<Column ColumnId='X' ValueType='double' ColumnwideValue='{ Q }*2'/>"), 15,
         "element Column",
         "column X: the formula \"{ Q }*2\" refers to column \"Q\", which the table does not have"},
        {ClampWith("\n<Column ColumnId='X' ColumnwideValue='{D'/>"), 15, "element Column",
         "column X: the formula \"{D\" has a \"{\" without \"}\""},
        {ClampWith("\n<Column ColumnId='X' ValueType='double' ColumnwideValue='{D}*'/>"), 15,
         "element Column", "column X: the formula \"{D}*\" does not give a value"},
        {ClampWith("<Column ColumnId='X' ValueType='double' ColumnwideValue='{Y}'/>\n"
                   "<Column ColumnId='Y' ValueType='double' ColumnwideValue='{X}+1'/>"),
         14, "element Column", "column X: the formula \"{Y}\" refers back to its own column"},
        {ClampWith("\n<Column ColumnId='X' ValueType='double' Custom='true' "
                   "ColumnwideValue='[5;1;1;3]'/>"),
         15, "element Column", "column X: the range \"[5;1;1;3]\" is not [min;max;step;default]"},
        // Mappings the family's mapping holds, against the table and library.
        {ClampMaps("<ParamToColumn TableColumn='Z'/>"), 11, "element ParamToColumn",
         "no column has the id Z"},
        {ClampMaps("<ParamToColumn TableColumn='D'><CategoryParameterRef CategoryParameter='@9'/>"
                   "</ParamToColumn>"),
         11, "element CategoryParameterRef", "no parameter of the library has the id " + Id(9)},
        {ClampMaps("<ParamToColumn TableColumn='RID'><CategoryParameterRef "
                   "CategoryParameter='@1'/></ParamToColumn>"),
         11, "element CategoryParameterRef", "parameter " + Id(1) + " mapped twice"},
        {ClampMaps("<ParamToColumn TableColumn='RID'><CategoryParameterRef "
                   "CategoryParameter='x'/></ParamToColumn>"),
         11, "element CategoryParameterRef", "attribute CategoryParameter: \"x\" is not a GUID"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(Parse(c.document)) << c.document;
        EXPECT_EQ(error.file, std::filesystem::path("lib/clamp.family.xml"));
        EXPECT_EQ(error.line, c.line) << c.document;
        EXPECT_EQ(error.where, c.where) << c.document;
        EXPECT_EQ(error.what.substr(0, c.what.size()), c.what) << c.document;
    }

    // Faults of strings documents name their own file.
    const std::pair<std::vector<StringsFile>, std::string> strings[] = {
        {{{"s/a.xml", "<S>\n<open></S>"}}, "s/a.xml:2: not well-formed XML"},
        {{{"s/a.xml", "<S/>"}}, "s/a.xml:1: element S: missing required attribute xml:lang"},
        {{{"s/a.xml", kEnglish}, {"s/b.xml", "\n<T xml:lang='EN-us'/>"}},
         "s/b.xml:2: element T: a second strings document of language en-us"},
    };
    for (const auto& [files, message] : strings) {
        EXPECT_FALSE(Parse(Clamp(), files));
        EXPECT_EQ(error.ToString().substr(0, message.size()), message);
    }
}

}  // namespace
}  // namespace VardelSourceTest
