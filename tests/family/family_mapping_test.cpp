// CEncapFamilyMapping as the family uses it: loading (malformed elements
// left out), column kinds set at load, the family's forwarders, localised
// columns, parameter-to-column mappings and hidden domains.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "family/support/family_xml.h"
#include "vardel/family.h"

namespace {

using namespace FamilyTest;
using FamilyPtr = std::unique_ptr<CEncapFamily>;

const std::wstring kMaterial = L"818a152a-d3c3-49ca-80ee-df7d91421b8e";

// Columns RID, Name (visible text), Hid (hidden text), Num (visible
// double), Bare (text without "Hidden"), Loc (hidden double standing for a
// localised parameter), Plain (visible text standing for a plain one), Mat
// (the material parameter) and TEMPLATE; templates T1 and T2; rows r0 (of
// template t2), r1 (of a template that does not exist) and r2 (no template).
FamilyXml Mapped(std::vector<FamilyTemplate> templates = {
                     {{{L"Name", L"T1"}, {L"FileName", L"one.ipt"}}, {}},
                     {{{L"Name", L"T2"}, {L"FileName", L"two.ipt"}}, {}}}) {
    FamilyXml xml;
    xml.rawChildren =
        CategoriesXml(L"cat", L"false",
                      {{L"P-loc", L"true"}, {L"P-plain", L"false"}, {kMaterial, L"false"}}) +
        TemplatesXml(templates) +
        ParameterMapXml({{L"P-const", L"c"}},
                        {{L"Loc", L"cat", L"P-loc"},
                         {L"Plain", L"cat", L"P-plain"},
                         {L"Mat", L"cat", kMaterial}},
                        {});
    const Attributes text = {{L"ValueType", L"string"}, {L"Hidden", L"false"}};
    xml.columns = {{L"RID", {}},
                   {L"Name", text},
                   {L"Hid", {{L"ValueType", L"string"}, {L"Hidden", L"true"}}},
                   {L"Num", {{L"ValueType", L"double"}, {L"Hidden", L"false"}}},
                   {L"Bare", {{L"ValueType", L"String"}}},
                   {L"Loc", {{L"ValueType", L"double"}, {L"Hidden", L"true"}}},
                   {L"Plain", text},
                   {L"Mat", text},
                   {L"TEMPLATE", {{L"TemplateSpecifier", L"true"}, {L"Hidden", L"true"}}}};
    xml.rows = {{L"r0", {{L"RID", L"r0"}, {L"TEMPLATE", L"t2"}}},
                {L"r1", {{L"RID", L"r1"}, {L"TEMPLATE", L"T3"}}},
                {L"r2", {{L"RID", L"r2"}}}};
    return xml;
}

std::wstring TemplateFileOf(const CEncapFamily& family, const std::wstring& row) {
    std::wstring file = L"<stale>";
    family.GetTemplateFileNameByRow(row, file);
    return file;
}

std::wstring NameOf(const CEncapFamilyTemplate* found) {
    std::wstring name = L"<none>";
    if (found != nullptr) {
        found->GetName(name);
    }
    return name;
}

TEST(FamilyMapping, FamilyHasAMappingWhenItsDocumentHasOne) {
    FamilyXml xml = Mapped();
    EXPECT_NE(LoadFamily(xml.Build())->GetEncapFamilyMapping(), nullptr);
    xml.rawChildren = L"<FamilyTemplates/>";
    EXPECT_NE(LoadFamily(xml.Build())->GetEncapFamilyMapping(), nullptr);
    xml.rawChildren = L"<Categories/>";
    EXPECT_EQ(LoadFamily(xml.Build())->GetEncapFamilyMapping(), nullptr);
}

TEST(FamilyMapping, ForwardersAnswerThroughTheMapping) {
    const FamilyPtr family = LoadFamily(Mapped().Build());
    std::wstring text;
    ASSERT_TRUE(family->GetColumnCategory(L"Plain", text));
    EXPECT_EQ(text, L"P-plain");
    EXPECT_FALSE(family->GetColumnCategory(L"Name", text));

    // The mapped column, found by a parameter id in another case; a
    // parameter without column reads as its constant.
    CEncapFamilyTable* table = family->GetEncapFamilyTable();
    EXPECT_EQ(family->GetCategoryParamColumn(L"p-PLAIN"), table->GetFamilyColumnByID(L"Plain"));
    CEncapFamilyColumn* constant = family->GetCategoryParamColumn(L"P-const");
    ASSERT_NE(constant, nullptr);
    EXPECT_EQ(constant->GetValue(L"r0", text), CTableEvaluator::Success);
    EXPECT_EQ(text, L"c");
    EXPECT_EQ(family->GetCategoryParamColumn(L"P-none"), nullptr);

    EXPECT_TRUE(table->GetFamilyColumnByID(L"Mat")->IsMaterial());
    EXPECT_TRUE(table->GetFamilyColumnByID(L"Mat")->IsOrvPropertyColumn());
    EXPECT_FALSE(table->GetFamilyColumnByID(L"Plain")->IsRestrictedColumn());

    text = L"<stale>";
    family->GetTemplateFileName(text);
    EXPECT_EQ(text, L"one.ipt");
    // (row, template, template file)
    for (const auto& [row, name, file] :
         std::vector<std::tuple<std::wstring, std::wstring, std::wstring>>{
             {L"", L"T1", L"one.ipt"},
             {L"r0", L"T2", L"two.ipt"},
             {L"r1", L"<none>", L""},
             {L"r2", L"<none>", L"one.ipt"},
             {L"r9", L"<none>", L"one.ipt"}}) {
        EXPECT_EQ(NameOf(family->GetFamilyTemplateByRow(row)), name) << row;
        EXPECT_EQ(TemplateFileOf(*family, row), file) << row;
    }
}

TEST(FamilyMapping, OneTemplateServesEveryRowAndNoneServesNoRow) {
    const FamilyPtr single =
        LoadFamily(Mapped({{{{L"Name", L"Only"}, {L"FileName", L"o"}}, {}}}).Build());
    EXPECT_TRUE(single->GetEncapFamilyMapping()->IsSingleTemplate());
    EXPECT_EQ(NameOf(single->GetFamilyTemplateByRow(L"r1")), L"Only");
    EXPECT_EQ(TemplateFileOf(*single, L"r0"), L"o");

    // The TEMPLATE column must be a template specifier to name templates.
    FamilyXml xml = Mapped({});
    xml.columns.back().attributes = {};
    const FamilyPtr none = LoadFamily(xml.Build());
    EXPECT_EQ(none->GetFamilyTemplateByRow(L""), nullptr);
    EXPECT_EQ(none->GetFamilyTemplateByRow(L"r0"), nullptr);
    EXPECT_EQ(TemplateFileOf(*none, L"r0"), L"");
}

TEST(FamilyMapping, LocalizedColumnsAreVisibleTextOrStandForLocalizedParameters) {
    const FamilyPtr family =
        LoadFamily(Mapped().Build(), {StringsXml(L"en-US", L""), StringsXml(L"de-DE", L"")});
    const std::vector<std::pair<std::wstring, bool>>
        cases = {{L"Name", true}, {L"Hid", false},   {L"Num", false}, {L"Bare", false},
                 {L"Loc", true},  {L"Plain", false}, {L"Mat", false}, {L"Missing", false},
                 {L"name", false}};  // the document's ids are exact
    CEncapFamilyTable* table = family->GetEncapFamilyTable();
    for (const auto& [column, localized] : cases) {
        EXPECT_EQ(family->IsFamilyColumnLocalized(column), localized) << column;
        EXPECT_EQ(table->IsColumnLocalized(column), localized) << column;
    }
    EXPECT_TRUE(table->GetFamilyColumnByID(L"Loc")->IsLocalized());

    // Only localised columns write cell strings.
    table->SetValue(L"r0", L"Name", L"Schraube", false);
    table->SetValue(L"r0", L"Plain", L"x", false);
    XMLParser strings;
    ASSERT_TRUE(family->GetStringsFamilyXML(0, strings));
    std::wstring xml;
    strings.GetRootNode().GetXml(xml);
    EXPECT_EQ(xml,
              L"<FamilyStrings xml:lang=\"en-US\"><Table><ColumnStrings ColumnId=\"Name\"><Rows>"
              L"<CellString RowId=\"r0\">Schraube</CellString></Rows></ColumnStrings></Table>"
              L"</FamilyStrings>");
}

TEST(FamilyMapping, MalformedElementsAreLeftOutAtLoad) {
    FamilyXml xml;
    xml.rawChildren =
        L"<FamilyTemplates><FamilyTemplate FileName=\"nameless\"/>"
        L"<FamilyTemplate Name=\"A\" FileName=\"a\"/><FamilyTemplate Name=\"a\" FileName=\"dup\"/>"
        L"<FamilyTemplate Name=\"B\"/></FamilyTemplates>"
        L"<ParameterMap><MemberParametersMap><ParamsToColumn>"
        L"<ParamToColumn><CategoryParameterRef CategoryParameter=\"P0\"/></ParamToColumn>"
        L"<ParamToColumn TableColumn=\"C\"/>"
        L"<ParamToColumn TableColumn=\"C\"><CategoryParameterRef "
        L"CategoryParameter=\"P1\"/></ParamToColumn>"
        L"<ParamToColumn TableColumn=\"c\"><CategoryParameterRef "
        L"CategoryParameter=\"P1\"/></ParamToColumn>"
        L"<ParamToColumn TableColumn=\"C\"><CategoryParameterRef/></ParamToColumn>"
        L"<ParamToColumn TableColumn=\"C\"><CategoryParameterRef "
        L"CategoryParameter=\"P2\"/></ParamToColumn>"
        L"</ParamsToColumn><ColumnsToTemplate><ColumnToTemplate><TemplatesParameter>"
        L"<TemplateParameter TemplateName=\"A\" ParameterId=\"1\"/></TemplatesParameter>"
        L"</ColumnToTemplate></ColumnsToTemplate></MemberParametersMap></ParameterMap>";
    xml.columns = {{L"C", {}}};
    const FamilyPtr family = LoadFamily(xml.Build());
    const CEncapFamilyMapping* mapping = family->GetEncapFamilyMapping();
    // A repeated name (ignoring case) replaces the template; every name is
    // listed.
    EXPECT_EQ(mapping->GetTemplateNames(), (std::vector<std::wstring>{L"A", L"a", L"B"}));
    std::wstring file;
    mapping->GetTemplateFileNameByName(L"A", file);
    EXPECT_EQ(file, L"dup");
    EXPECT_EQ(mapping->GetFamilyTemplate(L"nameless"), nullptr);
    // P0 has no column; C stands for P1 and P2 once each, in order, while
    // the first of its elements (without reference) names no parameter.
    EXPECT_EQ(family->GetCategoryParamColumn(L"P0"), nullptr);
    std::wstring parameter;
    ASSERT_TRUE(family->GetColumnCategory(L"C", parameter));
    EXPECT_EQ(parameter, L"P1");
    EXPECT_FALSE(family->GetEncapFamilyTable()->GetFamilyColumnByID(L"C")->IsPropertyColumn());
}

// Column "C" driving parameter 1 of template T, with `attributes`.
FamilyPtr Driving(const Attributes& attributes, const std::wstring& template_ = L"T",
                  const std::wstring& id = L"1") {
    Attributes parameter = {{L"Id", L"1"}};
    parameter.insert(parameter.end(), attributes.begin(), attributes.end());
    FamilyXml xml;
    xml.rawChildren = TemplatesXml({{{{L"Name", L"T"}}, {{parameter, {}}}}}) +
                      ParameterMapXml({}, {}, {{L"C", {{template_, id}}}});
    xml.columns = {{L"C", {}}};
    return LoadFamily(xml.Build());
}

TEST(FamilyMapping, ColumnKindsComeFromTheTemplateParametersColumnsDrive) {
    // (object type, sub-object, geometry, host property, property, data text)
    const std::vector<std::tuple<std::wstring, std::wstring, bool, bool, bool, std::wstring>>
        cases = {
            {L"kUserParameterObject", L"", true, false, true, L""},
            {L"KPROPERTYOBJECT", L"s", false, true, true, L"key|s|2"},
            {L"kRenderStyleObject", L"", false, true, true, L"key||7"},
            {L"kPartDocumentObject", L"d", false, true, true, L"key|d|4"},
            {L"kPartComponentDefinitionObject", L"material", false, true, true, L"|Material|3"},
            {L"kPartComponentDefinitionObject", L"Other", false, false, false, L""},
            {L"kPartFeatureObject", L"Suppressed", true, false, true, L""},
            {L"kPartFeatureObject", L"Length", false, false, false, L""},
            {L"kModelParameterObject", L"", false, false, false, L""},
            {L"kSomethingNew", L"", false, false, true, L""}};
    for (const auto& [type, sub, geometry, host, property, data] : cases) {
        const FamilyPtr family = Driving(
            {{L"ObjectType", type}, {L"SubObjectId", sub}, {L"ObjectReferenceKey", L"key"}});
        const CEncapFamilyColumn* column = family->GetEncapFamilyTable()->GetFamilyColumnByID(L"C");
        EXPECT_EQ(column->IsGeometryColumn(), geometry) << type;
        EXPECT_EQ(column->IsOrvPropertyColumn(), host) << type;
        EXPECT_EQ(column->IsPropertyColumn(), property) << type;
        const CEncapFamilyColIPropertyData* bound = column->ColIPropertyData();
        EXPECT_EQ(bound == nullptr ? L""
                                   : bound->ObjectRefKey() + L"|" + bound->SubObjectId() + L"|" +
                                         std::to_wstring(bound->PropObjType()),
                  data)
            << type;
    }
    // A reference to a missing template or parameter binds nothing.
    for (const FamilyPtr& family :
         {Driving({{L"ObjectType", L"kUserParameterObject"}}, L"X"),
          Driving({{L"ObjectType", L"kUserParameterObject"}}, L"T", L"2"),
          Driving({{L"ObjectType", L"kUserParameterObject"}}, L"T", L"x")}) {
        EXPECT_FALSE(family->GetEncapFamilyTable()->GetFamilyColumnByID(L"C")->IsPropertyColumn());
    }
}

TEST(FamilyMapping, AddParamToColumnMappingWritesOneElementPerParameter) {
    FamilyXml xml = Mapped();
    const FamilyPtr family = LoadFamily(xml.Build());
    CEncapFamilyMapping* mapping = family->GetEncapFamilyMapping();
    CEncapFamilyColumn* name = family->GetEncapFamilyTable()->GetFamilyColumnByID(L"Name");
    ASSERT_TRUE(family->IsFamilyColumnLocalized(L"Name"));
    EXPECT_TRUE(mapping->AddParamToColumnMapping(name, L"cat", L"P-plain'\"2"));
    EXPECT_TRUE(mapping->AddParamToColumnMapping(name, L"cat", L"P-plain'\"2"));
    // Standing for a plain parameter, the column is no longer localised.
    EXPECT_FALSE(family->IsFamilyColumnLocalized(L"Name"));
    EXPECT_TRUE(mapping->AddParamToColumnMapping(name, L"cat", L"P-loc"));
    EXPECT_FALSE(mapping->AddParamToColumnMapping(nullptr, L"cat", L"P"));
    EXPECT_EQ(XmlAt(*family, L"ParameterMap/MemberParametersMap/ParamsToColumn/ParamToColumn[4]"),
              L"<ParamToColumn TableColumn=\"Name\"><CategoryParameterRef Category=\"cat\" "
              L"CategoryParameter=\"P-plain'&quot;2\"/></ParamToColumn>");
    EXPECT_EQ(XmlAt(*family, L"ParameterMap/MemberParametersMap/ParamsToColumn/ParamToColumn[6]"),
              L"");
    // With a localised parameter too, it is localised again.
    EXPECT_EQ(family->GetCategoryParamColumn(L"P-plain'\"2"), name);
    EXPECT_TRUE(family->IsFamilyColumnLocalized(L"Name"));
    std::wstring parameter;
    family->GetColumnCategory(L"Name", parameter);
    EXPECT_EQ(parameter, L"P-plain'\"2");

    // Without "ParameterMap" nothing can be added.
    xml.rawChildren = TemplatesXml({});
    const FamilyPtr bare = LoadFamily(xml.Build());
    EXPECT_FALSE(bare->GetEncapFamilyMapping()->AddParamToColumnMapping(
        bare->GetEncapFamilyTable()->GetFamilyColumnByID(L"Name"), L"cat", L"P"));
}

TEST(FamilyMappingEntries, EntriesEditTheirOwnElements) {
    XMLParser document(
        L"<M><ColumnToTemplate TableColumn=\"A\"/><ParamToColumn TableColumn=\"A\">"
        L"<CategoryParameterRef CategoryParameter=\"P1\"/></ParamToColumn>"
        L"<ParamToColumn><CategoryParameterRef CategoryParameter=\"P2\"/></ParamToColumn>"
        L"<ParamToColumn><CategoryParameterRef/></ParamToColumn></M>");
    XMLNodeArray elements;
    document.GetRootNode().GetChildNodes(elements);
    CEncapMemberColToTemplate templates(elements[0], nullptr);
    templates.DeleteAllMapping();  // adds the empty list
    templates.AddMapping(L"T'\"", 3);
    templates.AddMapping(L"T'\"", 3);
    templates.AddMapping(L"T", 3);
    templates.DeleteMapping(L"t", 3);  // names are exact
    std::wstring xml;
    templates.GetXMLNode().GetXml(xml);
    EXPECT_EQ(xml,
              L"<ColumnToTemplate TableColumn=\"A\"><TemplatesParameter><TemplateParameter "
              L"TemplateName=\"T'&quot;\" ParameterId=\"3\"/><TemplateParameter TemplateName=\"T\" "
              L"ParameterId=\"3\"/></TemplatesParameter></ColumnToTemplate>");

    CEncapMemberColToParam params(elements[1], nullptr);
    EXPECT_TRUE(params.AddCategoryParam(elements[2]));
    EXPECT_FALSE(params.AddCategoryParam(elements[2]));  // mapped already
    EXPECT_FALSE(params.AddCategoryParam(elements[3]));  // names no parameter
    EXPECT_FALSE(params.IsMappedForCatParam(L"p2"));
    EXPECT_FALSE(params.RemoveCategoryParam(L"P3"));
    EXPECT_TRUE(params.RemoveCategoryParam(L"p1"));
    std::vector<std::wstring> ids = {L"stale"};
    EXPECT_TRUE(params.GetCategoryParams(ids));
    EXPECT_EQ(ids, std::vector<std::wstring>{L"P2"});
    params.RemoveNodesFromXML();
    EXPECT_EQ(params.ParamCount(), 0);
    EXPECT_EQ(document.GetRootNode().GetChildCount(), 2);
}

TEST(FamilyDomains, HiddenCategoriesTakeTheirColumnsAndMappingsAlong) {
    FamilyXml xml;
    xml.rawChildren = CategoriesXml(L"gone", L"true",
                                    {{L"P-hidden", L"false"},
                                     {L"P-shown", L"false"},
                                     {L"P-rid", L"false"},
                                     {L"P-used", L"false"},
                                     {L"P-const", L"false"}}) +
                      ParameterMapXml({{L"p-CONST", L"1"}, {L"P-other", L"2"}},
                                      {{L"H", L"gone", L"P-hidden"},
                                       {L"S", L"gone", L"P-shown"},
                                       {L"RID", L"gone", L"P-rid"},
                                       {L"U", L"gone", L"P-used"}},
                                      {});
    const Attributes hidden = {{L"Hidden", L"true"}};
    xml.columns = {{L"RID", hidden},
                   {L"H", hidden},
                   {L"S", {}},
                   {L"U", hidden},
                   {L"F", {{L"ColumnwideValue", L"{U}"}}}};
    const FamilyPtr family = LoadFamily(xml.Build());
    CEncapFamilyColumn* shown = family->GetCategoryParamColumn(L"P-shown");
    family->SetInternalName(L"renamed");

    // Only the hidden, unreferenced column that is not RID goes.
    EXPECT_EQ(family->GetEncapFamilyTable()->GetAllColumnIDs(),
              (std::vector<std::wstring>{L"RID", L"S", L"U", L"F"}));
    EXPECT_EQ(XmlAt(*family, L"ParameterMap/MemberParametersMap/ParamsToColumn"),
              L"<ParamsToColumn/>");
    EXPECT_EQ(XmlAt(*family, L"ParameterMap/FamilyParametersMap/ParamsToTemplate"),
              L"<ParamsToTemplate><ParamTemplateValue ConstantValue=\"2\"><CategoryParameterRef "
              L"CategoryParameter=\"P-other\"/></ParamTemplateValue><ParamTemplateValue "
              L"ConstantValue=\"renamed\"><CategoryParameterRef "
              L"CategoryParameter=\"cf1d0246-76d9-4b4a-8305-fa0409afb5c1\"/></ParamTemplateValue>"
              L"</ParamsToTemplate>");
    EXPECT_EQ(XmlAt(*family, L"Categories"), L"<Categories/>");
    EXPECT_NE(shown, nullptr);
    EXPECT_EQ(family->GetCategoryParamColumn(L"P-shown"), nullptr);
    std::wstring parameter;
    EXPECT_FALSE(family->GetColumnCategory(L"S", parameter));
}

}  // namespace
