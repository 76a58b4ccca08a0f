// Library items and their merge: which library a node found in several
// libraries is named under, what its browse id carries, and the item filter.
#include <gtest/gtest.h>

#include <algorithm>

#include "browse/library_item.h"
#include "support/browse_fixture.h"
#include "vardel/constants.h"

namespace VardelTest {
namespace {

using namespace Vardel::Constants;
using VardelBrowse::CollectedIds;
using VardelBrowse::LibraryItems;

class LibraryItemTest : public BrowseTest {
  protected:
    // Builds items of `collected`, merges them and returns them.
    LibraryItems Merged(const Vardel::CContext& context, CollectedIds collected, bool families) {
        LibraryItems items;
        const HRESULT built = families
                                  ? VardelBrowse::BuildFamilyItems(std::move(collected), items)
                                  : VardelBrowse::BuildCategoryItems(std::move(collected), items);
        EXPECT_EQ(built, S_OK);
        VardelBrowse::MergeItems(Impl(context), items);
        return items;
    }
    void SetFamilyVersion(const std::wstring& library, int family, const std::wstring& time,
                          const std::wstring& revision) {
        catalogue_[library].properties[Id(family)] = {{FAM_LASTMODTIME, time},
                                                      {FAM_REVGUID, revision}};
    }
};

TEST_F(LibraryItemTest, UnansweredFamilyTakesFirstLibraryInCaseSensitiveOrder) {
    InstallCatalogue();  // knows neither library: both merge requests fail
    const auto context = MakeContext(Vardel::LibraryBrowsing, {L"beta", L"Zeta"});
    const auto items = Merged(context, {{Id(1), {L"beta", L"Zeta"}}}, true);

    ASSERT_EQ(items.size(), 1u);
    EXPECT_FALSE(items[0]->IsMerged());
    EXPECT_EQ(items[0]->GetPreferredLibrary(), L"Zeta");
    const Vardel::CBrowseId id = items[0]->CreateBrowseId(&context);
    EXPECT_EQ(LibraryOf(id), L"Zeta");
    EXPECT_EQ(id.GetLastModTime(), L"");
    EXPECT_EQ(id.GetRevisionId(), L"");
    // One request per library, in library-name order, for the two merge keys.
    ASSERT_EQ(backend_->Calls().size(), 2u);
    EXPECT_EQ(backend_->Calls()[0].library, L"Zeta");
    EXPECT_EQ(backend_->Calls()[1].library, L"beta");
    EXPECT_EQ(backend_->Calls()[0].keys,
              (std::vector<tsp::Guid>{tsp::Guid::Parse(FAM_LASTMODTIME).value(),
                                      tsp::Guid::Parse(FAM_REVGUID).value()}));
}

TEST_F(LibraryItemTest, NewestCopyNamesTheLibraryAndCarriesItsVersion) {
    SetFamilyVersion(L"A", 1, L"2024-01-01", L"rev-a");
    SetFamilyVersion(L"B", 1, L"2024-06-01", L"rev-b");
    SetFamilyVersion(L"C", 1, L"2023-01-01", L"rev-c");
    InstallCatalogue();
    const auto context = MakeContext(Vardel::LibraryBrowsing, {L"A", L"B", L"C"});
    const auto items = Merged(context, {{Id(1), {L"A", L"B", L"C"}}}, false /*categories*/);
    // Category keys differ from family keys: nothing answered for categories.
    EXPECT_FALSE(items[0]->IsMerged());

    const auto families = Merged(context, {{Id(1), {L"A", L"B", L"C"}}}, true);
    ASSERT_TRUE(families[0]->IsMerged());
    EXPECT_EQ(families[0]->GetPreferredLibrary(), L"B");
    const auto id = families[0]->CreateBrowseId(&context);
    EXPECT_EQ(KindOf(id), Vardel::BrowseFamily);
    EXPECT_EQ(LibraryOf(id), L"B");
    EXPECT_EQ(id.GetLastModTime(), L"2024-06-01");
    EXPECT_EQ(id.GetRevisionId(), L"rev-b");

    const auto member = families[0]->CreateBrowseId(&context, L"row-3");
    EXPECT_EQ(KindOf(member), Vardel::BrowseFamilyMember);
    std::wstring memberId;
    EXPECT_EQ(Vardel::GetMemberID(member, memberId), S_OK);
    EXPECT_EQ(memberId, L"row-3");
    EXPECT_EQ(LibraryOf(member), L"B");
}

TEST_F(LibraryItemTest, EqualTimesAreAllKeptAndCategoryListsEveryAnsweringLibrary) {
    for (const wchar_t* library : {L"A", L"B", L"C"}) {
        catalogue_[library].properties[Id(5)] = {{FLD_LASTMODTIME, L"2024-02-02"},
                                                 {FLD_REFGUID, std::wstring(L"ref-") + library}};
    }
    catalogue_[L"C"].properties[Id(5)][FLD_LASTMODTIME] = L"2025-01-01";
    InstallCatalogue();
    const auto context = MakeContext(Vardel::LibraryBrowsing, {L"A", L"B", L"C", L"D"});
    const auto items = Merged(context, {{Id(5), {L"A", L"B", L"C", L"D"}}}, false);

    const auto& category = dynamic_cast<const CLibraryItemCategory&>(*items[0]);
    EXPECT_EQ(category.GetMergeEntries().size(), 3u);
    const auto id = items[0]->CreateBrowseId(&context);
    EXPECT_EQ(KindOf(id), Vardel::BrowseCategory);
    // Newest first; the two equal times in the order the libraries answered;
    // D holds nothing and is not listed.
    EXPECT_EQ(LibrariesOf(id), (Strings{L"C", L"A", L"B"}));
    EXPECT_EQ(id.GetRevisionId(), L"ref-C");
}

TEST_F(LibraryItemTest, CategoryWithoutReferenceStillMergesFamilyWithoutRevisionDoesNot) {
    catalogue_[L"A"].properties[Id(1)] = {{FLD_LASTMODTIME, L"t1"}};
    catalogue_[L"A"].properties[Id(2)] = {{FAM_LASTMODTIME, L"t1"}};
    InstallCatalogue();
    const auto context = MakeContext(Vardel::LibraryBrowsing, {L"A"});

    const auto categories = Merged(context, {{Id(1), {L"A"}}}, false);
    ASSERT_TRUE(categories[0]->IsMerged());
    const auto category = categories[0]->CreateBrowseId(&context);
    EXPECT_EQ(category.GetLastModTime(), L"t1");
    EXPECT_EQ(category.GetRevisionId(), L"");

    const auto families = Merged(context, {{Id(2), {L"A"}}}, true);
    EXPECT_FALSE(families[0]->IsMerged());
}

TEST_F(LibraryItemTest, LibraryAnsweringTheWrongCountContributesNothing) {
    backend_->Script(Method::GetFamilyPropertyValues,
                     Reply::Values({L"late", L"rev-a", L"extra"}));  // three for one id
    backend_->Script(Method::GetFamilyPropertyValues, Reply::Values({L"early", L"rev-b"}));
    const auto context = MakeContext(Vardel::LibraryBrowsing, {L"A", L"B"});
    const auto items = Merged(context, {{Id(1), {L"A", L"B"}}}, true);
    EXPECT_EQ(items[0]->GetPreferredLibrary(), L"B");
    EXPECT_EQ(items[0]->CreateBrowseId(&context).GetRevisionId(), L"rev-b");
}

TEST_F(LibraryItemTest, ItemsFollowIdOrderAndShareOneRequestPerLibrary) {
    for (int n : {3, 1, 2}) {
        SetFamilyVersion(L"A", n, L"t" + std::to_wstring(n), L"r" + std::to_wstring(n));
    }
    InstallCatalogue();
    const auto context = MakeContext(Vardel::LibraryBrowsing, {L"A"});
    const auto items = Merged(context, {{Id(3), {L"A"}}, {Id(1), {L"A"}}, {Id(2), {L"A"}}}, true);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0]->GetId(), Id(1));
    EXPECT_EQ(items[2]->GetId(), Id(3));
    EXPECT_EQ(items[2]->CreateBrowseId(&context).GetRevisionId(), L"r3");
    EXPECT_EQ(backend_->Calls().size(), 1u);
}

