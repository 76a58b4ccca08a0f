// The search query model: records, pairs, ownership and deep copies.
#include "vardel/search_query.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using Vardel::CSearchData;
using Vardel::CSearchQueryData;
using Texts = std::set<std::wstring>;

std::vector<std::wstring> PairTexts(const CSearchData& record) {
    std::vector<std::wstring> texts;
    for (const Vardel::PropertyData* property : *record.GetProperties()) {
        texts.push_back(property->name + L"=" + property->value);
    }
    return texts;
}

CSearchData* MemberReturn(const wchar_t* pairName, const wchar_t* alias) {
    auto* record = new CSearchData(CSearchData::SearchMember);
    record->AddProperty(pairName, alias, nullptr);
    return record;
}

TEST(SearchData, StartsEmptyAndKeepsTheFirstValueOfAnAttribute) {
    const CSearchData none;
    EXPECT_EQ(none.GetType(), CSearchData::SearchNone);
    EXPECT_TRUE(none.GetAttributes()->empty());
    EXPECT_TRUE(none.GetProperties()->empty());

    CSearchData record(CSearchData::SearchProperty);
    record.AddAttribute(L"Operator", L"<");
    record.AddAttribute(L"Operator", L">");
    record.AddAttribute(L"operator", L"!=");  // keys are case-sensitive
    EXPECT_EQ(*record.GetAttributes(),
              (std::map<std::wstring, std::wstring>{{L"Operator", L"<"}, {L"operator", L"!="}}));
}

TEST(SearchData, PairsKeepOrderAndRepeatsAndFeedTheQuerysExpectedStrings) {
    CSearchQueryData query;
    CSearchData record(CSearchData::SearchProperty);
    record.AddProperty(L"Value", L"diameter", &query);
    record.AddProperty(L"Value", L"diameter", &query);
    record.AddProperty(L"Value", L"length", nullptr);
    record.AddProperty(nullptr, nullptr, nullptr);
    EXPECT_EQ(PairTexts(record), (std::vector<std::wstring>{L"Value=diameter", L"Value=diameter",
                                                            L"Value=length", L"="}));
    EXPECT_EQ(*query.GetExpectedClientStrs(), Texts{L"diameter"});
}

TEST(SearchData, ClearEmptiesEverythingButTheType) {
    CSearchData record(CSearchData::SearchCategory);
    record.AddAttribute(L"InternalName", L"cat");
    record.AddProperty(L"Value", L"a", nullptr);
    record.Clear();
    EXPECT_EQ(record.GetType(), CSearchData::SearchCategory);
    EXPECT_TRUE(record.GetAttributes()->empty());
    EXPECT_TRUE(record.GetProperties()->empty());
    record.AddProperty(L"Value", L"b", nullptr);
    EXPECT_EQ(PairTexts(record), std::vector<std::wstring>{L"Value=b"});
}

TEST(SearchData, CopiesAreDeepAndIndependent) {
    auto original = std::make_unique<CSearchData>(CSearchData::SearchProperty);
    original->AddAttribute(L"Index", L"1");
    original->AddProperty(L"Value", L"a", nullptr);

    CSearchData copy(*original);
    ASSERT_EQ(copy.GetProperties()->size(), 1u);
    EXPECT_NE(copy.GetProperties()->front(), original->GetProperties()->front());
    original->AddProperty(L"Value", L"b", nullptr);
    original.reset();  // the copy's pairs must survive the original
    EXPECT_EQ(copy.GetType(), CSearchData::SearchProperty);
    EXPECT_EQ(PairTexts(copy), std::vector<std::wstring>{L"Value=a"});

    CSearchData assigned(CSearchData::SearchFamily);
    assigned.AddProperty(L"InternalName", L"old", nullptr);
    assigned = copy;
    const CSearchData& self = assigned;  // a self-assignment keeps everything
    assigned = self;
    EXPECT_EQ(assigned.GetType(), CSearchData::SearchProperty);
    EXPECT_EQ(PairTexts(assigned), std::vector<std::wstring>{L"Value=a"});
    EXPECT_EQ(assigned.GetAttributes()->at(L"Index"), L"1");
}

