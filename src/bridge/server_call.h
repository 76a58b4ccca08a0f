// The one border where server failures become statuses. Every bridge
// operation runs its conversions and its service calls inside CallServer,
// which first refuses a context without a security object (E_INVALIDARG,
// before the operation touches any output), then runs the operation and turns
// every exception (the proxy error, or whatever else a host's backend
// throws) into E_FAIL. Whatever the operation wrote to its outputs
// before the error stays there. Without an attached backend every service
// call fails as a failing server would, at the point where it is made.
#pragma once

#include <functional>
#include <memory>
#include <utility>

#include "api/context_impl.h"
#include "vardel/server_backend.h"
#include "vardel/status.h"

namespace VardelBridge {

/// What an operation talks to: the context's security object and the backend.
class ServerSession {
  public:
    ServerSession(const TarnServerProxies::Security::SecurityContext& securityContext,
                  std::shared_ptr<TarnServerProxies::IServerBackend> backend)
        : security(securityContext), backend_(std::move(backend)) {}

    const TarnServerProxies::Security::SecurityContext& security;

    /// The attached backend; throws the proxy error when there is none.
    TarnServerProxies::IServerBackend& backend() const;

  private:
    // Held for the whole request, so a host detaching the backend meanwhile
    // cannot destroy it under the call.
    std::shared_ptr<TarnServerProxies::IServerBackend> backend_;
};

/// Whether a failure's text also goes to the debug output (standard error).
enum class FailureReport { Silent, DebugOutput };

/// Runs `operation` as described above and returns its status, E_INVALIDARG
/// or E_FAIL.
HRESULT CallServer(const ContextImpl& context,
                   const std::function<HRESULT(const ServerSession&)>& operation,
                   FailureReport report = FailureReport::Silent);

}  // namespace VardelBridge
