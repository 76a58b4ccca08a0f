// Running searches: every library asked once, failures skipped, rows read
// from the answers (paths, return names, prefix fallback, client returns),
// found families merged and filtered, members and families told apart, and
// the category-parameter values; then the search items' property cache.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "api/browse_id_impl.h"
#include "stores/search_results_store.h"
#include "support/browse_fixture.h"
#include "support/temp_folder.h"
#include "vardel/browsing.h"
#include "vardel/constants.h"
#include "vardel/properties.h"
#include "vardel/search.h"

namespace VardelTest {
namespace {

using namespace Vardel::Constants;
using Vardel::CBrowseId;
using Properties = std::map<std::wstring, std::wstring>;

// One answer row: FamilyId plus the given attributes.
std::wstring Row(int family, const std::wstring& attributes = {}) {
    return L"<row FamilyId=\"" + Id(family) + L"\" " + attributes + L"/>";
}

std::wstring Answer(const std::wstring& rows) {
    return L"<answer><results>" + rows + L"</results></answer>";
}

std::wstring MemberOf(const CBrowseId& id) {
    std::wstring member;
    Vardel::GetMemberID(id, member);
    return member;
}

Properties CacheOf(const CBrowseId& id) {
    return VardelUtils::BrowseIdAccess::As<CBrowseFamilyIdImpl>(id)->CachedProperties();
}

// A query returning the width under "W" and the member id under "mid".
std::unique_ptr<Vardel::CSearchQueryData> WidthQuery() {
    auto query = std::make_unique<Vardel::CSearchQueryData>();
    auto width = std::make_unique<Vardel::CSearchData>(Vardel::CSearchData::SearchProperty);
    width->AddAttribute(L"InternalName", L"00000000-0000-0000-0000-0000000000aa");
    width->AddProperty(L"Value", L"W", query.get());
    query->AddReturnsData(width.release());
    auto member = std::make_unique<Vardel::CSearchData>(Vardel::CSearchData::SearchMember);
    member->AddProperty(L"internalname", L"mid", query.get());
    query->AddReturnsData(member.release());
    return query;
}

class SearchRun : public BrowseTest {
  protected:
    void SetUp() override {
        BrowseTest::SetUp();
        // Family 2 is in A and B, newer in B.
        catalogue_[L"A"].properties[Id(1)] = {{FAM_LASTMODTIME, L"1"}, {FAM_REVGUID, L"a1"}};
        catalogue_[L"A"].properties[Id(2)] = {{FAM_LASTMODTIME, L"1"}, {FAM_REVGUID, L"a2"}};
        catalogue_[L"B"].properties[Id(2)] = {{FAM_LASTMODTIME, L"5"}, {FAM_REVGUID, L"b2"}};
        InstallCatalogue();
    }
    // Answers each library's search with `answers` (a missing library fails).
    void AnswerSearches(std::map<std::wstring, std::wstring> answers) {
        backend_->Respond(Method::Search, [answers](const RecordedCall& call) {
            const auto found = answers.find(call.library);
            return found == answers.end() ? Reply::Failure("library down")
                                          : Reply::Text(found->second);
        });
    }
    Vardel::CContext Make(const std::list<std::wstring>& libraries,
                          const Vardel::FilterStruct* filter = nullptr) {
        return MakeContext(Vardel::SearchBrowsing, libraries, storage_.path().wstring(), filter);
    }