TEST(IdCollector, GathersEachIdOnceWithEveryLibraryThatAnsweredIt) {
    VardelBrowse::IdCollector collector;
    collector.Add(L"B", {L"b", L"a", L"a"});
    collector.Add(L"A", {L"c", L"b"});
    collector.Add(L"C", {});
    const CollectedIds collected = collector.Finish();

    ASSERT_EQ(collected.size(), 3u);
    auto it = collected.begin();
    EXPECT_EQ(it->first, L"a");
    EXPECT_EQ(it->second, (VardelBrowse::LibrarySet{L"B"}));
    ++it;
    EXPECT_EQ(it->first, L"b");
    EXPECT_EQ(it->second, (VardelBrowse::LibrarySet{L"A", L"B"}));
    ++it;
    EXPECT_EQ(it->first, L"c");
    EXPECT_EQ(it->second, (VardelBrowse::LibrarySet{L"A"}));
    EXPECT_TRUE(collector.Finish().empty());  // a finished collector starts afresh
}

TEST(IdCollector, SortsIdsPastTheirSharedPrefixInUtf16OrderAndSharesLibrarySets) {
    // Differences right after the shared prefix, past the four characters
    // the sort key holds, and between characters either side of the
    // surrogates, whose UTF-16 order differs from their values' order.
    const std::wstring prefix = L"000000f0-0000-4000-8000-0000000";
    std::vector<std::wstring> ids;
    for (const wchar_t* tail : {L"10", L"0f", L"aaaa1", L"aaaa0", L"\uE000", L"\U00010000",
                                L"\uD7FF", L"aaa", L"", L"a"}) {
        ids.push_back(prefix + tail);
    }
    VardelBrowse::IdCollector collector;
    collector.Add(L"B", std::vector<std::wstring>(ids.rbegin(), ids.rend()));
    collector.Add(L"A", std::vector<std::wstring>(ids.begin(), ids.begin() + 3));
    const CollectedIds collected = collector.Finish();

    std::sort(ids.begin(), ids.end(), VardelUtils::Utf16Less());
    Strings order;
    for (const auto& [id, libraries] : collected) {
        order.push_back(id);
    }
    EXPECT_EQ(order, ids);
    // Ids answered by the same libraries hold one list of names.
    const auto& both = collected.at(prefix + L"10");
    EXPECT_EQ(both, (VardelBrowse::LibrarySet{L"B", L"A"}));
    EXPECT_EQ(&*collected.at(prefix + L"0f").begin(), &*both.begin());
    EXPECT_EQ(collected.at(prefix + L"a"), VardelBrowse::LibrarySet{L"B"});
    EXPECT_EQ(&*collected.at(prefix).begin(), &*collected.at(prefix + L"a").begin());
}

