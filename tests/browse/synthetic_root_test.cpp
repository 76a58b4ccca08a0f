// The one root folder of search and history contexts: the root itself, its
// neighbours, its children from the history and the stored search results,
// and its folder properties.
#include <gtest/gtest.h>

#include "support/browse_fixture.h"
#include "support/temp_folder.h"
#include "vardel/browsing.h"
#include "vardel/constants.h"
#include "vardel/history.h"
#include "vardel/properties.h"
#include "vardel/search.h"

namespace VardelTest {
namespace {

using namespace Vardel::Constants;
using Vardel::CBrowseId;

const CBrowseIdBaseImpl* NodeOf(const CBrowseId& id) {
    return VardelUtils::BrowseIdAccess::GetImpl(id);
}

class SyntheticRoot : public BrowseTest {
  protected:
    void SetUp() override {
        BrowseTest::SetUp();
        for (const int family : {1, 2, 3}) {
            catalogue_[L"B"].properties[Id(family)] = {
                {FAM_LASTMODTIME, L"2"}, {FAM_REVGUID, L"b"}, {FAM_DISPLAYNAME, L"B family"}};
        }
        catalogue_[L"A"].properties[Id(2)] = {{FAM_LASTMODTIME, L"3"}, {FAM_REVGUID, L"a"}};
        InstallCatalogue();
    }
    Vardel::CContext Make(Vardel::BrowsingStructureType type) {
        return MakeContext(type, {L"A", L"B"}, storage_.path().wstring());
    }

