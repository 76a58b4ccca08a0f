// Navigation of library contexts: what is asked of which library, how nodes
// of several libraries merge, and when the caller's output is touched.
#include <gtest/gtest.h>

#include "support/browse_fixture.h"
#include "vardel/browsing.h"
#include "vardel/constants.h"

namespace VardelTest {
namespace {

using namespace Vardel::Constants;
using Vardel::CBrowseId;

class LibraryNavigation : public BrowseTest {
  protected:
    void SetUp() override {
        BrowseTest::SetUp();
        // Category 2 is in A and B (newer in B), category 3 in B; family 11
        // is in A and B with equal times, 12 in A, 13 in B.
        catalogue_[L"A"].roots = {Id(1), Id(2)};
        catalogue_[L"B"].roots = {Id(2), Id(3)};
        catalogue_[L"A"].properties[Id(2)][FLD_LASTMODTIME] = L"2020";
        catalogue_[L"B"].properties[Id(2)][FLD_LASTMODTIME] = L"2021";
        catalogue_[L"B"].properties[Id(3)][FLD_LASTMODTIME] = L"2022";
        catalogue_[L"A"].families[Id(2)] = {Id(11), Id(12)};
        catalogue_[L"B"].families[Id(2)] = {Id(11), Id(13)};
        for (const wchar_t* library : {L"A", L"B", L"C"}) {
            catalogue_[library].properties[Id(11)] = {{FAM_LASTMODTIME, L"1"}, {FAM_REVGUID, L"r"}};
        }
        for (const int family : {12, 13}) {
            catalogue_[family == 12 ? L"A" : L"B"].properties[Id(family)] = {
                {FAM_LASTMODTIME, L"1"}, {FAM_REVGUID, L"r"}};
        }
        catalogue_[L"C"].properties[Id(2)][FLD_LASTMODTIME] = L"2019";
        InstallCatalogue();
    }
    CBrowseId Folder(const std::wstring& name) {
        CBrowseId id;
        EXPECT_EQ(Vardel::CreateFolderBrowseId(&context_, name, id), S_OK);
        return id;
    }

