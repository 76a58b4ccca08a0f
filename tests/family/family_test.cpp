// CEncapFamily: construction from texts, root and mirrored properties, the
// FamilyPropType table, category constants, template-parameter values, the
// constant column of a category parameter, the category id, and edits that
// survive a save and a new family over the saved text.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "common/case_fold.h"
#include "common/utf8.h"
#include "common/wide_path.h"
#include "family/support/family_xml.h"
#include "family/support/scripted_provider.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"
#include "vardel/family.h"
#include "vardel/string_util.h"

namespace {

using namespace FamilyTest;
using FamilyPtr = std::unique_ptr<CEncapFamily>;
using Texts = std::vector<std::wstring>;

const std::wstring kDisplayNameId = L"05415f3d-3907-474b-a020-eb9d644f4cf3";
const std::wstring kLocalized = L"11111111-aaaa-4000-8000-000000000001";
const std::wstring kPlain = L"22222222-bbbb-4000-8000-000000000002";
const std::wstring kMissing = L"<missing>";
const Texts kOldRevisions = {L"rev0", L"rev1"};

// Tells the test which family registered with it and when it is deleted.
class ProbeProvider : public ScriptedProvider {
  public:
    explicit ProbeProvider(bool& deleted) : deleted_(deleted) {}
    ~ProbeProvider() override { deleted_ = true; }
    CEncapFamily* Family() const { return GetEncapFamily(); }

