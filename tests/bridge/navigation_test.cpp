// Identifier-list operations of the server bridge: what each sends, how it
// treats its output, and how it fails.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "bridge/filter_conversion.h"
#include "bridge_fixture.h"
#include "vardel/constants.h"

namespace VardelTest {
namespace {

constexpr wchar_t kUpperId[] = L"{0A1B2C3D-4E5F-6A7B-8C9D-AEBFC0D1E2F3}";
constexpr wchar_t kLowerId[] = L"0a1b2c3d-4e5f-6a7b-8c9d-aebfc0d1e2f3";
constexpr wchar_t kOtherId[] = L"ffffffff-0000-0000-0000-000000000001";

// One operation that answers an identifier list, run with `id` as its node
// argument (ignored by the operations that take none).
struct IdListOperation {
    const char* name;
    Method method;
    bool clears;
    bool takesId;
    std::function<HRESULT(const ContextImpl&, const std::wstring& id, Ids&)> run;
};

const IdListOperation kOperations[] = {
    {"GetFoldersRoots", Method::GetCategoryRoots, true, false,
     [](const ContextImpl& c, const std::wstring&, Ids& ids) {
         return P::GetFoldersRoots(c, L"Metric", ids);
     }},
    {"GetSubFolders", Method::GetCategoriesByParent, false, true,
     [](const ContextImpl& c, const std::wstring& id, Ids& ids) {
         return P::GetSubFolders(c, L"Metric", id, ids, true);
     }},
    {"GetChildItems", Method::GetFamiliesByCategory, true, true,
     [](const ContextImpl& c, const std::wstring& id, Ids& ids) {
         return P::GetChildItems(c, L"Metric", id, ids);
     }},
    {"GetCategoriesByFamily", Method::GetCategoriesByFamily, false, true,
     [](const ContextImpl& c, const std::wstring& id, Ids& ids) {
         return P::GetCategoriesByFamily(c, L"Metric", id, ids);
     }},
    {"GetAllFamilies", Method::GetAllFamilies, false, false,
     [](const ContextImpl& c, const std::wstring&, Ids& ids) {
         return P::GetAllFamilies(c, L"Metric", ids);
     }},
    {"GetCategoryParametersByCategory", Method::GetCategoryParametersByCategory, true, true,
     [](const ContextImpl& c, const std::wstring& id, Ids& ids) {
         return P::GetCategoryParametersByCategory(c, id, L"Metric", ids, false);
     }},
    {"GetCategoryParametersByParameter", Method::GetCategoryParametersByParameter, true, true,
     [](const ContextImpl& c, const std::wstring& id, Ids& ids) {
         return P::GetCategoryParametersByParameter(c, id, L"Metric", ids);
     }},
};

void PrintTo(const IdListOperation& operation, std::ostream* os) {
    *os << operation.name;
}

class IdListTest : public BridgeTest, public ::testing::WithParamInterface<IdListOperation> {
  protected:
    HRESULT Run(const ContextImpl& context, Ids& ids, const std::wstring& id = kUpperId) {
        return GetParam().run(context, id, ids);
    }
    // What `ids` holds after a successful answer when it held `before`.
    Ids Expected(Ids before, const Ids& answer) const {
        if (GetParam().clears) {
            before.clear();
        }
        before.insert(before.end(), answer.begin(), answer.end());
        return before;
    }
};

TEST_P(IdListTest, AnswersLowerCaseTextsClearingOrAppendingAsTheOperationDoes) {
    backend().Script(GetParam().method, Reply::Ids({G(kUpperId), G(kOtherId)}));
    Ids ids{L"kept?"};
    ASSERT_EQ(Run(context_, ids), S_OK);
    EXPECT_EQ(ids, Expected({L"kept?"}, {kLowerId, kOtherId}));

    const RecordedCall& call = backend().OnlyCall();
    EXPECT_EQ(call.library, L"Metric");
    EXPECT_EQ(call.security, *context_.GetManSecurityContext());
    if (GetParam().takesId) {
        EXPECT_EQ(call.nodes, std::vector<tsp::Guid>{G(kLowerId)});
    }
}

TEST_P(IdListTest, RefusedContextAndMissingBackendFail) {
    Ids ids{L"earlier"};
    EXPECT_EQ(Run(noSecurity_, ids), E_INVALIDARG);
    EXPECT_EQ(ids, Ids{L"earlier"});  // refused before the output is touched
    EXPECT_TRUE(backend().Calls().empty());
    CVardelApp::Instance().AttachBackend(nullptr);
    EXPECT_EQ(Run(context_, ids), E_FAIL);
    EXPECT_EQ(ids, Expected({L"earlier"}, {}));
}

TEST_P(IdListTest, FailureInTheMiddleOfAWalkKeepsWhatTheOutputHeld) {
    backend()
        .Script(GetParam().method, Reply::Ids({G(kOtherId)}))
        .Fail(GetParam().method)
        .Script(GetParam().method, Reply::Ids({G(kUpperId)}));
    Ids ids;
    ASSERT_EQ(Run(context_, ids), S_OK);
    EXPECT_EQ(Run(context_, ids), E_FAIL);
    // A clearing operation has cleared before the server failed.
    const Ids afterFailure = Expected({kOtherId}, {});
    EXPECT_EQ(ids, afterFailure);
    ASSERT_EQ(Run(context_, ids), S_OK);
    EXPECT_EQ(ids, Expected(afterFailure, {kLowerId}));
    EXPECT_EQ(backend().Calls().size(), 3u);
}

INSTANTIATE_TEST_SUITE_P(Operations, IdListTest, ::testing::ValuesIn(kOperations),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(BridgeTest, IdentifierThatIsNoGuidFailsLikeTheServerWithoutCallingIt) {
    for (const IdListOperation& operation : kOperations) {
        if (!operation.takesId) {
            continue;
        }
        for (const wchar_t* bad : {L"", L"not-a-guid", L"0a1b2c3d4e5f6a7b8c9daebfc0d1e2f3",
                                   L"{0a1b2c3d-4e5f-6a7b-8c9d-aebfc0d1e2f3"}) {
            Ids ids{L"x"};
            EXPECT_EQ(operation.run(context_, bad, ids), E_FAIL)
                << operation.name << " with " << testing::PrintToString(bad);
            EXPECT_EQ(ids, operation.clears ? Ids{} : Ids{L"x"}) << operation.name;
        }
    }
    EXPECT_TRUE(backend().Calls().empty());
}

TEST_F(BridgeTest, NavigationSendsTheContextsFilterConvertedAnewEachTime) {
    Ids ids;
    // Without a filter the default one goes out: it hides invisible categories.
    ASSERT_EQ(P::GetFoldersRoots(context_, L"Metric", ids), S_OK);
    ASSERT_TRUE(backend().Calls().back().filter.has_value());
    EXPECT_EQ(*backend().Calls().back().filter,
              VardelBridge::convertFilter(Vardel::FilterStruct()));
    EXPECT_TRUE(backend().Calls().back().filter->filterInvisibleCategories);

    Vardel::FilterStruct filter;
    filter.filterParts = true;
    filter.propertyFilters[Vardel::Constants::FAM_MANUFACTURER] = {L"Acme"};
    context_.SetFilter(&filter);
    ASSERT_EQ(P::GetSubFolders(context_, L"Metric", kLowerId, ids, false), S_OK);
    ASSERT_EQ(P::GetChildItems(context_, L"Metric", kLowerId, ids), S_OK);
    for (std::size_t i = 1; i < 3; ++i) {
        const RecordedCall& call = backend().Calls()[i];
        ASSERT_TRUE(call.filter.has_value()) << i;
        EXPECT_TRUE(call.filter->filterParts);
        EXPECT_EQ(call.filter->filterManufacturers, Ids{L"Acme"});
    }
    EXPECT_EQ(backend().Calls()[1].flag, false);  // the caller's flag, not a fixed one
}

TEST_F(BridgeTest, ParentOfARootCategoryIsEmptyAndOfOthersTheLowerCaseText) {
    backend().Script(Method::GetParentCategory, Reply::Id(tsp::Guid{}));
    backend().Script(Method::GetParentCategory, Reply::Id(G(kUpperId)));
    std::wstring parent = L"stale";
    ASSERT_EQ(P::GetParentCategory(context_, L"Metric", kOtherId, parent), S_OK);
    EXPECT_EQ(parent, L"");
    ASSERT_EQ(P::GetParentCategory(context_, L"Metric", kOtherId, parent), S_OK);
    EXPECT_EQ(parent, kLowerId);
    EXPECT_EQ(backend().Calls().back().nodes, std::vector<tsp::Guid>{G(kOtherId)});
}

TEST_F(BridgeTest, OnlyParentCategoryFailuresReachTheDebugOutput) {
    backend().Fail(Method::GetParentCategory, "category vanished");
    std::wstring parent = L"untouched";
    testing::internal::CaptureStderr();
    const HRESULT status = P::GetParentCategory(context_, L"Metric", kOtherId, parent);
    const std::string debugOutput = testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, E_FAIL);
    EXPECT_EQ(parent, L"untouched");
    EXPECT_NE(debugOutput.find("category vanished"), std::string::npos) << debugOutput;

    EXPECT_EQ(P::GetParentCategory(noSecurity_, L"Metric", kOtherId, parent), E_INVALIDARG);
    EXPECT_EQ(parent, L"untouched");

    backend().Fail(Method::GetAllFamilies, "quiet");
    Ids ids;
    testing::internal::CaptureStderr();
    EXPECT_EQ(P::GetAllFamilies(context_, L"Metric", ids), E_FAIL);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

}  // namespace
}  // namespace VardelTest
