// Links to a source family, the status bits, the family's kind and latch
// points, hidden domains, and the answers of a family without mapping.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "family/support/family_xml.h"
#include "vardel/family.h"

namespace {

using namespace FamilyTest;
using FamilyPtr = std::unique_ptr<CEncapFamily>;

const std::wstring kMissing = L"<missing>";

std::wstring RootAttribute(const CEncapFamily& family, const wchar_t* name) {
    std::wstring value;
    return family.GetFamilyXML().GetRootNode().GetProperty(name, value) ? value : kMissing;
}

// A family with members r0 and r1 whose "MEMBER_REVISION" (when `revisions`)
// holds `prefix` and the row id, and an empty `extraColumn` (when given).
FamilyPtr Members(const std::wstring& prefix, Attributes root, bool revisions = true,
                  const std::wstring& extraColumn = L"") {
    FamilyXml xml;
    xml.rootAttributes = std::move(root);
    xml.columns = {{L"RID", {}}};
    if (revisions) {
        xml.columns.push_back({L"MEMBER_REVISION", {}});
    }
    if (!extraColumn.empty()) {
        xml.columns.push_back({extraColumn, {}});
    }
    for (const wchar_t* row : {L"r0", L"r1"}) {
        xml.rows.push_back({row, {{L"RID", row}, {L"MEMBER_REVISION", prefix + row}}});
    }
    return LoadFamily(xml.Build());
}

// The row's own cell of the source-revision column; "<none>" without one.
std::wstring SourceRevision(const CEncapFamily& family, const wchar_t* row) {
    std::wstring value;
    return family.GetEncapFamilyTable()->GetRawValue(row, L"SOURCE_MEMBER_REVISION", value) == 0
               ? value
               : L"<none>";
}

TEST(FamilyLinks, SetLinkCopiesSourceRevisionsAndNamesTheSource) {
    const FamilyPtr source = Members(L"src-", {{L"Library", L"lib"}, {L"InternalName", L"std"}});
    const FamilyPtr family = Members(L"own-", {});
    EXPECT_FALSE(family->IsLinked());
    family->SetLink(source.get(), false);
    EXPECT_TRUE(family->IsLinked());
    EXPECT_FALSE(family->IsSrcActive());
    EXPECT_EQ(RootAttribute(*family, L"FromSource"), L"lib");
    EXPECT_EQ(RootAttribute(*family, L"SourceMoniker"), L"std");
    EXPECT_EQ(SourceRevision(*family, L"r0"), L"src-r0");
    EXPECT_EQ(SourceRevision(*family, L"r1"), L"src-r1");

    family->ClearLink();
    EXPECT_FALSE(family->IsLinked());
    EXPECT_EQ(RootAttribute(*family, L"SrcActive"), kMissing);
    EXPECT_EQ(RootAttribute(*family, L"SourceMoniker"), kMissing);
    EXPECT_EQ(family->GetEncapFamilyTable()->GetFamilyColumnIndexByID(L"SOURCE_MEMBER_REVISION"),
              -1);
    const int columns = family->GetEncapFamilyTable()->GetColumnsCount();
    family->ClearLink();
    EXPECT_EQ(family->GetEncapFamilyTable()->GetColumnsCount(), columns);
}

TEST(FamilyLinks, SetLinkChangesNothingForLinkedOrRevisionlessSources) {
    const FamilyPtr linked = Members(L"s-", {{L"FromSource", L""}});
    const FamilyPtr revisionless = Members(L"s-", {{L"Library", L"lib"}}, false);
    const FamilyPtr family = Members(L"own-", {});
    family->SetLink(linked.get(), true);
    family->SetLink(revisionless.get(), true);
    family->SetLink(nullptr, true);
    EXPECT_FALSE(family->IsLinked());
    EXPECT_EQ(family->GetEncapFamilyTable()->GetColumnsCount(), 2);
}

TEST(FamilyLinks, UnreadableSourceRevisionStopsBeforeTheAttributes) {
    FamilyXml xml;  // r1 reads the formula, which refers to no column
    xml.columns = {{L"MEMBER_REVISION", {{L"ColumnwideValue", L"{NOPE}"}}}};
    xml.rows = {{L"r0", {{L"MEMBER_REVISION", L"s0"}}}, {L"r1", {}}};
    const FamilyPtr source = LoadFamily(xml.Build());
    const FamilyPtr family = Members(L"own-", {});
    family->SetLink(source.get(), true);
    EXPECT_FALSE(family->IsLinked());
    EXPECT_EQ(SourceRevision(*family, L"r0"), L"s0");
}

TEST(FamilyLinks, ExistingSourceRevisionColumnOnlyRewritesTheAttributes) {
    const FamilyPtr source = Members(L"src-", {{L"Library", L"lib2"}});
    const FamilyPtr family =
        Members(L"own-", {{L"SrcActive", L"false"}}, true, L"SOURCE_MEMBER_REVISION");
    family->SetLink(source.get(), true);
    EXPECT_EQ(RootAttribute(*family, L"FromSource"), L"lib2");
    EXPECT_EQ(RootAttribute(*family, L"SrcActive"), L"true");
    EXPECT_EQ(SourceRevision(*family, L"r0"), L"<none>");
    EXPECT_EQ(family->GetEncapFamilyTable()->GetColumnsCount(), 3);
}

// A family whose root has `attribute` = `text`, or no such attribute when
// `text` is kMissing.
FamilyPtr WithRoot(const wchar_t* attribute, const std::wstring& text) {
    FamilyXml xml;
    if (text != kMissing) {
        xml.rootAttributes = {{attribute, text}};
    }
    return LoadFamily(xml.Build());
}

TEST(FamilyLinks, SourceIsActiveUnlessSrcActiveSaysFalse) {
    const std::vector<std::pair<std::wstring, bool>> cases = {
        {kMissing, true}, {L"true", true}, {L"yes", true}, {L"FALSE", false}};
    for (const auto& [text, active] : cases) {
        EXPECT_EQ(WithRoot(L"SrcActive", text)->IsSrcActive(), active) << text;
    }
}

TEST(FamilyStatus, HealthBitTwoMakesTheTableSick) {
    const std::vector<std::pair<std::wstring, bool>> cases = {
        {L"", false}, {L"1", false},  {L"2", true},   {L"3", true},
        {L"a", true}, {L"FD", false}, {L"zz", false}, {kMissing, false}};
    for (const auto& [health, sick] : cases) {
        EXPECT_EQ(WithRoot(L"HealthStatus", health)->IsSickFamilyTable(), sick) << health;
    }
}

TEST(FamilyStatus, EditStatusIsOredAndWrittenInUpperCaseHex) {
    const std::vector<std::tuple<std::wstring, std::uint32_t, std::wstring>> cases = {
        {kMissing, 0, L"0"}, {L"", 1, L"1"},         {L"a", 4, L"E"},
        {L"0010", 1, L"11"}, {L"ff", 0x100, L"1FF"}, {L"x", 0x80000000u, L"80000000"}};
    for (const auto& [status, bits, written] : cases) {
        const FamilyPtr family = WithRoot(L"EditStatus", status);
        family->UpdateEditStatus(bits);
        EXPECT_EQ(RootAttribute(*family, L"EditStatus"), written) << status;
    }
}

TEST(FamilyKind, FeaturePartAndLatchpoints) {
    const std::wstring feature = L"9ce1a3c8-5164-4421-8b65-e51b0a387cfc";
    const std::wstring part = L"c0e0b642-3bcb-4cc8-9e80-f96d35c4afa4";
    const std::wstring latch =
        L"<FamilyTemplates><FamilyTemplate><GeneralizedParameter ObjectType=\"kPropertyObject\"/>"
        L"<GeneralizedParameter ObjectType=\"kLatchpointDefinitionObject\"/></FamilyTemplate>"
        L"</FamilyTemplates>";
    // (DataTypeCategory, children, feature, part, latch points)
    for (const auto& [category, children, isFeature, isPart, hasLatch] :
         std::vector<std::tuple<std::wstring, std::wstring, bool, bool, bool>>{
             {feature, L"", true, false, false},
             {part, latch, false, true, true},
             {L"C0E0B642-3BCB-4CC8-9E80-F96D35C4AFA4", L"", false, false, false}}) {
        FamilyXml xml;
        xml.rootAttributes = {{L"DataTypeCategory", category}};
        xml.rawChildren = children;
        const FamilyPtr family = LoadFamily(xml.Build());
        EXPECT_EQ(family->IsFeature(), isFeature);
        EXPECT_EQ(family->IsPart(), isPart);
        EXPECT_EQ(family->HasLatchpoints(), hasLatch);
        EXPECT_FALSE(family->IsCustom());
    }
}

TEST(FamilyDomains, SetInternalNameRemovesHiddenCategoriesButTheKeptOne) {
    FamilyXml xml;
    xml.rawChildren =
        L"<Categories><Category InternalName=\"shown\" Hidden=\"false\"/>"
        L"<Category InternalName=\"gone\" Hidden=\"true\"/>"
        L"<Category InternalName=\"gone too\" Hidden=\"1\"/>"
        L"<Category InternalName=\"stays\" Hidden=\"yes\"/>"
        L"<Category InternalName=\"23B78D0F-2648-40C6-8793-CA6DB495C9E8\" Hidden=\"true\"/>"
        L"</Categories>";
    const FamilyPtr family = LoadFamily(xml.Build());
    family->SetInternalName(L"renamed");
    EXPECT_EQ(RootAttribute(*family, L"InternalName"), L"renamed");
    XMLNodeArray left;
    family->GetFamilyXML().GetRootNode().SelectChildNodes(L"Categories/Category", left);
    std::vector<std::wstring> names(static_cast<std::size_t>(left.GetSize()));
    for (int i = 0; i < left.GetSize(); ++i) {
        left[i].GetProperty(L"InternalName", names[static_cast<std::size_t>(i)]);
    }
    EXPECT_EQ(names, (std::vector<std::wstring>{L"shown", L"stays",
                                                L"23B78D0F-2648-40C6-8793-CA6DB495C9E8"}));
}

TEST(FamilyMapping, FamilyWithoutMappingAnswersNothing) {
    const FamilyPtr family = Members(L"r-", {});
    std::wstring text = L"kept";
    EXPECT_FALSE(family->GetColumnCategory(L"RID", text));
    EXPECT_FALSE(family->IsFamilyColumnLocalized(L"RID"));
    family->GetTemplateFileName(text);
    EXPECT_EQ(text, L"kept");
    EXPECT_EQ(family->GetFamilyTemplateByRow(L"r0"), nullptr);
    family->GetTemplateFileNameByRow(L"r0", text);
    EXPECT_EQ(text, L"");
}

}  // namespace