TEST(SearchQueryData, DefaultsAndNullRecordsAreIgnored) {
    CSearchQueryData query;
    EXPECT_TRUE(query.GetRecursive());
    EXPECT_FALSE(query.IsQueryFinal());
    query.AddConstraintData(nullptr);
    query.AddReturnsData(nullptr);
    EXPECT_TRUE(query.GetConstraints()->empty());
    EXPECT_TRUE(query.GetReturns()->empty());

    query.AddClientReturnsData(L"total", L"a+b");
    query.AddClientReturnsData(L"total", L"a-b");
    query.AddExpClientStr(L"x");
    EXPECT_EQ(query.GetClientReturnsData()->at(L"total"), L"a+b");
    EXPECT_EQ(*query.GetExpectedClientStrs(), Texts{L"x"});
}

TEST(SearchQueryData, MemberIdAliasComesFromTheFirstMemberReturnThatNamesOne) {
    CSearchQueryData query;
    std::wstring alias = L"untouched";
    EXPECT_FALSE(query.GetMemberIdReturnAsStr(alias));

    auto* family = new CSearchData(CSearchData::SearchFamily);
    family->AddProperty(L"InternalName", L"familyAlias", nullptr);
    query.AddReturnsData(family);
    query.AddReturnsData(MemberReturn(L"Value", L"notAnAlias"));
    EXPECT_FALSE(query.GetMemberIdReturnAsStr(alias));
    EXPECT_EQ(alias, L"untouched");

    query.AddReturnsData(MemberReturn(L"INTERNALNAME", L"rowAlias"));
    query.AddReturnsData(MemberReturn(L"InternalName", L"later"));
    EXPECT_TRUE(query.GetMemberIdReturnAsStr(alias));
    EXPECT_EQ(alias, L"rowAlias");
}

TEST(SearchQueryData, ClearEmptiesAllListsKeepsFlagsAndCanBeRefilled) {
    CSearchQueryData query;
    query.SetRecursive(false);
    query.SetIsQueryFinal(true);
    query.AddConstraintData(new CSearchData(CSearchData::SearchCategory));
    query.AddReturnsData(MemberReturn(L"InternalName", L"row"));
    query.AddClientReturnsData(L"n", L"v");
    query.AddExpClientStr(L"e");

    query.Clear();
    EXPECT_TRUE(query.GetConstraints()->empty());
    EXPECT_TRUE(query.GetReturns()->empty());
    EXPECT_TRUE(query.GetClientReturnsData()->empty());
    EXPECT_TRUE(query.GetExpectedClientStrs()->empty());
    EXPECT_FALSE(query.GetRecursive());
    EXPECT_TRUE(query.IsQueryFinal());

    query.AddConstraintData(new CSearchData(CSearchData::SearchProperty));
    EXPECT_EQ(query.GetConstraints()->size(), 1u);
}

TEST(SearchQueryData, CopiesOwnTheirOwnRecords) {
    auto original = std::make_unique<CSearchQueryData>();
    original->SetRecursive(false);
    original->AddConstraintData(new CSearchData(CSearchData::SearchCategory));
    original->AddReturnsData(MemberReturn(L"InternalName", L"row"));
    original->AddClientReturnsData(L"n", L"v");
    original->AddExpClientStr(L"e");

    CSearchQueryData copy(*original);
    EXPECT_NE(copy.GetReturns()->front(), original->GetReturns()->front());
    original->GetReturns()->front()->Clear();
    original.reset();  // the copy's records must survive the original

    std::wstring alias;
    EXPECT_TRUE(copy.GetMemberIdReturnAsStr(alias));
    EXPECT_EQ(alias, L"row");
    EXPECT_EQ(copy.GetConstraints()->front()->GetType(), CSearchData::SearchCategory);
    EXPECT_FALSE(copy.GetRecursive());
    EXPECT_EQ(copy.GetClientReturnsData()->at(L"n"), L"v");
    EXPECT_EQ(*copy.GetExpectedClientStrs(), Texts{L"e"});

    CSearchQueryData assigned;
    assigned.AddConstraintData(new CSearchData(CSearchData::SearchProperty));
    assigned.AddConstraintData(new CSearchData(CSearchData::SearchProperty));
    assigned = copy;
    const CSearchQueryData& self = assigned;
    assigned = self;
    EXPECT_EQ(assigned.GetConstraints()->size(), 1u);
    EXPECT_FALSE(assigned.GetRecursive());
    EXPECT_TRUE(assigned.GetMemberIdReturnAsStr(alias));
}

}  // namespace
