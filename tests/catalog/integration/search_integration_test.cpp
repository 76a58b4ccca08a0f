// Searching a real catalogue through the browsing face: every operator on
// numbers and texts, tolerance, categories with and without sub-categories,
// hostile values matched literally, and the values SearchCatParamData finds.
#include <map>

#include "catalog/integration/catalog_fixture.h"
#include "vardel/search.h"

namespace VardelCatalogTest {
namespace {

using Vardel::CSearchData;

struct Condition {
    unsigned parameter;
    const wchar_t* op;
    std::vector<std::wstring> values;
    const wchar_t* tolerance = nullptr;
};

// Hits per family, by family node number.
using Hits = std::map<unsigned, int>;

class CatalogSearchTest : public CatalogIntegrationTest {
  protected:
    Hits Run(const std::vector<Condition>& conditions, unsigned category = 0, bool recursive = true,
             const std::list<std::wstring>& libraries = {L"Alpha", L"Beta"},
             const std::wstring& user = L"bob", HRESULT expected = S_OK) {
        Vardel::CSearchQueryData query;
        query.SetRecursive(recursive);
        for (const Condition& condition : conditions) {
            auto* constraint = new CSearchData(CSearchData::SearchProperty);
            constraint->AddAttribute(L"InternalName", Id(condition.parameter).c_str());
            constraint->AddAttribute(L"Operator", condition.op);
            if (condition.tolerance != nullptr) {
                constraint->AddAttribute(L"Tolerance", condition.tolerance);
            }
            for (const std::wstring& value : condition.values) {
                constraint->AddProperty(L"Value", value.c_str(), nullptr);
            }
            query.AddConstraintData(constraint);
        }
        if (category != 0) {
            auto* constraint = new CSearchData(CSearchData::SearchCategory);
            constraint->AddAttribute(L"InternalName", Id(category).c_str());
            query.AddConstraintData(constraint);
        }
        auto* member = new CSearchData(CSearchData::SearchMember);
        member->AddProperty(L"InternalName", L"member", &query);
        query.AddReturnsData(member);
        const auto context = Context(Vardel::SearchBrowsing, libraries, {}, L"en-US", user);
        std::vector<Vardel::CBrowseId> ids;
        EXPECT_EQ(expected, Vardel::Search(&context, &query, ids));
        Hits hits;
        for (const Vardel::CBrowseId& id : ids) {
            const std::wstring& family = id.GetInternalName();
            hits[static_cast<unsigned>(std::stoul(family.substr(24), nullptr, 16))]++;
        }
        return hits;
    }
};

TEST_F(CatalogSearchTest, OperatorsCompareNumbersAsNumbersAndTextsAsTexts) {
    struct Case {
        Condition condition;
        Hits expected;
    };
    const Case cases[] = {
        {{kDiameter, L"=", {L"8"}}, {{kHexScrew, 2}, {kHexNut, 1}, {kThread, 1}, {kOldScrew, 1}}},
        {{kDiameter, L"=", {L"8.0"}}, {{kHexScrew, 2}, {kHexNut, 1}, {kThread, 1}, {kOldScrew, 1}}},
        {{kDiameter, L"!=", {L"8"}}, {{kHexScrew, 2}, {kHexNut, 2}, {kThread, 1}, {kOddNames, 3}}},
        {{kDiameter, L"<", {L"8"}}, {{kHexScrew, 1}}},
        {{kDiameter, L"<=", {L"8"}}, {{kHexScrew, 3}, {kHexNut, 1}, {kThread, 1}, {kOldScrew, 1}}},
        {{kDiameter, L">", {L"10"}}, {{kHexNut, 1}, {kThread, 1}, {kOddNames, 3}}},
        {{kDiameter, L">=", {L"10"}}, {{kHexScrew, 1}, {kHexNut, 2}, {kThread, 1}, {kOddNames, 3}}},
        {{kDiameter, L"IN", {L"6", L"12"}},
         {{kHexScrew, 1}, {kHexNut, 1}, {kThread, 1}, {kOddNames, 3}}},
        {{kDiameter, L"LIKE", {L"1_"}},
         {{kHexScrew, 1}, {kHexNut, 2}, {kThread, 1}, {kOddNames, 3}}},
        {{kDiameter, L"=", {L"7"}, L"1"},
         {{kHexScrew, 3}, {kHexNut, 1}, {kThread, 1}, {kOldScrew, 1}}},
        {{kDiameter, L"=", {L"7"}, L"0.5"}, {}},
        // A text compared with numbers compares as text: digits sort before letters.
        {{kDiameter, L">=", {L"abc"}}, {}},
        {{kDiameter, L"<", {L"abc"}},
         {{kHexScrew, 4}, {kHexNut, 3}, {kThread, 2}, {kOldScrew, 1}, {kOddNames, 3}}},
        // A number compared with texts compares as text too: "M..." sorts after "5".
        {{kDesignation, L">=", {L"5"}}, {{kHexScrew, 4}, {kHexNut, 3}, {kOddNames, 2}}},
        {{kDesignation, L"=", {L"M8"}}, {{kHexNut, 1}}},
        {{kDesignation, L"LIKE", {L"m1%"}}, {{kHexScrew, 1}, {kHexNut, 2}}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(cases[i].expected, Run({cases[i].condition})) << "case " << i;
    }
}

TEST_F(CatalogSearchTest, HostileValuesMatchOnlyThemselves) {
    const std::pair<std::wstring, Hits> cases[] = {
        {L"'; DELETE FROM member; --", {{kOddNames, 1}}},
        {L"O'Reilly \"x\"", {{kOddNames, 1}}},
        {L"50%_off", {{kOddNames, 1}}},
        {L"50%", {}},
        {L"' OR '1'='1", {}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(cases[i].second, Run({{kDesignation, L"=", {cases[i].first}}})) << "case " << i;
    }
    // In LIKE, % and _ are wildcards: "50%" finds "50%_off".
    EXPECT_EQ((Hits{{kOddNames, 1}}), Run({{kDesignation, L"LIKE", {L"50%"}}}));
    // The whole catalogue is still there afterwards.
    EXPECT_EQ(4u, Run({{kDiameter, L"=", {L"8"}}}).size());
}

// The hex screw's designation is "M" & {d} & "x" & {l}; the thread's minor
// diameter is d - 5*sqrt(3)/8*P (6.6468353 for M8 x 1.25, 10.105569 for M12 x 1.75).
TEST_F(CatalogSearchTest, FormulaColumnsAreSearchedByTheirValues) {
    EXPECT_EQ((Hits{{kHexScrew, 1}}), Run({{kDesignation, L"=", {L"M8x40"}}}));
    EXPECT_EQ((Hits{{kHexScrew, 2}}), Run({{kDesignation, L"LIKE", {L"M8x%"}}}));
    EXPECT_EQ((Hits{{kHexScrew, 1}}),
              Run({{kDesignation, L"=", {L"M8x30"}}, {kLength, L"=", {L"30"}}}));
    EXPECT_EQ(Hits{}, Run({{kDesignation, L"LIKE", {L"%{%"}}}));
    EXPECT_EQ((Hits{{kThread, 1}}), Run({{kMinorDiameter, L"=", {L"6.647"}, L"0.001"}}));
    EXPECT_EQ((Hits{{kThread, 2}}), Run({{kMinorDiameter, L">", {L"6"}}}));
    EXPECT_EQ(Hits{}, Run({{kMinorDiameter, L"=", {L"8"}}}));
}

TEST_F(CatalogSearchTest, CategoryConstraintWidensToSubCategoriesOnlyWhenRecursive) {
    const std::vector<Condition> eight = {{kDiameter, L"=", {L"8"}}};
    EXPECT_EQ((Hits{{kHexScrew, 2}, {kHexNut, 1}, {kThread, 1}, {kOldScrew, 1}}),
              Run(eight, kFasteners, true));
    EXPECT_EQ(Hits{}, Run(eight, kFasteners, false));
    EXPECT_EQ((Hits{{kThread, 1}}), Run(eight, kScrews, false));
    EXPECT_EQ((Hits{{kHexScrew, 2}, {kThread, 1}}), Run(eight, kScrews, true));
}

TEST_F(CatalogSearchTest, TwoConditionsMustBothHold) {
    EXPECT_EQ((Hits{{kHexScrew, 1}}), Run({{kDiameter, L"=", {L"8"}}, {kLength, L">=", {L"35"}}}));
}

TEST_F(CatalogSearchTest, DistinctParameterValuesComeFromEveryLibrary) {
    const auto context = Context(Vardel::LibraryBrowsing, {L"Alpha", L"Beta"});
    std::vector<std::wstring> values;
    ASSERT_EQ(S_OK, Vardel::SearchCatParamData(&context, Id(kDiameter), values));
    EXPECT_EQ((std::vector<std::wstring>{L"10", L"12", L"6", L"8"}), values);
}

}  // namespace
}  // namespace VardelCatalogTest
