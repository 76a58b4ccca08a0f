#include <memory>

#include <gtest/gtest.h>

#include "support/mock_backend.h"
#include "vardel/app.h"
#include "vardel/version.h"

namespace {

using ::testing::Throw;
using VardelTest::MockBackend;
namespace tsp = TarnServerProxies;

class VardelAppTest : public ::testing::Test {
protected:
    void TearDown() override { CVardelApp::Instance().AttachBackend(nullptr); }
};

TEST_F(VardelAppTest, HoldsTheAttachedBackendUntilDetached) {
    auto backend = std::make_shared<MockBackend>();
    CVardelApp::Instance().AttachBackend(backend);
    EXPECT_EQ(CVardelApp::Instance().GetBackend(), backend);

    CVardelApp::Instance().AttachBackend(nullptr);
    EXPECT_EQ(CVardelApp::Instance().GetBackend(), nullptr);
    EXPECT_EQ(backend.use_count(), 1);
}

TEST_F(VardelAppTest, CallInFlightKeepsReplacedBackendAlive) {
    auto first = std::make_shared<MockBackend>();
    std::weak_ptr<MockBackend> watch = first;
    CVardelApp::Instance().AttachBackend(std::move(first));

    auto inFlight = CVardelApp::Instance().GetBackend();
    CVardelApp::Instance().AttachBackend(std::make_shared<MockBackend>());
    EXPECT_FALSE(watch.expired());
    inFlight.reset();
    EXPECT_TRUE(watch.expired());
}

TEST_F(VardelAppTest, BackendFailuresArriveAsProxyErrors) {
    auto backend = std::make_shared<MockBackend>();
    EXPECT_CALL(*backend, CurrentPartitionId()).WillOnce(Throw(tsp::ProxyError("server down")));
    CVardelApp::Instance().AttachBackend(backend);

    try {
        CVardelApp::Instance().GetBackend()->CurrentPartitionId();
        FAIL() << "no error thrown";
    } catch (const tsp::ProxyError& error) {
        EXPECT_STREQ(error.what(), "server down");
    }
}

TEST(VardelVersion, MatchesTheBuiltVersion) { EXPECT_STREQ(CVardelApp::Version(), VARDEL_VERSION); }

TEST(SecurityContext, KeepsItsTextsInOrderAndRefusesOtherIndexes) {
    const tsp::Security::SecurityContext security(
        -7, L"a", L"b", L"c", L"d", L"e", tsp::Security::SecurityContext::AccessOptionEnum::Option1);
    EXPECT_EQ(security.Number(), -7);
    EXPECT_EQ(security.Text(1), L"a");
    EXPECT_EQ(security.Text(5), L"e");
    EXPECT_EQ(security.Text(0), L"");
    EXPECT_EQ(security.Text(6), L"");
    EXPECT_EQ(security.AccessOption(), tsp::Security::SecurityContext::AccessOptionEnum::Option1);
}

}  // namespace
