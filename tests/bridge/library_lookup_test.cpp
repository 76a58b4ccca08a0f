// Library names by ids and ids by names through the server bridge.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bridge_fixture.h"

namespace VardelTest {
namespace {

constexpr wchar_t kPartition[] = L"99999999-0000-0000-0000-000000000000";
constexpr wchar_t kMetricUpper[] = L"ABCDEF01-0000-0000-0000-00000000000A";
constexpr wchar_t kMetric[] = L"abcdef01-0000-0000-0000-00000000000a";
constexpr wchar_t kImperial[] = L"abcdef01-0000-0000-0000-00000000000b";

TEST_F(BridgeTest, LibraryNamesAreAppendedInServerOrderFromTheCurrentPartition) {
    backend().Script(Method::CurrentPartitionId, Reply::Id(G(kPartition)));
    backend().Script(Method::FindKnowledgeLibraries,
                     Reply::Libraries({{L"Imperial", G(kImperial)}, {L"Metric", G(kMetric)}}));
    Ids names{L"Earlier"};
    ASSERT_EQ(P::GetLibraryNamesByLibraryIds(context_, {kMetricUpper, kImperial}, names), S_OK);
    EXPECT_EQ(names, (Ids{L"Earlier", L"Imperial", L"Metric"}));

    ASSERT_EQ(backend().Calls().size(), 2u);
    EXPECT_EQ(backend().Calls()[1].nodes, (std::vector<tsp::Guid>{G(kMetric), G(kImperial)}));
    EXPECT_EQ(backend().Calls()[1].partition, G(kPartition));
}

TEST_F(BridgeTest, LibraryNameLookupFailuresAreReportedAsFailures) {
    Ids names{L"Earlier"};
    EXPECT_EQ(P::GetLibraryNamesByLibraryIds(noSecurity_, {kMetric}, names), E_INVALIDARG);
    // A name where an id belongs fails the whole request before any call.
    EXPECT_EQ(P::GetLibraryNamesByLibraryIds(context_, {kMetric, L"Imperial"}, names), E_FAIL);
    EXPECT_TRUE(backend().Calls().empty());

    backend().Fail(Method::CurrentPartitionId);
    EXPECT_EQ(P::GetLibraryNamesByLibraryIds(context_, {kMetric}, names), E_FAIL);
    ASSERT_EQ(backend().Calls().size(), 1u);  // no lookup without a partition

    backend().Fail(Method::FindKnowledgeLibraries);
    EXPECT_EQ(P::GetLibraryNamesByLibraryIds(context_, {kMetric}, names), E_FAIL);
    EXPECT_EQ(names, Ids{L"Earlier"});
}

TEST_F(BridgeTest, LibraryIdsAreAppendedAsLowerCaseTexts) {
    backend().Script(Method::FindKnowledgeLibrariesByNames,
                     Reply::Libraries({{L"Metric", G(kMetricUpper)}, {L"Imperial", G(kImperial)}}));
    Ids ids{L"earlier"};
    ASSERT_EQ(P::GetLibraryIdsByLibraryNames(context_, {L"Metric", L"Imperial"}, ids), S_OK);
    EXPECT_EQ(ids, (Ids{L"earlier", kMetric, kImperial}));
    EXPECT_EQ(backend().OnlyCall().names, (Ids{L"Metric", L"Imperial"}));
}

TEST_F(BridgeTest, LibraryIdLookupFailuresKeepTheIdsBeforeThem) {
    Ids ids{L"earlier"};
    EXPECT_EQ(P::GetLibraryIdsByLibraryNames(noSecurity_, {L"Metric"}, ids), E_INVALIDARG);
    EXPECT_TRUE(backend().Calls().empty());

    // An unknown name stops the walk; the ids found before it stay appended.
    const tsp::KnowledgeLibrary unknown{L"Nowhere", tsp::Guid{}};
    backend().Script(
        Method::FindKnowledgeLibrariesByNames,
        Reply::Libraries({{L"Metric", G(kMetric)}, unknown, {L"Imperial", G(kImperial)}}));
    backend().Script(Method::FindKnowledgeLibrariesByNames,
                     Reply::Libraries({unknown, {L"Metric", G(kMetric)}}));
    EXPECT_EQ(P::GetLibraryIdsByLibraryNames(context_, {L"Metric", L"Nowhere", L"Imperial"}, ids),
              E_INVALIDARG);
    EXPECT_EQ(ids, (Ids{L"earlier", kMetric}));
    EXPECT_EQ(P::GetLibraryIdsByLibraryNames(context_, {L"Nowhere", L"Metric"}, ids), E_INVALIDARG);
    backend().Fail(Method::FindKnowledgeLibrariesByNames);
    EXPECT_EQ(P::GetLibraryIdsByLibraryNames(context_, {L"Metric"}, ids), E_FAIL);
    EXPECT_EQ(ids, (Ids{L"earlier", kMetric}));
}

}  // namespace
}  // namespace VardelTest
