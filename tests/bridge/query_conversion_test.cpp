// Conversion of filters and search queries into the server's objects.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bridge/filter_conversion.h"
#include "bridge/query_conversion.h"
#include "bridge/server_proxies_provider.h"
#include "vardel/constants.h"

namespace {

namespace tsp = TarnServerProxies;
using tsp::Content::ContentQuery;
using tsp::Content::QueryConstraint;
using tsp::Content::QueryOperator;
using tsp::Content::QueryReturn;
using Vardel::CSearchData;
using Vardel::CSearchQueryData;
using Texts = std::vector<std::wstring>;

constexpr wchar_t kObjectIdKeyUpper[] = L"CF1D0246-76D9-4B4A-8305-FA0409AFB5C1";

// Builds a record for `query`: type, attributes, then pairs.
CSearchData* Record(CSearchData::ObjectType type,
                    std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> attributes,
                    std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> pairs = {}) {
    auto* record = new CSearchData(type);
    for (const auto& [name, value] : attributes) {
        record->AddAttribute(name, value);
    }
    for (const auto& [name, value] : pairs) {
        record->AddProperty(name, value, nullptr);
    }
    return record;
}

ContentQuery Convert(const CSearchQueryData& query) {
    const std::optional<ContentQuery> converted = VardelBridge::ConvertContentQuery(&query, L"en");
    EXPECT_TRUE(converted.has_value());
    return converted.value_or(ContentQuery{});
}

TEST(QueryOperatorTable, MapsEveryTextInAnyCaseAndEverythingElseToEqual) {
    using VardelBridge::GetManagedOperator;
    EXPECT_EQ(GetManagedOperator(L"="), QueryOperator::Equal);
    EXPECT_EQ(GetManagedOperator(L"!="), QueryOperator::NotEqual);
    EXPECT_EQ(GetManagedOperator(L"like"), QueryOperator::Like);
    EXPECT_EQ(GetManagedOperator(L"LiKe"), QueryOperator::Like);
    EXPECT_EQ(GetManagedOperator(L"<"), QueryOperator::Less);
    EXPECT_EQ(GetManagedOperator(L"<="), QueryOperator::LessOrEqual);
    EXPECT_EQ(GetManagedOperator(L">"), QueryOperator::Greater);
    EXPECT_EQ(GetManagedOperator(L">="), QueryOperator::GreaterOrEqual);
    EXPECT_EQ(GetManagedOperator(L"in"), QueryOperator::In);
    for (const wchar_t* other : {L"", L"==", L"<>", L" =", L"between"}) {
        EXPECT_EQ(GetManagedOperator(other), QueryOperator::Equal);
    }
}

TEST(ReturnsConversion, PropertyReturnPairsEachAliasWithATaggedReferencingConstraint) {
    CSearchQueryData query;
    query.AddReturnsData(Record(CSearchData::SearchProperty,
                                {{L"InternalName", L"key-1"}, {L"Index", L"2"}},
                                {{L"Value", L"d1"}, {L"Other", L"x"}, {L"value", L"d2"}}));
    const ContentQuery converted = Convert(query);

    ASSERT_TRUE(converted.returnFields.has_value());
    ASSERT_EQ(converted.returnFields->size(), 2u);
    const QueryReturn& first = (*converted.returnFields)[0];
    EXPECT_EQ(first.property, L"Value");
    EXPECT_EQ(first.returnAs, L"d1");
    EXPECT_EQ(first.referencedAs, L"d1");
    EXPECT_EQ(first.propertyIndex, L"2");
    EXPECT_EQ(first.propertyAlias, L"key-1");
    EXPECT_EQ((*converted.returnFields)[1].returnAs, L"d2");

    ASSERT_TRUE(converted.constraintFields.has_value());
    ASSERT_EQ(converted.constraintFields->size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        const QueryConstraint& constraint = (*converted.constraintFields)[i];
        EXPECT_EQ(constraint.tag, L"constraintTag" + std::to_wstring(i + 1));
        EXPECT_EQ(constraint.property, L"Value");
        EXPECT_EQ(constraint.propertyAlias, L"key-1");
        EXPECT_EQ(constraint.valueReference, (*converted.returnFields)[i].returnAs);
        EXPECT_EQ(constraint.operator_, QueryOperator::Equal);
        EXPECT_FALSE(constraint.propertyIndex.has_value());
        EXPECT_FALSE(constraint.values.has_value());
    }
}

TEST(ReturnsConversion, IdentifierReturnsNeedAnAliasAndTheTagCounterSpansTheQuery) {
    CSearchQueryData query;
    query.AddReturnsData(Record(CSearchData::SearchProperty, {}, {{L"Value", L"a"}}));
    query.AddReturnsData(Record(CSearchData::SearchFamily, {},
                                {{L"internalname", L"fam"}, {L"InternalName", L"second"}}));
    query.AddReturnsData(Record(CSearchData::SearchMember, {}, {{L"Value", L"no alias"}}));
    query.AddReturnsData(Record(CSearchData::SearchMember, {}, {{L"InternalName", L"row"}}));
    query.AddReturnsData(Record(CSearchData::SearchCategory, {}, {{L"Value", L"ignored"}}));
    query.AddReturnsData(Record(CSearchData::SearchProperty, {}, {{L"Value", L"b"}}));
    const ContentQuery converted = Convert(query);

    ASSERT_TRUE(converted.returnFields.has_value());
    std::vector<std::pair<std::wstring, std::wstring>> returns;
    for (const QueryReturn& r : *converted.returnFields) {
        returns.emplace_back(r.property.value_or(L"?"), r.returnAs.value_or(L"?"));
    }
    EXPECT_EQ(returns,
              (std::vector<std::pair<std::wstring, std::wstring>>{
                  {L"Value", L"a"}, {L"ObjectID", L"fam"}, {L"RowID", L"row"}, {L"Value", L"b"}}));
    EXPECT_FALSE((*converted.returnFields)[1].referencedAs.has_value());
    EXPECT_FALSE((*converted.returnFields)[3].propertyAlias.has_value());

    ASSERT_TRUE(converted.constraintFields.has_value());
    ASSERT_EQ(converted.constraintFields->size(), 2u);
    EXPECT_EQ((*converted.constraintFields)[0].tag, L"constraintTag1");
    EXPECT_EQ((*converted.constraintFields)[1].tag, L"constraintTag2");
    EXPECT_EQ((*converted.constraintFields)[1].valueReference, L"b");
}

TEST(ConstraintsConversion, CategoryTakesItsValuesOrElseItsInternalName) {
    CSearchQueryData query;
    query.AddConstraintData(Record(CSearchData::SearchCategory, {{L"InternalName", L"cat-1"}}));
    query.AddConstraintData(Record(CSearchData::SearchCategory,
                                   {{L"InternalName", L"cat-2"}, {L"Operator", L"in"}},
                                   {{L"VALUE", L"c1"}, {L"Value", L"c2"}}));
    query.AddConstraintData(Record(CSearchData::SearchCategory, {}));
    const ContentQuery converted = Convert(query);

    ASSERT_TRUE(converted.constraintFields.has_value());
    ASSERT_EQ(converted.constraintFields->size(), 3u);
    const QueryConstraint& byName = (*converted.constraintFields)[0];
    EXPECT_EQ(byName.property, L"Category");
    EXPECT_EQ(byName.value, L"cat-1");
    EXPECT_FALSE(byName.values.has_value());
    EXPECT_EQ(byName.operator_, QueryOperator::Equal);

    const QueryConstraint& byValues = (*converted.constraintFields)[1];
    EXPECT_EQ(byValues.values, (Texts{L"c1", L"c2"}));
    EXPECT_FALSE(byValues.value.has_value());
    EXPECT_EQ(byValues.operator_, QueryOperator::In);

    const QueryConstraint& bare = (*converted.constraintFields)[2];
    EXPECT_EQ(bare.property, L"Category");
    EXPECT_FALSE(bare.value.has_value());
    EXPECT_FALSE(bare.values.has_value());
    EXPECT_FALSE(converted.returnFields.has_value());
}

TEST(ConstraintsConversion, PropertyConstraintCarriesEveryAttribute) {
    CSearchQueryData query;
    query.AddConstraintData(Record(CSearchData::SearchProperty,
                                   {{L"InternalName", L"key-7"},
                                    {L"ReferencedAs", L"A"},
                                    {L"Tolerance", L" 0.25 "},
                                    {L"Index", L"3"},
                                    {L"Operator", L">="},
                                    {L"internalname", L"not an attribute key"}},
                                   {{L"Value", L"10"}, {L"vAlUe", L"20"}}));
    query.AddConstraintData(
        Record(CSearchData::SearchProperty, {{L"InternalName", kObjectIdKeyUpper}}, {}));
    query.AddConstraintData(Record(CSearchData::SearchProperty, {}, {}));
    query.AddConstraintData(Record(CSearchData::SearchFamily, {{L"InternalName", L"x"}}));
    query.AddConstraintData(Record(CSearchData::SearchNone, {{L"InternalName", L"x"}}));
    const ContentQuery converted = Convert(query);

    ASSERT_TRUE(converted.constraintFields.has_value());
    ASSERT_EQ(converted.constraintFields->size(), 3u);
    QueryConstraint expected;
    expected.property = L"Value";
    expected.propertyAlias = L"key-7";
    expected.propertyIndex = L"3";
    expected.tag = L"A";
    expected.tolerance = 0.25;
    expected.operator_ = QueryOperator::GreaterOrEqual;
    expected.values = Texts{L"10", L"20"};
    EXPECT_EQ((*converted.constraintFields)[0], expected);

    QueryConstraint objectId;
    objectId.property = L"ObjectID";
    EXPECT_EQ((*converted.constraintFields)[1], objectId);
    EXPECT_EQ((*converted.constraintFields)[2], QueryConstraint{});
}

TEST(ConstraintsConversion, ImpliedConstraintsOfReturnsComeFirst) {
    CSearchQueryData query;
    query.AddConstraintData(Record(CSearchData::SearchCategory, {{L"InternalName", L"cat"}}));
    query.AddReturnsData(Record(CSearchData::SearchProperty, {}, {{L"Value", L"a"}}));
    const ContentQuery converted = Convert(query);
    ASSERT_TRUE(converted.constraintFields.has_value());
    ASSERT_EQ(converted.constraintFields->size(), 2u);
    EXPECT_EQ((*converted.constraintFields)[0].tag, L"constraintTag1");
    EXPECT_EQ((*converted.constraintFields)[1].property, L"Category");
}

TEST(ConstraintsConversion, ToleranceMustBeADecimalNumberWithAPoint) {
    for (const wchar_t* good : {L"1", L"-0.5", L"+2.", L".5", L"1e-3", L"2.5E2"}) {
        CSearchQueryData query;
        query.AddConstraintData(Record(CSearchData::SearchProperty, {{L"Tolerance", good}}));
        EXPECT_TRUE(VardelBridge::ConvertContentQuery(&query, L"en").has_value())
            << testing::PrintToString(good);
    }
    for (const wchar_t* bad : {L"", L"  ", L"0,5", L"1.5mm", L"0x10", L"inf", L"nan", L"1 2"}) {
        CSearchQueryData query;
        query.AddConstraintData(Record(CSearchData::SearchProperty, {{L"Tolerance", bad}}));
        EXPECT_FALSE(VardelBridge::ConvertContentQuery(&query, L"en").has_value())
            << testing::PrintToString(bad);
        EXPECT_EQ(ServerProxiesProvider::CreateContentQuery(&query, L"en"), nullptr);
    }
}

TEST(ContentQueryConversion, EmptyOrNullQueryLeavesBothListsUnset) {
    const CSearchQueryData empty;
    const ContentQuery converted = Convert(empty);
    EXPECT_FALSE(converted.constraintFields.has_value());
    EXPECT_FALSE(converted.returnFields.has_value());
    EXPECT_EQ(converted.lang, L"en");

    const ContentQueryPtr handle(ServerProxiesProvider::CreateContentQuery(nullptr, L"de"));
    ASSERT_NE(handle, nullptr);
    ContentQuery expected;
    expected.lang = L"de";
    EXPECT_EQ(handle->query, expected);
}

TEST(FilterConversion, CopiesFlagsAndContentAndOnlyTheTwoServerPropertyFilters) {
    Vardel::FilterStruct filter;
    filter.SetEmptyFilter();
    filter.filterParts = true;
    filter.filterEmptyCategories = true;
    filter.usePropertyFilters = true;
    filter.categoriesContent = {L"Screws", L"Bolts"};
    filter.propertyFilters[Vardel::Constants::FAM_MANUFACTURER] = {L"Zeta", L"Acme"};
    filter.propertyFilters[Vardel::Constants::FAM_STANDORG] = {L"ISO"};
    filter.propertyFilters[L"CD6C7A72-A28A-4E50-99A9-2C7F4E13E5AD"] = {L"upper-case key"};
    filter.propertyFilters[Vardel::Constants::FAM_DISPLAYNAME] = {L"ignored"};

    const tsp::Content::DBFilter server = VardelBridge::convertFilter(filter);
    EXPECT_EQ(server.filterCategoriesContent, (Texts{L"Bolts", L"Screws"}));
    EXPECT_EQ(server.filterManufacturers, (Texts{L"Acme", L"Zeta"}));
    EXPECT_EQ(server.filterStandardOrgs, Texts{L"ISO"});
    EXPECT_TRUE(server.filterParts);
    EXPECT_FALSE(server.filterFeatures);
    EXPECT_TRUE(server.filterEmptyCategories);
    EXPECT_FALSE(server.filterInvisibleCategories);
}

TEST(FilterConversion, VisibilityKeyAloneChangesNoArray) {
    Vardel::FilterStruct filter;
    filter.filterFeatures = true;
    filter.propertyFilters[Vardel::Constants::FLD_ISVISIBLE] = {L"true"};
    tsp::Content::DBFilter expected;
    expected.filterFeatures = true;
    expected.filterInvisibleCategories = true;
    EXPECT_EQ(VardelBridge::convertFilter(filter), expected);
}

}  // namespace
