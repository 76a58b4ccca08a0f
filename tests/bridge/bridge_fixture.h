// Shared set-up of the bridge tests: a scripted backend attached to the
// module runtime for the duration of one test, and library contexts with and
// without a security record.
#pragma once

#include <gtest/gtest.h>

#include <list>
#include <memory>
#include <string>
#include <vector>

#include "api/context_impl.h"
#include "bridge/server_proxies_provider.h"
#include "support/scripted_backend.h"
#include "vardel/app.h"

namespace VardelTest {

using Ids = std::vector<std::wstring>;
using P = ServerProxiesProvider;

/// The GUID of a text that must be one.
inline tsp::Guid G(const wchar_t* text) {
    return tsp::Guid::Parse(text).value();
}

inline Vardel::SSecurityContext TestSecurity() {
    Vardel::SSecurityContext security;
    security.number = 42;
    security.text1 = L"user";
    security.text5 = L"token";
    security.accessOption = 1;
    return security;
}

class BridgeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        CVardelApp::Instance().AttachBackend(backend_);
        ASSERT_EQ(InitContext(context_, nullptr, true), S_OK);
        ASSERT_EQ(InitContext(noSecurity_, nullptr, false), S_OK);
    }
    void TearDown() override { CVardelApp::Instance().AttachBackend(nullptr); }

    static HRESULT InitContext(ContextImpl& context, const Vardel::FilterStruct* filter,
                               bool withSecurity) {
        static const std::list<std::wstring> kLibraries{L"Metric"};
        const Vardel::SSecurityContext security = TestSecurity();
        return context.Initialize(Vardel::LibraryBrowsing, &kLibraries, filter, L"de-DE",
                                  withSecurity ? &security : nullptr, nullptr);
    }

    ScriptedBackend& backend() { return *backend_; }

    std::shared_ptr<ScriptedBackend> backend_ = std::make_shared<ScriptedBackend>();
    ContextImpl context_;
    ContextImpl noSecurity_;
};

}  // namespace VardelTest
