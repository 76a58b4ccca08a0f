// Conversion of filters and search queries into the server's objects.
#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
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
using Pairs = std::initializer_list<std::pair<const wchar_t*, const wchar_t*>>;

constexpr wchar_t kObjectIdKeyUpper[] = L"CF1D0246-76D9-4B4A-8305-FA0409AFB5C1";

// A record of `type` with the given attributes, then the given pairs.
CSearchData* Record(CSearchData::ObjectType type, Pairs attributes, Pairs pairs = {}) {
    auto* record = new CSearchData(type);
    for (const auto& [name, value] : attributes) {
        record->AddAttribute(name, value);
    }
    for (const auto& [name, value] : pairs) {
        record->AddProperty(name, value, nullptr);
    }
    return record;
}

// The query of the given returns and constraint records, converted in "en".
ContentQuery Convert(std::initializer_list<CSearchData*> returns,
                     std::initializer_list<CSearchData*> constraints = {}) {
    CSearchQueryData query;
    for (CSearchData* record : returns) {
        query.AddReturnsData(record);
    }
    for (CSearchData* record : constraints) {
        query.AddConstraintData(record);
    }
    const std::optional<ContentQuery> converted = VardelBridge::ConvertContentQuery(&query, L"en");
    EXPECT_TRUE(converted.has_value());
    return converted.value_or(ContentQuery{});
}

QueryReturn Returned(const wchar_t* property, const wchar_t* returnAs) {
    QueryReturn result;
    result.property = property;
    result.returnAs = returnAs;
    return result;
}

QueryConstraint Constrained(const wchar_t* property) {
    QueryConstraint constraint;
    constraint.property = property;
    return constraint;
}

// What a property return's alias `alias` implies: a constraint tagged with
// the query-wide count `n` that references the returned value.
QueryConstraint Reference(int n, const wchar_t* alias, std::optional<std::wstring> key) {
    QueryConstraint constraint = Constrained(L"Value");
    constraint.tag = L"constraintTag" + std::to_wstring(n);
    constraint.propertyAlias = std::move(key);
    constraint.valueReference = alias;
    return constraint;
}

TEST(QueryOperatorTable, MapsEveryTextInAnyCaseAndEverythingElseToEqual) {
    using VardelBridge::GetManagedOperator;
    const std::pair<const wchar_t*, QueryOperator> table[] = {
        {L"!=", QueryOperator::NotEqual}, {L"LiKe", QueryOperator::Like},
        {L"<", QueryOperator::Less},      {L"<=", QueryOperator::LessOrEqual},
        {L">", QueryOperator::Greater},   {L">=", QueryOperator::GreaterOrEqual},
        {L"in", QueryOperator::In},       {L"=", QueryOperator::Equal},
        {L"==", QueryOperator::Equal},    {L"<>", QueryOperator::Equal},
        {L" =", QueryOperator::Equal},    {L"", QueryOperator::Equal},
    };
    for (const auto& [text, expected] : table) {
        EXPECT_EQ(GetManagedOperator(text), expected) << testing::PrintToString(text);
    }
}

TEST(ReturnsConversion, PropertyReturnPairsEachAliasWithATaggedReferencingConstraint) {
    const ContentQuery converted = Convert(
        {Record(CSearchData::SearchProperty, {{L"InternalName", L"key-1"}, {L"Index", L"2"}},
                {{L"Value", L"d1"}, {L"Other", L"x"}, {L"value", L"d2"}})});

    std::vector<QueryReturn> returns{Returned(L"Value", L"d1"), Returned(L"Value", L"d2")};
    for (QueryReturn& expected : returns) {
        expected.referencedAs = expected.returnAs;
        expected.propertyIndex = L"2";
        expected.propertyAlias = L"key-1";
    }
    EXPECT_EQ(converted.returnFields, returns);
    // The implied constraints carry neither the index nor any value of their own.
    EXPECT_EQ(converted.constraintFields,
              (std::vector{Reference(1, L"d1", L"key-1"), Reference(2, L"d2", L"key-1")}));
}

TEST(ReturnsConversion, IdentifierReturnsNeedAnAliasAndTheTagCounterSpansTheQuery) {
    const ContentQuery converted = Convert({
        Record(CSearchData::SearchProperty, {}, {{L"Value", L"a"}}),
        Record(CSearchData::SearchFamily, {},
               {{L"internalname", L"fam"}, {L"InternalName", L"2nd"}}),
        Record(CSearchData::SearchMember, {{L"InternalName", L"attribute"}}, {{L"Value", L"x"}}),
        Record(CSearchData::SearchMember, {}, {{L"InternalName", L"row"}}),
        Record(CSearchData::SearchCategory, {}, {{L"Value", L"ignored"}}),
        Record(CSearchData::SearchNone, {}, {{L"Value", L"ignored"}}),
        Record(CSearchData::SearchProperty, {}, {{L"Value", L"b"}}),
    });

    QueryReturn a = Returned(L"Value", L"a");
    a.referencedAs = L"a";
    QueryReturn b = Returned(L"Value", L"b");
    b.referencedAs = L"b";
    EXPECT_EQ(converted.returnFields,
              (std::vector{a, Returned(L"ObjectID", L"fam"), Returned(L"RowID", L"row"), b}));
    EXPECT_EQ(converted.constraintFields,
              (std::vector{Reference(1, L"a", std::nullopt), Reference(2, L"b", std::nullopt)}));
}

