// Property values, category trees and searches through the server bridge.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "bridge_fixture.h"

namespace VardelTest {
namespace {

using Values = std::vector<Vardel::ReturnValue>;

constexpr wchar_t kNode1[] = L"AAAAAAAA-0000-0000-0000-000000000001";
constexpr wchar_t kNode2[] = L"aaaaaaaa-0000-0000-0000-000000000002";
constexpr wchar_t kKey[] = L"05415F3D-3907-474B-A020-EB9D644F4CF3";

using PropertyOperation = HRESULT (*)(const ContextImpl&, const std::vector<std::wstring_view>&,
                                      const Ids&, const std::wstring&, Values&);

struct PropertyCase {
    const char* name;
    Method method;
    PropertyOperation run;
};

class PropertyValuesTest : public BridgeTest, public ::testing::WithParamInterface<PropertyCase> {};

TEST_P(PropertyValuesTest, OneResultPerAnswerInServerOrderAndEmptyOrNullIsNoValue) {
    backend().Script(GetParam().method, Reply::Values({L"M8", L"", L"steel", std::nullopt}));
    Values values(3);  // cleared first
    ASSERT_EQ(GetParam().run(context_, {kNode1, kNode2}, {kKey, kKey}, L"Metric", values), S_OK);
    ASSERT_EQ(values.size(), 4u);
    EXPECT_EQ(values[0].GetErrorCode(), Vardel::NoError);
    EXPECT_STREQ(values[0], L"M8");
    EXPECT_EQ(values[1].GetErrorCode(), Vardel::NoValue);
    EXPECT_STREQ(values[2], L"steel");
    EXPECT_EQ(values[3].GetErrorCode(), Vardel::NoValue);

    const RecordedCall& call = backend().OnlyCall();
    EXPECT_EQ(call.library, L"Metric");
    EXPECT_EQ(call.language, L"de-DE");
    EXPECT_EQ(call.nodes, (std::vector<tsp::Guid>{G(kNode1), G(kNode2)}));
    EXPECT_EQ(call.keys, (std::vector<tsp::Guid>{G(kKey), G(kKey)}));
}

TEST_P(PropertyValuesTest, FailuresLeaveTheOutputClearedAndRefusalLeavesItAlone) {
    Values values(2);
    EXPECT_EQ(GetParam().run(noSecurity_, {kNode1}, {kKey}, L"Metric", values), E_INVALIDARG);
    EXPECT_EQ(values.size(), 2u);

    // One text that is no GUID, among good ones, fails the request before the server sees it.
    EXPECT_EQ(GetParam().run(context_, {kNode1, L"node-2", kNode2}, {kKey}, L"Metric", values),
              E_FAIL);
    EXPECT_TRUE(values.empty());
    values.resize(1);
    EXPECT_EQ(GetParam().run(context_, {kNode1}, {kKey, L"FAM_DISPLAYNAME"}, L"Metric", values),
              E_FAIL);
    EXPECT_TRUE(values.empty());
    EXPECT_TRUE(backend().Calls().empty());

    backend().Fail(GetParam().method);
    values.resize(1);
    EXPECT_EQ(GetParam().run(context_, {kNode1}, {kKey}, L"Metric", values), E_FAIL);
    EXPECT_TRUE(values.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Readers, PropertyValuesTest,
    ::testing::Values(
        PropertyCase{"Category", Method::GetCategoryPropertyValues, &P::GetCategoryPropertyValues},
        PropertyCase{"Family", Method::GetFamilyPropertyValues, &P::GetFamilyPropertyValues},
        PropertyCase{"CategoryParameter", Method::GetCategoryParameterPropertyValues,
                     &P::GetCategoryParameterPropertyValues}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(BridgeTest, CategoryTreeIsAssignedAndAnEmptyAnswerFailsLeavingTheOutput) {
    backend().Script(Method::GetCategoryTreeByFamily, Reply::Text(L"<tree/>"));
    backend().Script(Method::GetCategoryTreeByFamily, Reply::Text(L""));
    std::wstring xml = L"old";
    ASSERT_EQ(P::GetCategoryTreeByFamily(context_, L"Metric", kNode1, 3, xml), S_OK);
    EXPECT_EQ(xml, L"<tree/>");
    EXPECT_EQ(P::GetCategoryTreeByFamily(context_, L"Metric", kNode1, 3, xml), E_FAIL);
    EXPECT_EQ(xml, L"<tree/>");

    const RecordedCall& call = backend().Calls().front();
    EXPECT_EQ(call.nodes, std::vector<tsp::Guid>{G(kNode1)});
    EXPECT_EQ(call.treeType, 3);
    EXPECT_EQ(call.language, L"de-DE");

    backend().Fail(Method::GetCategoryTreeByFamily);
    EXPECT_EQ(P::GetCategoryTreeByFamily(context_, L"Metric", kNode1, 3, xml), E_FAIL);
    EXPECT_EQ(P::GetCategoryTreeByFamily(noSecurity_, L"Metric", kNode1, 3, xml), E_INVALIDARG);
    EXPECT_EQ(xml, L"<tree/>");
}

TEST_F(BridgeTest, SearchSendsTheConvertedQueryAndFlagAndAssignsTheAnswer) {
    Vardel::CSearchQueryData query;
    auto* family = new Vardel::CSearchData(Vardel::CSearchData::SearchFamily);
    family->AddProperty(L"InternalName", L"famId", nullptr);
    query.AddReturnsData(family);
    const ContentQueryPtr handle(P::CreateContentQuery(&query, L"fr"));
    ASSERT_NE(handle, nullptr);

    backend().Script(Method::Search, Reply::Text(L"<results/>"));
    std::wstring xml = L"old";
    ASSERT_EQ(P::Search(context_, L"Metric", false, handle.get(), xml), S_OK);
    EXPECT_EQ(xml, L"<results/>");
    const RecordedCall& call = backend().OnlyCall();
    EXPECT_EQ(call.flag, false);
    ASSERT_TRUE(call.query.has_value());
    EXPECT_EQ(*call.query, handle->query);
    EXPECT_EQ(call.query->lang, L"fr");
}

TEST_F(BridgeTest, SearchFailuresAndAQueryThatCouldNotBeConverted) {
    Vardel::CSearchQueryData query;
    auto* constraint = new Vardel::CSearchData(Vardel::CSearchData::SearchProperty);
    constraint->AddAttribute(L"Tolerance", L"a little");
    query.AddConstraintData(constraint);
    const ContentQueryPtr unconvertible(P::CreateContentQuery(&query, L"en"));
    EXPECT_EQ(unconvertible, nullptr);

    std::wstring xml = L"old";
    EXPECT_EQ(P::Search(context_, L"Metric", true, unconvertible.get(), xml), E_FAIL);
    EXPECT_TRUE(backend().Calls().empty());

    const ContentQueryPtr empty(P::CreateContentQuery(nullptr, L"en"));
    backend().Fail(Method::Search);
    EXPECT_EQ(P::Search(context_, L"Metric", true, empty.get(), xml), E_FAIL);
    EXPECT_EQ(P::Search(noSecurity_, L"Metric", true, empty.get(), xml), E_INVALIDARG);
    EXPECT_EQ(xml, L"old");
    P::DeleteContentQuery(nullptr);
}

}  // namespace
}  // namespace VardelTest