    TempFolder storage_;
    const BrowseIds kSentinel = {VardelUtils::CreateCategoryId(nullptr, L"sentinel", {L"A"})};
};

TEST_F(SyntheticRoot, RootsAreExactlyTheOneRootMadeWithTheContext) {
    const std::pair<Vardel::BrowsingStructureType, int> kinds[] = {
        {Vardel::SearchBrowsing, Vardel::BrowseSearchRoot},
        {Vardel::HistoryBrowsing, Vardel::BrowseHistoryRoot}};
    for (const auto& [type, kind] : kinds) {
        const auto context = Make(type);
        BrowseIds roots = kSentinel;
        ASSERT_EQ(Vardel::GetFoldersRoots(&context, roots), S_OK);
        ASSERT_EQ(roots.size(), 1u);
        EXPECT_EQ(KindOf(roots[0]), kind);
        EXPECT_EQ(roots[0].GetInternalName(),
                  type == Vardel::SearchBrowsing ? SEARCH_ROOT_ID : HISTORY_ROOT_ID);
        EXPECT_EQ(NodeOf(roots[0])->GetContext(), &context);

        BrowseIds folders = kSentinel;
        EXPECT_EQ(Vardel::GetSubFolders(&context, roots[0], folders), S_OK);
        EXPECT_TRUE(folders.empty());
        folders = kSentinel;
        EXPECT_EQ(Vardel::GetAllSubFolders(&context, roots[0], folders), S_OK);
        EXPECT_TRUE(folders.empty());

        // The parent of any folder, the root included, is a root without context.
        for (const CBrowseId& folder : {roots[0], kSentinel[0], CBrowseId()}) {
            CBrowseId parent;
            ASSERT_EQ(Vardel::GetParentFolder(&context, folder, parent), S_OK);
            EXPECT_EQ(KindOf(parent), kind);
            EXPECT_EQ(NodeOf(parent)->GetContext(), nullptr);
            EXPECT_TRUE(parent.IsTheSameItem(roots[0]));
        }
    }
    EXPECT_TRUE(backend_->Calls().empty());
}

TEST_F(SyntheticRoot, HistoryChildrenAreMergedAcrossAllLibrariesInIdOrder) {
    const auto context = Make(Vardel::HistoryBrowsing);
    for (const int family : {3, 9, 1, 2}) {  // 9 is in no library
        ASSERT_EQ(Vardel::AddItemToHistory(&context, Id(family)), S_OK);
    }
    BrowseIds items = kSentinel;
    ASSERT_EQ(Vardel::GetChildItems(&context, CBrowseId(), items), S_OK);
    // The conversion's map orders by id, not by recency.
    EXPECT_EQ(NamesOf(items), (Strings{Id(1), Id(2), Id(3)}));
    EXPECT_EQ(LibraryOf(items[0]), L"B");
    EXPECT_EQ(LibraryOf(items[1]), L"A");  // newer in A
    EXPECT_EQ(CallsOf(Method::GetFamilyPropertyValues, L"A"), 1u);
    EXPECT_EQ(CallsOf(Method::GetFamilyPropertyValues, L"B"), 1u);

    // Their properties come from the library item worker.
    std::vector<Vardel::ReturnValue> values;
    ASSERT_EQ(Vardel::GetItemsProperties(&context, items, {FAM_DISPLAYNAME}, values), S_OK);
    EXPECT_EQ(TextsOf(values), (Strings{L"B family", L"<no value>", L"B family"}));
}

TEST_F(SyntheticRoot, EmptyHistoryHasNoChildrenAndLeavesOutputAlone) {
    const auto context = Make(Vardel::HistoryBrowsing);
    BrowseIds items = kSentinel;
    ASSERT_EQ(Vardel::GetChildItems(&context, CBrowseId(), items), S_OK);
    EXPECT_EQ(NamesOf(items), (Strings{L"sentinel"}));
    EXPECT_TRUE(backend_->Calls().empty());
}

TEST_F(SyntheticRoot, FoldersByItemFindHistoryItemsWithoutRegardToCase) {
    const auto context = Make(Vardel::HistoryBrowsing);
    ASSERT_EQ(Vardel::AddItemToHistory(&context, L"ABC-Family"), S_OK);
    const CBrowseId stored = VardelUtils::CreateFamilyId(&context, L"abc-family", {L"A"});
    const CBrowseId other = VardelUtils::CreateFamilyId(&context, L"abc", {L"A"});

    BrowseIds folders = kSentinel;
    ASSERT_EQ(Vardel::GetFoldersByItem(&context, stored, folders), S_OK);
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_EQ(KindOf(folders[0]), Vardel::BrowseHistoryRoot);
    ASSERT_EQ(Vardel::GetFoldersByItem(&context, other, folders), S_OK);
    EXPECT_TRUE(folders.empty());
}

TEST_F(SyntheticRoot, RootPropertiesAnswerOncePerKeyFromTheStore) {
    const auto context = Make(Vardel::HistoryBrowsing);
    const std::vector<std::wstring> keys = {
        FLD_DISPLAYNAME, FLD_ISVISIBLE, FLD_REFGUID,
        FLD_HASANYCHILD, FLD_ICON,      L"B47C9E56-1854-49B2-BA7D-AA397909D59C"};
    BrowseIds roots;
    ASSERT_EQ(Vardel::GetFoldersRoots(&context, roots), S_OK);
    const BrowseIds three = {roots[0], roots[0], CBrowseId()};
    std::vector<Vardel::ReturnValue> values(4);
    ASSERT_EQ(Vardel::GetFoldersProperties(&context, three, keys, values), S_OK);
    // Keys are compared case-sensitively: the upper-case display-name key has no value.
    EXPECT_EQ(TextsOf(values), (Strings{L"HistoryRootFolder", L"true", HISTORY_ROOT_ID, L"false",
                                        L"<no value>", L"<no value>"}));

    ASSERT_EQ(Vardel::AddItemToHistory(&context, L"x"), S_OK);
    ASSERT_EQ(Vardel::GetFoldersProperties(&context, three, {FLD_HASANYCHILD}, values), S_OK);
    EXPECT_EQ(TextsOf(values), (Strings{L"true"}));
    ASSERT_EQ(Vardel::GetFoldersProperties(&context, three, {}, values), S_OK);
    EXPECT_TRUE(values.empty());
    EXPECT_TRUE(backend_->Calls().empty());
}

TEST_F(SyntheticRoot, SearchRootHoldsTheStoredResults) {
    const auto context = Make(Vardel::SearchBrowsing);
    std::vector<Vardel::ReturnValue> values;
    ASSERT_EQ(Vardel::GetFoldersProperties(&context, {},
                                           {FLD_DISPLAYNAME, FLD_REFGUID, FLD_HASANYCHILD}, values),
              S_OK);
    EXPECT_EQ(TextsOf(values), (Strings{L"SearchRootFolder", SEARCH_ROOT_ID, L"false"}));
    BrowseIds items = kSentinel;
    ASSERT_EQ(Vardel::GetChildItems(&context, CBrowseId(), items), S_OK);
    EXPECT_EQ(NamesOf(items), (Strings{L"sentinel"}));

    // A member and its family stored in the B copy: the root lists the family
    // once, named under its newest copy, and is the folder of both names.
    const BrowseIds stored = {VardelUtils::CreateMemberId(&context, Id(2), L"row", {L"B"}),
                              VardelUtils::CreateFamilyId(&context, Id(1), {L"B"}),
                              VardelUtils::CreateFamilyId(&context, Id(2), {L"B"})};
    ASSERT_EQ(Vardel::StoreSearchResults(&context, stored, false), S_OK);
    ASSERT_EQ(Vardel::GetChildItems(&context, CBrowseId(), items), S_OK);
    EXPECT_EQ(NamesOf(items), (Strings{Id(1), Id(2)}));
    EXPECT_EQ(LibraryOf(items[1]), L"A");
    ASSERT_EQ(Vardel::GetFoldersProperties(&context, {}, {FLD_HASANYCHILD}, values), S_OK);
    EXPECT_EQ(TextsOf(values), (Strings{L"true"}));

    BrowseIds folders = kSentinel;
    ASSERT_EQ(Vardel::GetFoldersByItem(&context, items[1], folders), S_OK);
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_EQ(KindOf(folders[0]), Vardel::BrowseSearchRoot);
    ASSERT_EQ(Vardel::GetFoldersByItem(&context, kSentinel[0], folders), S_OK);
    EXPECT_TRUE(folders.empty());

    // Another context over the same folder reads what this one stored.
    const auto later = Make(Vardel::SearchBrowsing);
    ASSERT_EQ(Vardel::GetChildItems(&later, CBrowseId(), items), S_OK);
    EXPECT_EQ(NamesOf(items), (Strings{Id(1), Id(2)}));
}

}  // namespace
}  // namespace VardelTest
