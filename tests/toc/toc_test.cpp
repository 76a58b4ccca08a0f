#include "vardel/toc.h"

#include <gtest/gtest.h>

#include "xml/xml_test_util.h"

namespace {

const wchar_t* const kToc =
    L"<TableOfContents>"
    L"<Families>"
    L"<Family InternalName='F2' DisplayName='Nut' FromSource='Src' SourceMoniker='M' "
    L"StandardsOrg='DIN'"
    L" SourceRevisionId='SR' RevisionId='R' Description='d' LastModifiedTime='t'/>"
    L"<Family InternalName='F1' DisplayName='Bolt'/>"
    L"<Family DisplayName='no name'/>"
    L"<Family InternalName='F3' DisplayName='first'/><Family InternalName='F3' "
    L"DisplayName='second'/>"
    L"</Families>"
    L"<Categories>"
    L"<Category InternalName='A' DisplayName='Fasteners' Hidden='false' SpecialAuthoring='TRUE'>"
    L"<FamilyReference InternalName='F1'/><FamilyReference/>"
    L"<Category InternalName='A1'><Category InternalName='A11'><FamilyReference InternalName='F2'/>"
    L"</Category></Category></Category>"
    L"<Category InternalName='B' Hidden='true'><FamilyReference InternalName='F1'/>"
    L"<FamilyReference InternalName='F3'/></Category>"
    L"</Categories></TableOfContents>";

class Toc : public ::testing::Test {
  protected:
    void SetUp() override { toc.SetToc(ParsedXml(kToc)); }

    static std::vector<std::wstring> Names(const XMLNodeArray& nodes) {
        std::vector<std::wstring> names;
        for (int i = 0; i < nodes.GetSize(); ++i) {
            std::wstring name;
            nodes[i].GetProperty(L"InternalName", name);
            names.push_back(name);
        }
        return names;
    }