    TempFolder storage_;
};

TEST_F(SearchRun, SkipsAFailingLibraryAndNamesEachFamilyUnderItsNewestCopy) {
    AnswerSearches({{L"A", Answer(Row(2, L"W=\"a-w\"") + Row(1, L"W=\"10\" mid=\"m1\""))},
                    {L"B", Answer(Row(2, L"W=\"20\"") + Row(2, L"W=\"30\" mid=\"m3\""))}});
    const auto context = Make({L"C", L"A", L"B"});
    const auto query = WidthQuery();
    query->SetRecursive(false);
    BrowseIds ids = {CBrowseId()};  // appended to, not replaced
    ASSERT_EQ(Vardel::Search(&context, query.get(), ids), S_OK);

    // Family order by id; family 2 shows only the rows of its B copy.
    ASSERT_EQ(ids.size(), 4u);
    EXPECT_EQ(NamesOf(ids), (Strings{L"", Id(1), Id(2), Id(2)}));
    EXPECT_EQ(KindOf(ids[1]), Vardel::BrowseFamilyMember);
    EXPECT_EQ(MemberOf(ids[1]), L"m1");
    EXPECT_EQ(KindOf(ids[2]), Vardel::BrowseFamily);
    EXPECT_EQ(LibraryOf(ids[2]), L"B");
    EXPECT_EQ(ids[2].GetRevisionId(), L"b2");
    EXPECT_EQ(CacheOf(ids[2]), (Properties{{L"W", L"20"}, {L"mid", L""}}));
    EXPECT_EQ(MemberOf(ids[3]), L"m3");

    // One search per library, in list order, with the query's flag.
    Strings searched;
    for (const RecordedCall& call : backend_->Calls()) {
        if (call.method == Method::Search) {
            searched.push_back(call.library);
            EXPECT_EQ(call.flag, false);
        }
    }
    EXPECT_EQ(searched, (Strings{L"C", L"A", L"B"}));
}

TEST_F(SearchRun, ReadsReturnNamesByPrefixAndFillsClientReturns) {
    AnswerSearches({{L"A", L"<results>" + Row(1, L"Width_mm=\"10\" H=\"20\" W2=\"x\"") +
                               L"<row W=\"no family\"/></results>"}});
    const auto context = Make({L"A"});
    auto query = WidthQuery();
    auto height = std::make_unique<Vardel::CSearchData>(Vardel::CSearchData::SearchProperty);
    height->AddProperty(L"Value", L"H", nullptr);
    query->AddReturnsData(height.release());
    query->AddClientReturnsData(L"Label", L"W x H (W)");
    BrowseIds ids;
    ASSERT_EQ(Vardel::Search(&context, query.get(), ids), S_OK);
    ASSERT_EQ(ids.size(), 1u);
    // "W" is absent: the first attribute beginning with it stands in.
    EXPECT_EQ(
        CacheOf(ids[0]),
        (Properties{{L"H", L"20"}, {L"W", L"10"}, {L"mid", L""}, {L"Label", L"10 x 20 (10)"}}));
    EXPECT_EQ(KindOf(ids[0]), Vardel::BrowseFamily);
}

TEST_F(SearchRun, FailuresAndEmptyAnswers) {
    const auto query = WidthQuery();
    BrowseIds ids = {CBrowseId()};
    const auto both = Make({L"A", L"B"});
    AnswerSearches({});
    EXPECT_EQ(Vardel::Search(&both, query.get(), ids), E_FAIL);
    EXPECT_EQ(ids.size(), 1u);

    // A malformed answer and an answer without rows find nothing: S_OK, untouched.
    AnswerSearches({{L"A", L"<results><row"}, {L"B", L"<results/>"}});
    EXPECT_EQ(Vardel::Search(&both, query.get(), ids), S_OK);
    EXPECT_EQ(ids.size(), 1u);
    EXPECT_EQ(Vardel::Search(&both, nullptr, ids), S_OK);

    for (const auto type :
         {Vardel::LibraryBrowsing, Vardel::HistoryBrowsing, Vardel::FavoritesBrowsing}) {
        const auto other = MakeContext(type, {L"A"}, storage_.path().wstring());
        EXPECT_EQ(Vardel::Search(&other, query.get(), ids), E_INVALIDARG);
    }
    EXPECT_EQ(Vardel::Search(nullptr, query.get(), ids), E_INVALIDARG);
    EXPECT_EQ(ids.size(), 1u);
}

TEST_F(SearchRun, PartFilterDropsFoundFeaturesAndStoredListStaysAsItWas) {
    catalogue_[L"A"].properties[Id(1)][FAM_DATATYPE] = L"part";
    catalogue_[L"A"].properties[Id(2)][FAM_DATATYPE] = L"feature";
    InstallCatalogue();
    AnswerSearches({{L"A", L"<rows>" + Row(1) + Row(2) + L"</rows>"}});
    Vardel::FilterStruct filter;
    filter.filterParts = true;  // show features only
    const auto context = Make({L"A"}, &filter);
    ASSERT_EQ(Vardel::StoreSearchResults(&context, {}, false), S_OK);
    BrowseIds ids;
    ASSERT_EQ(Vardel::Search(&context, WidthQuery().get(), ids), S_OK);
    EXPECT_EQ(NamesOf(ids), (Strings{Id(2)}));
    BrowseIds stored;
    ASSERT_EQ(Vardel::GetChildItems(&context, CBrowseId(), stored), S_OK);
    EXPECT_TRUE(stored.empty());
}

TEST_F(SearchRun, ItemPropertiesAreCachedOnTheIdsAndStoredWithThem) {
    catalogue_[L"B"].properties[Id(2)][FAM_DISPLAYNAME] = L"Bolt";
    catalogue_[L"B"].properties[Id(2)][FAM_DESCRIPTION] = L"server text";
    InstallCatalogue();
    AnswerSearches({{L"B", Answer(Row(2, L"W=\"20\" mid=\"m1\""))}});
    const auto context = Make({L"B"});
    BrowseIds ids;
    ASSERT_EQ(Vardel::Search(&context, WidthQuery().get(), ids), S_OK);
    ASSERT_EQ(ids.size(), 1u);
    VardelUtils::BrowseIdAccess::As<CBrowseFamilyIdImpl>(ids[0])->CachedProperties().emplace(
        FAM_DESCRIPTION, L"row text");
    ids.push_back(VardelUtils::CreateCategoryId(&context, Id(9), {L"B"}));

    std::vector<Vardel::ReturnValue> values;
    ASSERT_EQ(Vardel::GetItemsProperties(&context, ids,
                                         {FAM_DISPLAYNAME, FAM_DESCRIPTION, FAM_ICON}, values),
              S_OK);
    // The member keeps its own description; a key without a server value is
    // cached as an empty text; a category is no search item.
    EXPECT_EQ(TextsOf(values),
              (Strings{L"Bolt", L"row text", L"", L"<not found>", L"<not found>", L"<not found>"}));
    EXPECT_EQ(CacheOf(ids[0]).at(FAM_DISPLAYNAME), L"Bolt");

    // A library that fails leaves the cache as it was: cached keys keep
    // their values, a key never cached has none.
    backend_->Fail(Method::GetFamilyPropertyValues);
    ASSERT_EQ(
        Vardel::GetItemsProperties(&context, {ids[0]}, {FAM_DISPLAYNAME, FAM_LASTMODTIME}, values),
        S_OK);
    EXPECT_EQ(TextsOf(values), (Strings{L"Bolt", L"<no value>"}));

    ASSERT_EQ(Vardel::StoreSearchResults(&context, ids, false), S_OK);
    const auto later = Make({L"B"});
    BrowseIds ignored;
    ASSERT_EQ(Vardel::StoreSearchResults(&later, ignored, true), S_OK);
    const auto* store = Impl(later).GetSearchResultsData();
    ASSERT_EQ(store->Entries().size(), 2u);
    EXPECT_EQ(store->Entries().front().memberId, L"m1");
    EXPECT_EQ(store->Entries().front().properties.at(FAM_DISPLAYNAME), L"Bolt");
    EXPECT_TRUE(store->Entries().back().properties.empty());
}

TEST_F(SearchRun, CategoryParameterValuesAreDistinctSortedAndNonEmpty) {
    AnswerSearches({{L"A",
                     L"<results><row catParam=\"M8\"/><row catParam=\"M10\"/>"
                     L"<row catParam=\"\"/><row/></results>"},
                    {L"B", L"<results><row catParam=\"M8\"/><row catParam=\"m8\"/></results>"}});
    const auto library = MakeContext(Vardel::LibraryBrowsing, {L"A", L"B", L"C"});
    Strings values = {L"old"};
    ASSERT_EQ(Vardel::SearchCatParamData(&library, Id(7), values), S_OK);
    EXPECT_EQ(values, (Strings{L"M10", L"M8", L"m8"}));

    // The query constrains the parameter (tagged "A") and returns it as catParam.
    const RecordedCall& call = backend_->Calls().front();
    ASSERT_TRUE(call.query.has_value() && call.query->constraintFields && call.query->returnFields);
    const auto& constraints = *call.query->constraintFields;
    EXPECT_TRUE(std::any_of(constraints.begin(), constraints.end(), [](const auto& constraint) {
        return constraint.propertyAlias == Id(7) && constraint.tag == L"A" &&
               constraint.operator_ == tsp::Content::QueryOperator::Equal;
    }));
    const auto& returns = *call.query->returnFields;
    EXPECT_TRUE(std::any_of(returns.begin(), returns.end(), [](const auto& returned) {
        return returned.propertyAlias == Id(7) && returned.returnAs == L"catParam";
    }));
    EXPECT_EQ(call.flag, true);

    const auto down = MakeContext(Vardel::FavoritesBrowsing, {L"C"}, storage_.path().wstring());
    EXPECT_EQ(Vardel::SearchCatParamData(&down, Id(7), values), E_FAIL);
    EXPECT_TRUE(values.empty());
    EXPECT_EQ(Vardel::SearchCatParamData(nullptr, Id(7), values), E_INVALIDARG);
}

}  // namespace
}  // namespace VardelTest