  private:
    bool& deleted_;
};

// A family with members r0 and r1 and the given children before its table.
FamilyXml Family(const std::wstring& children, Attributes root = {{L"InternalName", L"screw"}}) {
    FamilyXml family;
    family.rootAttributes = std::move(root);
    family.rawChildren = children;
    family.columns = {{L"RID", {}}, {L"MEMBER_REVISION", {}}};
    family.rows = {{L"r0", {{L"RID", L"r0"}, {L"MEMBER_REVISION", L"rev0"}}},
                   {L"r1", {{L"RID", L"r1"}, {L"MEMBER_REVISION", L"rev1"}}}};
    return family;
}

// What `getter` leaves in a string that held kMissing.
std::wstring Read(const std::function<void(std::wstring&)>& getter) {
    std::wstring value = kMissing;
    getter(value);
    return value;
}

// The attribute of the element `xpath` selects below the root of `document`.
std::wstring AttributeAt(const XMLParser& document, const std::wstring& xpath,
                         const wchar_t* name) {
    XMLNode node = document.GetRootNode();
    if (!xpath.empty() && !node.GetChildNode(xpath.c_str(), node)) {
        return kMissing;
    }
    return Read([&](auto& v) { node.GetProperty(name, v); });
}

std::wstring ConstantAt(const CEncapFamily& family, const std::wstring& id) {
    const std::wstring path =
        L"ParameterMap//ParamTemplateValue[CategoryParameterRef/"
        L"@CategoryParameter = '" +
        id + L"']";
    return AttributeAt(family.GetFamilyXML(), path, L"ConstantValue");
}

Texts Revisions(const CEncapFamily& family) {
    Texts revisions;
    for (const std::wstring& row : family.GetEncapFamilyTable()->GetAllRowIDs()) {
        family.GetEncapFamilyTable()->GetRawValue(row, L"MEMBER_REVISION",
                                                  revisions.emplace_back());
    }
    return revisions;
}

TEST(FamilyConstruction, LanguagesAndTableComeFromTheTexts) {
    const FamilyPtr family = LoadFamily(Family(L"").Build(), {StringsXml(L"de-DE", L""), L"<broken",
                                                              L"<S/>", StringsXml(L"en-us", L"")});
    ASSERT_EQ(family->GetFamStringsCount(), 3);  // "<S/>" has the empty language
    EXPECT_EQ(Read([&](auto& v) { family->GetActualLanguage(v); }), L"de-DE");
    XMLParser strings;
    ASSERT_TRUE(family->GetStringsFamilyXML(2, strings));
    EXPECT_EQ(AttributeAt(strings, L"", L"xml:lang"), L"en-us");
    EXPECT_EQ(family->GetEncapFamilyTable()->GetRowsCount(), 2);
    EXPECT_EQ(family->GetEncapFamilyMapping(), nullptr);

    const FamilyPtr plain = LoadFamily(Family(L"").Build(), {L"<x"}, L"fr-FR");
    EXPECT_EQ(plain->GetFamStringsCount(), 1);
    EXPECT_EQ(Read([&](auto& v) { plain->GetActualLanguage(v); }), L"fr-FR");
    EXPECT_FALSE(plain->GetStringsFamilyXML(0, strings));
    FamilyXml noTable = Family(L"");
    noTable.hasTable = false;
    EXPECT_EQ(LoadFamily(noTable.Build())->GetEncapFamilyTable(), nullptr);

    // A family text that does not parse loads no strings and takes no edits.
    const FamilyPtr broken = LoadFamily(L"<Family", {StringsXml(L"de-DE", L"")}, L"fr-FR");
    EXPECT_EQ(broken->GetEncapFamilyTable(), nullptr);
    EXPECT_EQ(broken->GetFamStringsCount(), 1);
    broken->SetDisplayName(L"x");
    broken->SetThumbnailPath(L"t.png");
    EXPECT_EQ(broken->GetFamilyXML().GetRootNode().GetChildCount(), 0);
}

TEST(FamilyConstruction, TakesOverAndRegistersItsProvider) {
    bool deleted = false;
    auto* provider = new ProbeProvider(deleted);
    {
        const std::wstring xml = Family(L"").Build();
        CEncapFamily family(xml.c_str(), {}, nullptr, provider, L"en-US", false);
        EXPECT_EQ(provider->Family(), &family);
        EXPECT_EQ(family.GetDecimalSeparator(), L'\0');
    }
    EXPECT_TRUE(deleted);
    provider = new ProbeProvider(deleted = false);
    {
        CEncapFamily empty(provider, true);
        EXPECT_EQ(provider->Family(), &empty);
        EXPECT_EQ(empty.GetDecimalSeparator(), CStringUtil::GetDecimalSeparator());
        EXPECT_EQ(Read([&](auto& v) { empty.GetActualLanguage(v); }), kMissing);
    }
    EXPECT_TRUE(deleted);
}

TEST(FamilyProperties, ThumbnailPathAddsItsElementsOnceAndMarksTheFamilyEdited) {
    const FamilyPtr family = LoadFamily(Family(L"", {{L"EditStatus", L"a"}}).Build());
    EXPECT_EQ(Read([&](auto& v) { family->GetThumbnailPath(v); }), kMissing);
    family->SetThumbnailPath(L"C:\\img\\a.bmp");
    family->SetThumbnailPath(L"b.bmp");
    EXPECT_EQ(Read([&](auto& v) { family->GetThumbnailPath(v); }), L"b.bmp");
    EXPECT_EQ(AttributeAt(family->GetFamilyXML(), L"", L"EditStatus"), L"B");
    EXPECT_EQ(AttributeAt(family->GetFamilyXML(), L"Thumbnail[2]/File", L"FullFileName"), kMissing);
}

TEST(FamilyProperties, DisplayNameFromStringsThenConstantThenRootAttribute) {
    const std::wstring constant = ParameterConstantsXml({{kDisplayNameId, L"constant"}});
    const std::wstring empty = ParameterConstantsXml({{kDisplayNameId, L""}});
    // (strings children, family children, root attribute, display name)
    for (const auto& [strings, children, root, expected] :
         std::vector<std::tuple<std::wstring, std::wstring, Attributes, std::wstring>>{
             {L"<DisplayName>text</DisplayName>", constant, {{L"DisplayName", L"r"}}, L"text"},
             {L"<DisplayName/>", constant, {{L"DisplayName", L"r"}}, L"constant"},
             {L"", empty, {{L"DisplayName", L"r"}}, L"r"},
             {L"", empty, {}, L""},
             {L"", L"", {}, kMissing}}) {
        const FamilyPtr family =
            LoadFamily(Family(children, root).Build(), {StringsXml(L"en-US", strings)});
        EXPECT_EQ(Read([&](auto& v) { family->GetDisplayName(v); }), expected);
    }
    // The other mirrored properties read their constant only.
    const FamilyPtr family = LoadFamily(Family(L"", {{L"Manufacturer", L"root"}}).Build());
    EXPECT_EQ(Read([&](auto& v) { family->GetManufacturer(v); }), kMissing);
}

TEST(FamilyProperties, SetDisplayNameWritesRootConstantAndEveryLanguage) {
    const FamilyPtr family = LoadFamily(
        Family(ParameterConstantsXml({})).Build(),
        {StringsXml(L"en-US", L"<DisplayName>old</DisplayName>"), StringsXml(L"de-DE", L"")});
    family->SetDisplayName(L"Bolt");
    EXPECT_EQ(AttributeAt(family->GetFamilyXML(), L"", L"DisplayName"), L"Bolt");
    EXPECT_EQ(ConstantAt(*family, kDisplayNameId), L"Bolt");
    for (int i = 0; i < 2; ++i) {
        XMLParser strings;
        XMLNodeArray names;
        family->GetStringsFamilyXML(i, strings);
        strings.GetRootNode().SelectChildNodes(L"DisplayName[. = 'Bolt']", names);
        EXPECT_EQ(names.GetSize(), 1);
        EXPECT_EQ(strings.GetNodesCount(), 1);
    }
}

TEST(FamilyProperties, FamilyPropertyTableSetsGetsAndBumpsRevisions) {
    // (type, read after setting "value", bumps member revisions, root attribute written)
    const std::vector<std::tuple<int, std::wstring, bool, const wchar_t*>> cases = {
        {0, L"value", true, L"DisplayName"},  {1, L"value", true, L"Description"},
        {2, L"value", true, L"Standard"},     {3, L"value", true, L"StandardsOrg"},
        {4, L"value", true, L"Manufacturer"}, {5, L"value", true, nullptr},
        {6, L"value", false, nullptr},        {7, L"value", true, L"FolderName"},
        {8, L"value", false, L"RevisionId"},  {9, L"in", false, nullptr},
        {10, L"lib", false, nullptr},         {11, L"value", false, nullptr},
        {12, kMissing, false, nullptr},       {-1, kMissing, false, nullptr}};
    for (const auto& [number, read, bumps, written] : cases) {
        SCOPED_TRACE(number);
        const auto type = static_cast<FamilyPropType>(number);
        const FamilyPtr family = LoadFamily(
            Family(ParameterConstantsXml({}), {{L"InternalName", L"in"}, {L"Library", L"lib"}})
                .Build());
        EXPECT_EQ(family->SetFamilyProperty(type, L"value"), read == L"value");
        std::wstring value = kMissing;
        EXPECT_EQ(family->GetFamilyProperty(type, value), number >= 0 && number <= 11);
        EXPECT_EQ(value, read);
        if (written != nullptr) {
            EXPECT_EQ(AttributeAt(family->GetFamilyXML(), L"", written), L"value");
        }
        const Texts revisions = Revisions(*family);
        if (bumps) {
            EXPECT_NE(revisions[0], L"rev0");
            EXPECT_EQ(revisions[0], revisions[1]);  // one new GUID for every member
        } else {
            EXPECT_EQ(revisions, kOldRevisions);
        }
    }
}

// Category parameters kLocalized (localised) and kPlain with constants in
// the family and in the strings of en-US (actual); de-DE has none.
FamilyPtr ConstantsFamily() {
    const std::wstring strings = L"<ConstantValues><ConstantValue CategoryParameter=\"" +
                                 kLocalized + L"\">english</ConstantValue><ConstantValue " +
                                 L"CategoryParameter=\"" + kPlain + L"\">x</ConstantValue>" +
                                 L"</ConstantValues>";
    return LoadFamily(
        Family(CategoriesXml(L"c", L"false", {{kLocalized, L"true"}, {kPlain, L"1"}}) +
               ParameterConstantsXml({{kLocalized, L"family"}, {kPlain, L"plain"}}))
            .Build(),
        {StringsXml(L"en-US", strings), StringsXml(L"de-DE", L"")});
}

std::wstring StringsConstant(const CEncapFamily& family, int language, const std::wstring& id) {
    XMLParser strings;
    XMLNode node;
    family.GetStringsFamilyXML(language, strings);
    const std::wstring path = L"ConstantValues/ConstantValue[@CategoryParameter = '" + id + L"']";
    return strings.GetRootNode().GetChildNode(path.c_str(), node)
               ? Read([&](auto& v) { node.GetNodeText(v); })
               : kMissing;
}

TEST(CategoryConstants, LocalisedParametersReadTheActualLanguage) {
    const FamilyPtr family = ConstantsFamily();
    std::wstring value;
    EXPECT_TRUE(family->GetCatParamConstValue(kLocalized, value));
    EXPECT_EQ(value, L"english");
    EXPECT_TRUE(family->GetCatParamConstValue(kPlain, value));
    EXPECT_EQ(value, L"plain");
    EXPECT_FALSE(family->GetCatParamConstValue(L"unknown", value));
    EXPECT_FALSE(family->GetCatParamConstValue(L"x' or '1'='1", value));
    EXPECT_EQ(value, L"plain");
    EXPECT_TRUE(family->IsCatParamLocalized(VardelCommon::ToUpper(kLocalized)));
    EXPECT_FALSE(family->IsCatParamLocalized(kPlain));  // "1" is not "true"
    EXPECT_FALSE(family->IsCatParamLocalized(L"unknown"));
    family->SetCatParamConstValue(L"a'b\"c", L"quoted");  // both quote kinds
    EXPECT_TRUE(family->GetCatParamConstValue(L"a'b\"c", value));
    EXPECT_EQ(value, L"quoted");
}

TEST(CategoryConstants, SetWritesFamilyAndEveryLanguage) {
    const FamilyPtr family = ConstantsFamily();
    family->SetCatParamConstValue(kLocalized, L"new");
    family->SetCatParamConstValue(kPlain, L"p2");
    EXPECT_EQ(ConstantAt(*family, kLocalized), L"new");
    EXPECT_EQ(ConstantAt(*family, kPlain), L"p2");
    EXPECT_EQ(StringsConstant(*family, 0, kLocalized), L"new");
    EXPECT_EQ(StringsConstant(*family, 1, kLocalized), L"new");  // added in de-DE
    EXPECT_EQ(StringsConstant(*family, 0, kPlain), L"x");
    // Empty: the localised texts go, the family keeps an empty constant.
    family->SetCatParamConstValue(kLocalized, L"");
    EXPECT_EQ(ConstantAt(*family, kLocalized), L"");
    EXPECT_EQ(StringsConstant(*family, 0, kLocalized), kMissing);
    EXPECT_EQ(StringsConstant(*family, 1, kLocalized), kMissing);
    EXPECT_EQ(Revisions(*family), kOldRevisions);

    // Without "ParamsToTemplate" only the strings take the constant.
    const FamilyPtr bare =
        LoadFamily(Family(CategoriesXml(L"c", L"false", {{kLocalized, L"TRUE"}})).Build(),
                   {StringsXml(L"en-US", L"")});
    bare->SetCatParamConstValue(kLocalized, L"x");
    EXPECT_EQ(AttributeAt(bare->GetFamilyXML(), L"ParameterMap", L"x"), kMissing);
    EXPECT_EQ(StringsConstant(*bare, 0, kLocalized), L"x");
}

// A constant of parameter "drv" that drives template parameter "p" of "t'1".
const std::wstring kTemplateValue =
    L"<ParameterMap><FamilyParametersMap><ParamsToTemplate><ParamTemplateValue "
    L"ConstantValue=\"5\"><CategoryParameterRef CategoryParameter=\"drv\"/><TemplatesParameter>"
    L"<TemplateParameter ParameterId=\"p\" TemplateName=\"t'1\"/></TemplatesParameter>"
    L"</ParamTemplateValue></ParamsToTemplate></FamilyParametersMap></ParameterMap>";

TEST(TemplateParameters, ReadWriteAndBumpRevisions) {
    const FamilyPtr family = LoadFamily(
        Family(kTemplateValue).Build(),
        {StringsXml(L"en-US",
                    L"<ConstantValues><ConstantValue TemplateName=\"t'1\" "
                    L"TemplateParameterId=\"p\">fünf</ConstantValue></ConstantValues>")});
    std::wstring value = kMissing;
    EXPECT_FALSE(family->GetTemplateParameterValue(L"t'1", L"q", value));
    EXPECT_EQ(family->SetTemplateParameterValue(L"t1", L"p", L"6"), 1);
    EXPECT_EQ(Revisions(*family), kOldRevisions);
    EXPECT_TRUE(family->GetLocalizedTemplateParameterValue(L"t'1", L"p", value));
    EXPECT_EQ(value, L"fünf");
    EXPECT_EQ(family->SetTemplateParameterValue(L"t'1", L"p", L"6"), 0);
    const std::wstring bumped = Revisions(*family)[0];
    EXPECT_NE(bumped, L"rev0");
    // The constant of a parameter that drives a template bumps on its own.
    family->SetCatParamConstValue(L"drv", L"7");
    EXPECT_NE(Revisions(*family)[0], bumped);
    EXPECT_TRUE(family->GetTemplateParameterValue(L"t'1", L"p", value));
    EXPECT_EQ(value, L"7");
}

TEST(CategoryParamColumn, ConstantsBecomeCachedConstantColumns) {
    const FamilyPtr family = ConstantsFamily();
    EXPECT_EQ(family->GetCategoryParamColumn(L"unknown"), nullptr);
    CEncapFamilyColumn* column = family->GetCategoryParamColumn(kPlain);
    ASSERT_NE(dynamic_cast<CEncapConstFamilyColumn*>(column), nullptr);
    std::wstring value;
    EXPECT_EQ(column->GetValue(L"r1", value), CTableEvaluator::Success);
    EXPECT_EQ(value, L"plain");
    EXPECT_EQ(family->GetCategoryParamColumn(VardelCommon::ToUpper(kPlain)), column);
    family->SetCatParamConstValue(kPlain, L"changed");
    family->RemoveAllColumnMapping(column);
    family->GetCategoryParamColumn(kPlain)->GetValue(L"r0", value);
    EXPECT_EQ(value, L"changed");
}

TEST(CategoryId, DeepestFirstCategoryOfTheFirstVisibleOne) {
    const std::wstring categories =
        L"<Categories><Category InternalName=\"h\" Hidden=\"true\"/>"
        L"<Category InternalName=\"top\" Hidden=\"false\"><Category InternalName=\"mid\">"
        L"<Category InternalName=\"deep\"/></Category><Category InternalName=\"other\"/>"
        L"</Category></Categories>";
    EXPECT_EQ(Read([&](auto& v) { LoadFamily(Family(categories).Build())->GetCategoryID(v); }),
              L"deep");
    const std::wstring hidden = CategoriesXml(L"c", L"true", {});
    EXPECT_EQ(Read([&](auto& v) { LoadFamily(Family(hidden).Build())->GetCategoryID(v); }),
              kMissing);
}

TEST(SaveFamilyXml, EditsSurviveASaveAndANewFamilyAndFailuresKeepFiles) {
    TempFolder folder;
    const std::wstring path = VardelCommon::FromPath(folder.path() / "family.xml");
    {
        const FamilyPtr family = LoadFamily(Family(kTemplateValue).Build());
        family->SetDisplayName(L"Schraube Ø8");
        family->SetManufacturer(L"a&b");
        family->SetTemplateParameterValue(L"t'1", L"p", L"x");
        family->SetThumbnailPath(L"thumb.bmp");
        ASSERT_TRUE(family->SaveFamilyXML(path.c_str()));
    }
    const VardelTest::Bytes file = VardelTest::ReadBytes(folder.path() / "family.xml");
    const std::string bytes(file.begin(), file.end());
    EXPECT_NE(bytes.find("Schraube \xC3\x98"), std::string::npos);  // UTF-8
    const FamilyPtr reloaded = LoadFamily(VardelCommon::FromUtf8(bytes));
    EXPECT_EQ(Read([&](auto& v) { reloaded->GetDisplayName(v); }), L"Schraube Ø8");
    EXPECT_EQ(Read([&](auto& v) { reloaded->GetManufacturer(v); }), L"a&b");
    EXPECT_EQ(Read([&](auto& v) { reloaded->GetThumbnailPath(v); }), L"thumb.bmp");
    EXPECT_EQ(Read([&](auto& v) { reloaded->GetEditStatus(v); }), L"1");
    EXPECT_EQ(Read([&](auto& v) { reloaded->GetTemplateParameterValue(L"t'1", L"p", v); }), L"x");
    EXPECT_NE(Revisions(*reloaded), kOldRevisions);

    EXPECT_FALSE(reloaded->SaveFamilyXML(nullptr));
    const std::wstring missing = VardelCommon::FromPath(folder.path() / "no" / "f.xml");
    EXPECT_FALSE(reloaded->SaveFamilyXML(missing.c_str()));
    const std::wstring directory = VardelCommon::FromPath(folder.path());
    EXPECT_FALSE(reloaded->SaveFamilyXML(directory.c_str()));
    EXPECT_EQ(VardelTest::ReadBytes(folder.path() / "family.xml"), file);
}

}  // namespace