TEST_F(LibraryItemTest, TakenBrowseIdIsTheOneCreated) {
    SetFamilyVersion(L"A", 1, L"2024-01-01", L"rev-a");
    SetFamilyVersion(L"B", 1, L"2024-06-01", L"rev-b");
    catalogue_[L"A"].properties[Id(2)] = {{FLD_LASTMODTIME, L"t2"}, {FLD_REFGUID, L"ref-a"}};
    InstallCatalogue();
    const auto context = MakeContext(Vardel::LibraryBrowsing, {L"A", L"B"});
    for (const bool families : {true, false}) {
        SCOPED_TRACE(families);
        auto items = Merged(context, {{Id(families ? 1 : 2), {L"A", L"B"}}}, families);
        const Vardel::CBrowseId created = items[0]->CreateBrowseId(&context);
        const Vardel::CBrowseId taken = items[0]->TakeBrowseId(&context);
        EXPECT_EQ(KindOf(taken), KindOf(created));
        EXPECT_EQ(taken.GetInternalName(), created.GetInternalName());
        EXPECT_EQ(LibrariesOf(taken), LibrariesOf(created));
        EXPECT_EQ(taken.GetLastModTime(), created.GetLastModTime());
        EXPECT_EQ(taken.GetRevisionId(), created.GetRevisionId());
        EXPECT_FALSE(taken.GetRevisionId().empty());
    }
}