    Vardel::CContext context_ = MakeContext(Vardel::LibraryBrowsing, {L"A", L"B", L"C"});
    const BrowseIds kSentinel = {VardelUtils::CreateHistoryRootId(nullptr, L"sentinel")};
};

TEST_F(LibraryNavigation, RootsOfSeveralLibrariesMergeIntoOneNodeEach) {
    BrowseIds roots = kSentinel;
    ASSERT_EQ(Vardel::GetFoldersRoots(&context_, roots), S_OK);
    EXPECT_EQ(NamesOf(roots), (Strings{Id(1), Id(2), Id(3)}));
    // The folder list keeps category 1 although no library confirmed it.
    EXPECT_EQ(LibrariesOf(roots[0]), (Strings{L"A"}));
    EXPECT_EQ(LibrariesOf(roots[1]), (Strings{L"B", L"A"}));
    EXPECT_EQ(roots[1].GetLastModTime(), L"2021");
    EXPECT_EQ(KindOf(roots[2]), Vardel::BrowseCategory);
}

TEST_F(LibraryNavigation, FailingLibraryLeavesOutputUntouched) {
    backend_->Script(Method::GetCategoryRoots, Reply::Ids({}));
    backend_->Fail(Method::GetCategoryRoots);
    BrowseIds roots = kSentinel;
    EXPECT_EQ(Vardel::GetFoldersRoots(&context_, roots), E_FAIL);
    EXPECT_EQ(NamesOf(roots), (Strings{L"sentinel"}));
    EXPECT_EQ(CallsOf(Method::GetCategoryRoots), 2u);  // the third library is not asked
    EXPECT_EQ(CallsOf(Method::GetCategoryPropertyValues), 0u);
}

TEST_F(LibraryNavigation, NothingFoundLeavesOutputUntouched) {
    BrowseIds folders = kSentinel;
    EXPECT_EQ(Vardel::GetSubFolders(&context_, Folder(Id(3)), folders), S_OK);
    EXPECT_EQ(NamesOf(folders), (Strings{L"sentinel"}));
    // A family no library confirms is dropped: nothing remains, nothing changes.
    catalogue_[L"B"].families[Id(3)] = {Id(99)};
    EXPECT_EQ(Vardel::GetChildItems(&context_, Folder(Id(3)), folders), S_OK);
    EXPECT_EQ(NamesOf(folders), (Strings{L"sentinel"}));
}

TEST_F(LibraryNavigation, ChildItemsAskOnlyTheParentsLibrariesAndDropUnconfirmed) {
    catalogue_[L"A"].families[Id(2)].push_back(Id(98));  // unconfirmed
    const CBrowseId category = Folder(Id(2));
    ASSERT_EQ(LibrariesOf(category), (Strings{L"B", L"A", L"C"}));
    backend_ = std::make_shared<ScriptedBackend>();
    CVardelApp::Instance().AttachBackend(backend_);
    InstallCatalogue();

    BrowseIds items = kSentinel;
    ASSERT_EQ(Vardel::GetChildItems(&context_, category, items), S_OK);
    EXPECT_EQ(NamesOf(items), (Strings{Id(11), Id(12), Id(13)}));
    EXPECT_EQ(LibraryOf(items[0]), L"A");  // equal times: first answering library
    EXPECT_EQ(LibraryOf(items[2]), L"B");
    EXPECT_EQ(CallsOf(Method::GetFamiliesByCategory), 3u);
    // One merge request per library that returned families.
    EXPECT_EQ(CallsOf(Method::GetFamilyPropertyValues, L"A"), 1u);
    EXPECT_EQ(CallsOf(Method::GetFamilyPropertyValues, L"B"), 1u);
    EXPECT_EQ(CallsOf(Method::GetFamilyPropertyValues, L"C"), 0u);
}

TEST_F(LibraryNavigation, SubFoldersPassTheLevelChoiceAndAppendNothingOnFailure) {
    catalogue_[L"A"].subFolders[Id(2)] = {Id(4)};
    const auto callsWithLevels = [&](bool allLevels) {
        std::size_t count = 0;
        for (const auto& call : backend_->Calls()) {
            count += call.method == Method::GetCategoriesByParent && call.flag == allLevels;
        }
        return count;
    };
    BrowseIds folders;
    ASSERT_EQ(Vardel::GetAllSubFolders(&context_, Folder(Id(2)), folders), S_OK);
    EXPECT_EQ(NamesOf(folders), (Strings{Id(4)}));  // unconfirmed, kept as a folder
    EXPECT_EQ(callsWithLevels(true), 3u);
    ASSERT_EQ(Vardel::GetSubFolders(&context_, Folder(Id(2)), folders), S_OK);
    EXPECT_EQ(callsWithLevels(false), 3u);

    const CBrowseId family = VardelUtils::CreateFamilyId(&context_, Id(11), {L"A"});
    EXPECT_EQ(Vardel::GetSubFolders(&context_, family, folders), E_INVALIDARG);
    EXPECT_EQ(Vardel::GetChildItems(&context_, CBrowseId(), folders), E_INVALIDARG);
    EXPECT_EQ(NamesOf(folders), (Strings{Id(4)}));
}

TEST_F(LibraryNavigation, FoldersByItemTakeFamiliesOnly) {
    backend_->Script(Method::GetCategoriesByFamily, Reply::Ids({}));
    backend_->Script(Method::GetCategoriesByFamily, Reply::Ids({tsp::Guid::Parse(Id(3)).value()}));
    const CBrowseId family = VardelUtils::CreateFamilyId(&context_, Id(11), {L"A"});
    BrowseIds folders;
    ASSERT_EQ(Vardel::GetFoldersByItem(&context_, family, folders), S_OK);
    EXPECT_EQ(NamesOf(folders), (Strings{Id(3)}));
    EXPECT_EQ(CallsOf(Method::GetCategoriesByFamily), 3u);  // every library of the context

    const CBrowseId member = VardelUtils::CreateMemberId(&context_, Id(11), L"m", {L"A"});
    EXPECT_EQ(Vardel::GetFoldersByItem(&context_, member, folders), E_INVALIDARG);
    EXPECT_EQ(Vardel::GetFoldersByItem(&context_, Folder(Id(2)), folders), E_INVALIDARG);
    EXPECT_EQ(NamesOf(folders), (Strings{Id(3)}));
}

TEST_F(LibraryNavigation, ParentFolderIsLookedUpInFirstLibraryAndMerged) {
    catalogue_[L"B"].parents[Id(2)] = Id(3);
    CBrowseId parent = kSentinel.front();
    ASSERT_EQ(Vardel::GetParentFolder(&context_, Folder(Id(2)), parent), S_OK);
    EXPECT_EQ(parent.GetInternalName(), Id(3));
    EXPECT_EQ(LibrariesOf(parent), (Strings{L"B"}));

    parent = kSentinel.front();
    ASSERT_EQ(Vardel::GetParentFolder(&context_, Folder(Id(3)), parent), S_OK);
    EXPECT_TRUE(parent.IsNULL());  // a root category

    parent = kSentinel.front();
    const CBrowseId family = VardelUtils::CreateFamilyId(&context_, Id(11), {L"A"});
    EXPECT_EQ(Vardel::GetParentFolder(&context_, family, parent), E_INVALIDARG);
    EXPECT_TRUE(parent.IsNULL());  // emptied before the checks of the worker

    backend_->Fail(Method::GetParentCategory);
    EXPECT_EQ(Vardel::GetParentFolder(&context_, Folder(Id(2)), parent), E_FAIL);
}

TEST_F(LibraryNavigation, CreatedIdsAreConfirmedByTheContextsLibraries) {
    CBrowseId id = kSentinel.front();
    ASSERT_EQ(Vardel::CreateItemBrowseId(&context_, Id(11), id), S_OK);
    EXPECT_EQ(KindOf(id), Vardel::BrowseFamily);
    EXPECT_EQ(id.GetRevisionId(), L"r");

    id = kSentinel.front();
    EXPECT_EQ(Vardel::CreateItemBrowseId(&context_, Id(77), id), S_OK);
    EXPECT_EQ(id.GetInternalName(), L"sentinel");  // unknown: untouched
    EXPECT_EQ(Vardel::CreateItemBrowseId(&context_, L"not a guid", id), S_OK);
    EXPECT_EQ(id.GetInternalName(), L"sentinel");
    EXPECT_EQ(Vardel::CreateFolderBrowseId(&context_, L"", id), E_INVALIDARG);
    EXPECT_EQ(Vardel::CreateFolderBrowseId(nullptr, Id(2), id), E_INVALIDARG);
}

TEST_F(LibraryNavigation, CategoryParameterIdTakesParentsLibrariesWithoutServer) {
    const CBrowseId category = Folder(Id(2));
    const std::size_t calls = backend_->Calls().size();
    CBrowseId parameter;
    ASSERT_EQ(Vardel::CreateCategoryParameterBrowseId(&context_, L"P1", category, parameter), S_OK);
    EXPECT_EQ(KindOf(parameter), Vardel::BrowseCategoryParameter);
    EXPECT_EQ(LibrariesOf(parameter), LibrariesOf(category));
    CBrowseId nested;
    ASSERT_EQ(Vardel::CreateCategoryParameterBrowseId(&context_, L"P2", parameter, nested), S_OK);
    EXPECT_EQ(LibraryOf(nested), L"B");
    EXPECT_EQ(backend_->Calls().size(), calls);

    const CBrowseId family = VardelUtils::CreateFamilyId(&context_, Id(11), {L"A"});
    EXPECT_EQ(Vardel::CreateCategoryParameterBrowseId(&context_, L"P", family, nested),
              E_INVALIDARG);
    EXPECT_EQ(Vardel::CreateCategoryParameterBrowseId(&context_, L"", category, nested),
              E_INVALIDARG);
    EXPECT_EQ(nested.GetInternalName(), L"P2");
}

TEST_F(LibraryNavigation, StringListConversionAppendsOneHandlePerName) {
    BrowseIds ids = kSentinel;
    ASSERT_EQ(Vardel::ConvertFolderStrIdsToBrowseIds(&context_, {Id(2), Id(77), Id(3)}, ids), S_OK);
    EXPECT_EQ(NamesOf(ids), (Strings{L"sentinel", Id(2), L"", Id(3)}));
    EXPECT_TRUE(ids[2].IsNULL());

    EXPECT_EQ(Vardel::ConvertItemStrIdsToBrowseIds(&context_, {Id(11), L"", Id(12)}, ids),
              E_INVALIDARG);
    EXPECT_TRUE(ids.empty());  // the first failure clears everything
    EXPECT_EQ(Vardel::ConvertItemStrIdsToBrowseIds(nullptr, {}, ids), S_OK);
    EXPECT_EQ(Vardel::ConvertItemStrIdsToBrowseIds(nullptr, {Id(11)}, ids), E_INVALIDARG);
}

TEST_F(LibraryNavigation, AllItemsAskEveryLibrary) {
    backend_->Script(Method::GetAllFamilies, Reply::Ids({tsp::Guid::Parse(Id(12)).value()}));
    backend_->Script(Method::GetAllFamilies, Reply::Ids({}));
    backend_->Script(Method::GetAllFamilies, Reply::Ids({tsp::Guid::Parse(Id(11)).value()}));
    BrowseIds items;
    ASSERT_EQ(Vardel::GetAllItems(&context_, items), S_OK);
    EXPECT_EQ(NamesOf(items), (Strings{Id(11), Id(12)}));
    EXPECT_EQ(LibraryOf(items[0]), L"C");  // only C returned it
}

}  // namespace
}  // namespace VardelTest