TEST(ConstraintsConversion, CategoryTakesItsValuesOrElseItsInternalName) {
    const ContentQuery converted = Convert(
        {},
        {Record(CSearchData::SearchCategory, {{L"InternalName", L"cat-1"}}),
         Record(CSearchData::SearchCategory, {{L"InternalName", L"cat-2"}, {L"Operator", L"in"}},
                {{L"VALUE", L"c1"}, {L"Value", L"c2"}}),
         Record(CSearchData::SearchCategory, {{L"internalname", L"not the key"}})});

    QueryConstraint byName = Constrained(L"Category");
    byName.value = L"cat-1";
    QueryConstraint byValues = Constrained(L"Category");
    byValues.values = Texts{L"c1", L"c2"};
    byValues.operator_ = QueryOperator::In;
    EXPECT_EQ(converted.constraintFields,
              (std::vector{byName, byValues, Constrained(L"Category")}));
    EXPECT_FALSE(converted.returnFields.has_value());
}

TEST(ConstraintsConversion, PropertyConstraintCarriesEveryAttribute) {
    const ContentQuery converted =
        Convert({}, {Record(CSearchData::SearchProperty,
                            {{L"InternalName", L"key-7"},
                             {L"ReferencedAs", L"A"},
                             {L"Tolerance", L" 0.25 "},
                             {L"Index", L"3"},
                             {L"Operator", L">="},
                             {L"internalname", L"not an attribute key"}},
                            {{L"Value", L"10"}, {L"vAlUe", L"20"}}),
                     Record(CSearchData::SearchProperty, {{L"InternalName", kObjectIdKeyUpper}},
                            {{L"Value", L"0a1b2c3d-0000-0000-0000-000000000000"}}),
                     Record(CSearchData::SearchProperty, {}),
                     Record(CSearchData::SearchFamily, {{L"InternalName", L"x"}}),
                     Record(CSearchData::SearchNone, {{L"InternalName", L"x"}})});

    QueryConstraint full = Constrained(L"Value");
    full.propertyAlias = L"key-7";
    full.propertyIndex = L"3";
    full.tag = L"A";
    full.tolerance = 0.25;
    full.operator_ = QueryOperator::GreaterOrEqual;
    full.values = Texts{L"10", L"20"};
    // A constraint on the object's own identifier names no property key.
    QueryConstraint objectId = Constrained(L"ObjectID");
    objectId.values = Texts{L"0a1b2c3d-0000-0000-0000-000000000000"};
    EXPECT_EQ(converted.constraintFields, (std::vector{full, objectId, QueryConstraint{}}));
}

TEST(ConstraintsConversion, ImpliedConstraintsOfReturnsComeFirst) {
    const ContentQuery converted =
        Convert({Record(CSearchData::SearchProperty, {}, {{L"Value", L"a"}})},
                {Record(CSearchData::SearchCategory, {{L"InternalName", L"cat"}})});
    ASSERT_TRUE(converted.constraintFields.has_value());
    ASSERT_EQ(converted.constraintFields->size(), 2u);
    EXPECT_EQ(converted.constraintFields->front().tag, L"constraintTag1");
    EXPECT_EQ(converted.constraintFields->back().value, L"cat");
}

TEST(ConstraintsConversion, ToleranceMustBeAFiniteDecimalNumberWithAPoint) {
    const auto convertsWith = [](const wchar_t* tolerance) {
        CSearchQueryData query;
        query.AddConstraintData(Record(CSearchData::SearchProperty, {{L"Tolerance", tolerance}}));
        const ContentQueryPtr handle(ServerProxiesProvider::CreateContentQuery(&query, L"en"));
        return handle != nullptr;
    };
    for (const wchar_t* good : {L"1", L"-0.5", L"+2.", L".5", L"1e-3", L"2.5E2", L"1e-400"}) {
        EXPECT_TRUE(convertsWith(good)) << testing::PrintToString(good);
    }
    for (const wchar_t* bad : {L"", L"  ", L"0,5", L"1.5mm", L"0x10", L"inf", L"nan", L"1 2", L"1e",
                               L"1e999", L"-1e999"}) {
        EXPECT_FALSE(convertsWith(bad)) << testing::PrintToString(bad);
    }
}

TEST(ContentQueryConversion, EmptyOrNullQueryLeavesBothListsUnset) {
    ContentQuery expected;
    expected.lang = L"en";
    EXPECT_EQ(Convert({}), expected);
    // Records that convert to nothing leave the lists unset as well.
    EXPECT_EQ(Convert({Record(CSearchData::SearchFamily, {}, {{L"Value", L"no alias"}})},
                      {Record(CSearchData::SearchMember, {{L"InternalName", L"x"}})}),
              expected);

    const ContentQueryPtr handle(ServerProxiesProvider::CreateContentQuery(nullptr, L"de"));
    ASSERT_NE(handle, nullptr);
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