    CToc toc;
};

TEST_F(Toc, IndexesFamiliesAndCategoriesByInternalName) {
    EXPECT_EQ(toc.GetCategoryCount(), 4);
    XMLNode node;
    ASSERT_TRUE(toc.GetFamilyInfo(L"F3", node));
    std::wstring display;
    CTocFamily(node).GetDisplayName(display);
    EXPECT_EQ(display, L"second");  // a later duplicate replaces an earlier one
    EXPECT_FALSE(toc.GetFamilyInfo(L"f1", node));
    EXPECT_FALSE(toc.GetFamilyInfo(nullptr, node));
    ASSERT_TRUE(toc.GetCategoryInfo(L"A11", node));
    EXPECT_FALSE(toc.GetCategoryInfo(L"F1", node));
}

TEST_F(Toc, CategoryPathRunsInnermostFirst) {
    XMLNodeArray path;
    ASSERT_TRUE(toc.GetCategoryPath(L"A11", path));
    EXPECT_EQ(Names(path), (std::vector<std::wstring>{L"A11", L"A1", L"A"}));
    path.Add(XMLNode());
    EXPECT_FALSE(toc.GetCategoryPath(L"Z", path));
    EXPECT_TRUE(path.IsEmpty());

    XMLNodeArray first;
    ASSERT_TRUE(toc.GetFirstLevelCategories(first));
    EXPECT_EQ(Names(first), (std::vector<std::wstring>{L"A", L"B"}));
}

TEST_F(Toc, FamilyToCategoryMapSkipsHiddenAndLastOneWins) {
    std::map<std::wstring, std::wstring> map{{L"X", L"kept"}};
    ASSERT_TRUE(toc.GetFam2CatMap(map, false));
    EXPECT_EQ(map, (std::map<std::wstring, std::wstring>{
                       {L"X", L"kept"}, {L"F1", L"B"}, {L"F2", L"A11"}, {L"F3", L"B"}}));
    map.clear();
    ASSERT_TRUE(toc.GetFam2CatMap(map, true));
    EXPECT_EQ(map, (std::map<std::wstring, std::wstring>{{L"F1", L"A"}, {L"F2", L"A11"}}));
}

TEST_F(Toc, IterationsAreIndependentAndRestart) {
    XMLNode node;
    std::vector<std::wstring> categories;
    toc.ResetCatIter();
    while (toc.NextCategory(node)) {
        std::wstring category;
        node.GetProperty(L"InternalName", category);
        categories.push_back(category);
    }
    EXPECT_EQ(categories, (std::vector<std::wstring>{L"A", L"A1", L"A11", L"B"}));
    EXPECT_FALSE(toc.NextCategory(node));

    toc.ResetIter();
    ASSERT_TRUE(toc.NextNode(node));
    toc.ResetCatIter();
    ASSERT_TRUE(toc.NextCategory(node));
    std::wstring name;
    node.GetProperty(L"InternalName", name);
    EXPECT_EQ(name, L"A");
    ASSERT_TRUE(toc.NextNode(node));
    node.GetProperty(L"InternalName", name);
    EXPECT_EQ(name, L"F2");  // the family iteration went on: F1, then F2

    CToc copy(toc);
    ASSERT_TRUE(copy.NextNode(node));
    node.GetProperty(L"InternalName", name);
    EXPECT_EQ(name, L"F1");  // copies start over, on their own maps
    toc = CToc();
    EXPECT_TRUE(copy.NextNode(node));
    EXPECT_TRUE(copy.GetToc().GetRootNode().IsNode());
}

TEST_F(Toc, CategoryAndFamilyViews) {
    XMLNode node;
    ASSERT_TRUE(toc.GetCategoryInfo(L"A", node));
    const CTocCategory a(node);
    EXPECT_TRUE(a.IsCategoryNode());
    EXPECT_TRUE(a.SpecialAuthoring());
    EXPECT_FALSE(a.IsHidden());
    std::wstring value = L"x";
    EXPECT_FALSE(a.GetDomain(value));
    EXPECT_EQ(value, L"");
    std::vector<std::wstring> references;
    ASSERT_TRUE(a.GetReferencedFamilies(references));
    EXPECT_EQ(references, (std::vector<std::wstring>{L"F1", L""}));
    std::set<std::wstring> set{L"old"};
    ASSERT_TRUE(a.GetReferencedFamilies(set));
    EXPECT_EQ(set, (std::set<std::wstring>{L"", L"F1"}));
    XMLNodeArray sub;
    ASSERT_TRUE(a.GetSubCategoryNodes(sub));
    EXPECT_EQ(Names(sub), std::vector<std::wstring>{L"A1"});
    CTocCategory parent;
    EXPECT_FALSE(a.GetParent(parent));  // "Categories" is no category
    EXPECT_TRUE(CTocCategory(sub[0]).GetParent(parent));

    ASSERT_TRUE(toc.GetFamilyInfo(L"F2", node));
    const CTocFamily family(node);
    const std::pair<bool (CTocFamily::*)(std::wstring&) const, const wchar_t*> readers[] = {
        {&CTocFamily::GetSourceLib, L"Src"},   {&CTocFamily::GetSourceFamily, L"M"},
        {&CTocFamily::GetStandardOrg, L"DIN"}, {&CTocFamily::GetSourceRevision, L"SR"},
        {&CTocFamily::GetRevision, L"R"},      {&CTocFamily::GetInternalName, L"F2"},
    };
    for (const auto& [reader, expected] : readers) {
        EXPECT_TRUE((family.*reader)(value));
        EXPECT_EQ(value, expected);
    }
    EXPECT_TRUE(family.GetFamilyProperty(FamilyPropDescription, value));
    EXPECT_EQ(value, L"d");
    EXPECT_TRUE(family.GetFamilyProperty(FamilyPropLastModifiedTime, value));
    EXPECT_FALSE(family.GetFamilyProperty(static_cast<FamilyPropType>(13), value));
    EXPECT_EQ(value, L"");
    EXPECT_FALSE(family.GetFamilyProperty(FamilyPropManufacturer, value));
}

TEST(TocWithoutContents, WrongRootOrNoDocumentGivesEmptyIndexes) {
    CToc toc;
    XMLNode node;
    XMLNodeArray nodes;
    std::map<std::wstring, std::wstring> map;
    EXPECT_FALSE(toc.NextNode(node));
    EXPECT_FALSE(toc.NextCategory(node));
    EXPECT_FALSE(toc.GetFirstLevelCategories(nodes));
    EXPECT_TRUE(toc.GetFam2CatMap(map, true));
    EXPECT_EQ(toc.GetDocument(), nullptr);

    toc.SetToc(
        ParsedXml(L"<Other><Families><F InternalName='x'/></Families>"
                  L"<Categories><Category InternalName='c'/></Categories></Other>"));
    EXPECT_EQ(toc.GetCategoryCount(), 0);
    EXPECT_FALSE(toc.GetFamilyInfo(L"x", node));
    toc.ResetIter();
    EXPECT_FALSE(toc.NextNode(node));
}

}  // namespace
