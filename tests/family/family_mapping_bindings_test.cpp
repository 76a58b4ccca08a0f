// Binding columns to template parameters: geometry and host-property
// bindings, properties a second column cannot take, template parameters
// shared by two columns, mappings leaving with a deleted column, and edits
// that survive a save and a reload. Results are read from the document.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/utf8.h"
#include "common/wide_path.h"
#include "family/support/family_xml.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"
#include "vardel/family.h"

namespace {

using namespace FamilyTest;
using FamilyPtr = std::unique_ptr<CEncapFamily>;

std::wstring Revision(const CEncapFamily& family) {
    std::wstring revision;
    family.GetEncapFamilyTable()->GetRawValue(L"r0", L"MEMBER_REVISION", revision);
    return revision;
}

// Columns A and B (doubles in mm), a member r0 with a revision, and the
// given templates and parameter map.
FamilyXml Columns(const std::wstring& mappingXml) {
    FamilyXml xml;
    xml.rawChildren = mappingXml;
    const Attributes millimetres = {{L"ValueType", L"double"}, {L"UnitType", L"mm"}};
    xml.columns = {{L"MEMBER_REVISION", {}}, {L"A", millimetres}, {L"B", millimetres}};
    xml.rows = {{L"r0", {{L"MEMBER_REVISION", L"rev0"}}}};
    return xml;
}

struct Bound {
    explicit Bound(const std::wstring& mappingXml)
        : family(LoadFamily(Columns(mappingXml).Build())) {}
    CEncapFamilyMapping& Mapping() const { return *family->GetEncapFamilyMapping(); }
    CEncapFamilyColumn* Column(const wchar_t* id) const {
        return family->GetEncapFamilyTable()->GetFamilyColumnByID(id);
    }
    std::wstring Xml(const wchar_t* xpath) const { return XmlAt(*family, xpath); }