TEST_F(LibraryItemTest, AnswersKeepTheirLibraryWhenOtherItemsAreDropped) {
    // The first item, answered by no library, goes before the second one's
    // browse id is made; the second must not refer to the first's names.
    SetFamilyVersion(L"A", 2, L"t2", L"r2");
    InstallCatalogue();
    const auto context = MakeContext(Vardel::LibraryBrowsing, {L"A", L"B"});
    auto items = Merged(context, {{Id(1), {L"A"}}, {Id(2), {L"A", L"B"}}}, true);
    std::erase_if(items, [](const auto& item) { return !item->IsMerged(); });
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0]->GetPreferredLibrary(), L"A");
    EXPECT_EQ(LibraryOf(items[0]->TakeBrowseId(&context)), L"A");
}

class ItemFilterTest : public LibraryItemTest {
  protected:
    void SetUp() override {
        LibraryItemTest::SetUp();
        const std::pair<int, const wchar_t*> types[] = {{1, L"part"}, {2, L"feature"}, {3, L""}};
        for (const auto& [n, type] : types) {
            auto& properties = catalogue_[L"A"].properties[Id(n)];
            properties[FAM_DATATYPE] = type;
            properties[FAM_STANDARD] = n == 1 ? L"DIN" : L"ISO";
        }
        InstallCatalogue();
    }
    Strings Filtered(Vardel::BrowsingStructureType type, const Vardel::FilterStruct& filter,
                     HRESULT expected = S_OK) {
        const auto context = MakeContext(type, {L"A"}, L"/nonexistent-vardel", &filter);
        auto items = Merged(context, {{Id(1), {L"A"}}, {Id(2), {L"A"}}, {Id(3), {L"A"}}}, true);
        EXPECT_EQ(VardelBrowse::FilterItems(Impl(context), items), expected);
        Strings ids;
        for (const auto& item : items) {
            ids.push_back(item->GetId());
        }
        return ids;
    }
};

TEST_F(ItemFilterTest, PropertyFiltersApplyOnlyWhenSwitchedOn) {
    Vardel::FilterStruct filter;
    filter.propertyFilters[FAM_STANDARD] = {L"ISO"};
    EXPECT_EQ(Filtered(Vardel::LibraryBrowsing, filter), (Strings{Id(1), Id(2), Id(3)}));
    EXPECT_EQ(CallsOf(Method::GetFamilyPropertyValues), 1u);  // the merge only

    filter.usePropertyFilters = true;
    EXPECT_EQ(Filtered(Vardel::LibraryBrowsing, filter), (Strings{Id(2), Id(3)}));
    // Several criteria must all hold; a missing value counts as empty text.
    filter.propertyFilters[FAM_DATATYPE] = {L"feature", L""};
    EXPECT_EQ(Filtered(Vardel::LibraryBrowsing, filter), (Strings{Id(2), Id(3)}));
    filter.propertyFilters[FAM_DATATYPE] = {L"feature"};
    EXPECT_EQ(Filtered(Vardel::LibraryBrowsing, filter), (Strings{Id(2)}));
}

TEST_F(ItemFilterTest, PartAndFeatureFlagsFilterOnlyInSearchContexts) {
    Vardel::FilterStruct filter;
    filter.filterParts = true;
    filter.filterFeatures = true;  // parts win: only features remain
    EXPECT_EQ(Filtered(Vardel::LibraryBrowsing, filter), (Strings{Id(1), Id(2), Id(3)}));
    EXPECT_EQ(Filtered(Vardel::SearchBrowsing, filter), (Strings{Id(2)}));
    filter.filterParts = false;
    EXPECT_EQ(Filtered(Vardel::SearchBrowsing, filter), (Strings{Id(1)}));
}

TEST_F(ItemFilterTest, FailingRequestEndsTheFilterWithItsStatusAndKeepsItems) {
    Vardel::FilterStruct filter;
    filter.filterParts = true;
    backend_->Script(Method::GetFamilyPropertyValues, Reply::Values({}));  // the merge
    backend_->Fail(Method::GetFamilyPropertyValues);                       // the filter
    EXPECT_EQ(Filtered(Vardel::SearchBrowsing, filter, E_FAIL), (Strings{Id(1), Id(2), Id(3)}));
}

}  // namespace
}  // namespace VardelTest