    FamilyPtr family;
};

const wchar_t* const kColumnsToTemplate = L"ParameterMap/MemberParametersMap/ColumnsToTemplate";

TEST(FamilyBindings, GeometryColumnDrivesAParameterOfTemplate1) {
    const Bound bound(std::wstring(L"<FamilyTemplates/>") + ParameterMapXml({}, {}, {}));
    CEncapFamilyColumn* a = bound.Column(L"A");
    a->SetIsGeometryColumn(true);
    bound.Mapping().UpdateColumnMapping(a, L"", L"", CEncapFamilyColIPropertyData::Unknown);
    bound.Mapping().UpdateColumnMapping(a, L"", L"", CEncapFamilyColIPropertyData::Unknown);
    EXPECT_EQ(bound.Xml(L"FamilyTemplates"),
              L"<FamilyTemplates><FamilyTemplate Name=\"Template1\"><GeneralizedParameter Id=\"1\" "
              L"ObjectReferenceKey=\"A\" SubObjectId=\"\" ValueType=\"double\" UnitType=\"mm\" "
              L"ObjectType=\"kUserParameterObject\"/></FamilyTemplate></FamilyTemplates>");
    EXPECT_EQ(bound.Xml(kColumnsToTemplate),
              L"<ColumnsToTemplate><ColumnToTemplate TableColumn=\"A\"><TemplatesParameter>"
              L"<TemplateParameter TemplateName=\"Template1\" ParameterId=\"1\"/>"
              L"</TemplatesParameter></ColumnToTemplate></ColumnsToTemplate>");
    EXPECT_NE(Revision(*bound.family), L"rev0");

    // No longer geometry: its parameter goes, the entry stays empty.
    a->SetIsGeometryColumn(false);
    bound.Mapping().UpdateColumnMapping(a, L"", L"", CEncapFamilyColIPropertyData::Unknown);
    EXPECT_EQ(bound.Xml(L"FamilyTemplates"),
              L"<FamilyTemplates><FamilyTemplate Name=\"Template1\"/></FamilyTemplates>");
    EXPECT_EQ(bound.Xml(kColumnsToTemplate),
              L"<ColumnsToTemplate><ColumnToTemplate TableColumn=\"A\"><TemplatesParameter/>"
              L"</ColumnToTemplate></ColumnsToTemplate>");

    // Without "ColumnsToTemplate" the template is added but nothing bound;
    // without "FamilyTemplates" not even the template.
    for (const auto& [xml, templates] : std::vector<std::pair<std::wstring, std::size_t>>{
             {L"<FamilyTemplates/><ParameterMap/>", 1}, {L"<ParameterMap/>", 0}}) {
        const Bound other(xml);
        other.Column(L"A")->SetIsGeometryColumn(true);
        other.Mapping().UpdateColumnMapping(other.Column(L"A"), L"", L"",
                                            CEncapFamilyColIPropertyData::Unknown);
        EXPECT_EQ(other.Xml(L"ParameterMap"), L"<ParameterMap/>");
        EXPECT_EQ(other.Mapping().GetTemplateNames().size(), templates) << xml;
        EXPECT_EQ(other.Xml(L"//GeneralizedParameter"), L"");
    }
    bound.Mapping().UpdateColumnMapping(nullptr, L"k", L"", CEncapFamilyColIPropertyData::Unknown);
}

// Two templates; T1 holds a geometry parameter 1 and a material parameter 7.
std::wstring TwoTemplates() {
    return TemplatesXml({{{{L"Name", L"T1"}},
                          {{{{L"Id", L"1"}, {L"ObjectType", L"kUserParameterObject"}}, {}},
                           {{{L"Id", L"7"},
                             {L"ObjectReferenceKey", L"x"},
                             {L"SubObjectId", L"Material"},
                             {L"ObjectType", L"kPartComponentDefinitionObject"}},
                            {}}}},
                         {{{L"Name", L"T2"}}, {}}}) +
           ParameterMapXml({}, {}, {});
}

TEST(FamilyBindings, HostPropertiesAreBoundInEveryTemplateOnce) {
    const Bound bound(TwoTemplates());
    CEncapFamilyMapping& mapping = bound.Mapping();
    CEncapFamilyColumn* a = bound.Column(L"A");
    CEncapFamilyColumn* b = bound.Column(L"B");
    mapping.UpdateColumnMapping(a, L"Mass", L"", CEncapFamilyColIPropertyData::kPropertyObject);
    ASSERT_NE(a->ColIPropertyData(), nullptr);
    EXPECT_EQ(
        bound.Xml(L"FamilyTemplates/FamilyTemplate[2]"),
        L"<FamilyTemplate Name=\"T2\"><GeneralizedParameter Id=\"1\" ObjectReferenceKey=\"Mass\" "
        L"SubObjectId=\"\" ValueType=\"string\" UnitType=\"ul\" "
        L"ObjectType=\"kPropertyObject\"/></FamilyTemplate>");
    EXPECT_EQ(bound.Xml(L"//ColumnToTemplate[@TableColumn='A']/TemplatesParameter"),
              L"<TemplatesParameter><TemplateParameter TemplateName=\"T1\" ParameterId=\"8\"/>"
              L"<TemplateParameter TemplateName=\"T2\" ParameterId=\"1\"/></TemplatesParameter>");

    // The property is taken: B gets no binding, in any case of its name.
    EXPECT_TRUE(mapping.IsPropertyAlreadyUsed(L"MASS", L""));
    EXPECT_EQ(mapping.GetColIPropertyData(L"", L"", CEncapFamilyColIPropertyData::kPropertyObject),
              nullptr);
    mapping.UpdateColumnMapping(b, L"mass", L"", CEncapFamilyColIPropertyData::kPropertyObject);
    EXPECT_EQ(b->ColIPropertyData(), nullptr);
    EXPECT_EQ(bound.Xml(L"//ColumnToTemplate[@TableColumn='B']"), L"");

    // B takes the material: T1's material parameter whatever its key.
    mapping.UpdateColumnMapping(b, L"", L"MATERIAL",
                                CEncapFamilyColIPropertyData::kPartComponentDefinitionObject);
    EXPECT_EQ(bound.Xml(L"//ColumnToTemplate[@TableColumn='B']/TemplatesParameter"),
              L"<TemplatesParameter><TemplateParameter TemplateName=\"T1\" ParameterId=\"7\"/>"
              L"<TemplateParameter TemplateName=\"T2\" ParameterId=\"2\"/></TemplatesParameter>");

    // A moves to a feature's visibility: the Mass parameters go.
    mapping.UpdateColumnMapping(a, L"Hole1", L"Visible",
                                CEncapFamilyColIPropertyData::kPropertyObject);
    EXPECT_EQ(bound.Xml(L"//GeneralizedParameter[@ObjectReferenceKey='Mass']"), L"");
    EXPECT_EQ(
        bound.Xml(L"FamilyTemplates/FamilyTemplate[1]/GeneralizedParameter[3]"),
        L"<GeneralizedParameter Id=\"9\" ObjectReferenceKey=\"Hole1\" SubObjectId=\"Visible\" "
        L"ValueType=\"string\" UnitType=\"ul\" ObjectType=\"kPartFeatureObject\"/>");
}

TEST(FamilyBindings, ASharedTemplateParameterLivesUntilItsLastReference) {
    // A template name and a column id holding both quote characters.
    const std::wstring name = L"T'1\"";
    const std::wstring shared = L"B'\"";
    FamilyXml xml =
        Columns(TemplatesXml({{{{L"Name", name}},
                               {{{{L"Id", L"3"},
                                  {L"ObjectType", L"kPropertyObject"},
                                  {L"ObjectReferenceKey", L"Mass"},
                                  {L"ValueType", L"double"},
                                  {L"UnitType", L"mm"}},
                                 {}},
                                {{{L"Id", L"4"}}, {}}}}}) +
                ParameterMapXml({}, {{shared, L"cat", L"P-b"}, {L"A", L"cat", L"P-a"}},
                                {{L"A", {{name, L"3"}}}, {shared, {{name, L"3"}, {name, L"4"}}}}));
    xml.columns[2].id = shared;
    const FamilyPtr family = LoadFamily(xml.Build());
    CEncapFamilyTable* table = family->GetEncapFamilyTable();
    ASSERT_NE(table->GetFamilyColumnByID(shared)->ColIPropertyData(), nullptr);
    ASSERT_EQ(family->GetCategoryParamColumn(L"P-b"), table->GetFamilyColumnByID(shared));

    family->GetEncapFamilyMapping()->UpdateColumnMapping(table->GetFamilyColumnByID(L"A"), L"", L"",
                                                         CEncapFamilyColIPropertyData::Unknown);
    EXPECT_EQ(XmlAt(*family, L"FamilyTemplates/FamilyTemplate/GeneralizedParameter"),
              L"<GeneralizedParameter Id=\"3\" ObjectType=\"kPropertyObject\" "
              L"ObjectReferenceKey=\"Mass\" ValueType=\"string\" UnitType=\"ul\"/>");

    ASSERT_TRUE(table->DeleteColumn(table->GetFamilyColumnIndexByID(shared)));
    EXPECT_EQ(XmlAt(*family, L"FamilyTemplates"),
              L"<FamilyTemplates><FamilyTemplate Name=\"T'1&quot;\"/></FamilyTemplates>");
    EXPECT_EQ(
        XmlAt(*family, L"ParameterMap/MemberParametersMap"),
        L"<MemberParametersMap><ParamsToColumn><ParamToColumn TableColumn=\"A\">"
        L"<CategoryParameterRef Category=\"cat\" CategoryParameter=\"P-a\"/></ParamToColumn>"
        L"</ParamsToColumn><ColumnsToTemplate><ColumnToTemplate TableColumn=\"A\">"
        L"<TemplatesParameter/></ColumnToTemplate></ColumnsToTemplate></MemberParametersMap>");
    EXPECT_EQ(family->GetCategoryParamColumn(L"P-b"), nullptr);
}

TEST(FamilyBindings, EditsSurviveASaveAndAReload) {
    TempFolder folder;
    const std::wstring path = VardelCommon::FromPath(folder.path() / "family.xml");
    std::wstring templates;
    std::wstring parameterMap;
    {
        const Bound bound(TwoTemplates());
        CEncapFamilyMapping& mapping = bound.Mapping();
        bound.Column(L"A")->SetIsGeometryColumn(true);
        mapping.UpdateColumnMapping(bound.Column(L"A"), L"", L"",
                                    CEncapFamilyColIPropertyData::Unknown);
        mapping.UpdateColumnMapping(bound.Column(L"B"), L"Mass", L"",
                                    CEncapFamilyColIPropertyData::kRenderStyleObject);
        ASSERT_TRUE(mapping.AddParamToColumnMapping(bound.Column(L"A"), L"cat", L"P-a"));
        ASSERT_NE(mapping.AddFamilyTemplate(L"T3"), nullptr);
        templates = bound.Xml(L"FamilyTemplates");
        parameterMap = bound.Xml(L"ParameterMap");
        ASSERT_TRUE(bound.family->SaveFamilyXML(path.c_str()));
    }
    const VardelTest::Bytes file = VardelTest::ReadBytes(folder.path() / "family.xml");
    const FamilyPtr reloaded =
        LoadFamily(VardelCommon::FromUtf8(std::string(file.begin(), file.end())));
    EXPECT_EQ(XmlAt(*reloaded, L"FamilyTemplates"), templates);
    EXPECT_EQ(XmlAt(*reloaded, L"ParameterMap"), parameterMap);
    CEncapFamilyTable* table = reloaded->GetEncapFamilyTable();
    EXPECT_TRUE(table->GetFamilyColumnByID(L"A")->IsGeometryColumn());
    const CEncapFamilyColIPropertyData* data = table->GetFamilyColumnByID(L"B")->ColIPropertyData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->ObjectRefKey() + L"|" + data->PropObjTypeStr(), L"Mass|kRenderStyleObject");
    std::wstring parameter;
    EXPECT_TRUE(reloaded->GetColumnCategory(L"A", parameter));
    EXPECT_EQ(parameter, L"P-a");
    // Ids go on where the saved family left them.
    CEncapFamilyMapping* mapping = reloaded->GetEncapFamilyMapping();
    EXPECT_EQ(mapping->GetTemplateNames(), (std::vector<std::wstring>{L"T1", L"T2", L"T3"}));
    EXPECT_EQ(mapping->GetFamilyTemplate(L"t1")->AddParameter(L"new", L"")->GetId(), 10);
    EXPECT_EQ(mapping->GetFamilyTemplate(L"T3")->AddParameter(L"new", L"")->GetId(), 1);
}

}  // namespace
