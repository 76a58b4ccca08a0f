// The one border where server failures become statuses. Every bridge
// operation runs its conversions and its service calls inside CallServer,
// which first refuses a context without a security object (E_INVALIDARG,
// before the operation touches any output), then runs the operation against
// the attached backend and turns every proxy error into E_FAIL. Whatever the
// operation wrote to its outputs before the error stays there. Without an
// attached backend every request fails as a failing server would.
#pragma once

#include <functional>

#include "api/context_impl.h"
#include "vardel/server_backend.h"
#include "vardel/status.h"

namespace VardelBridge {

/// What an operation talks to: the context's security object and the backend.
struct ServerSession {
    const TarnServerProxies::Security::SecurityContext& security;
    TarnServerProxies::IServerBackend& backend;
};

/// Whether a failure's text also goes to the debug output (standard error).
enum class FailureReport { Silent, DebugOutput };

/// Runs `operation` as described above and returns its status, E_INVALIDARG
/// or E_FAIL.
HRESULT CallServer(const ContextImpl& context,
                   const std::function<HRESULT(const ServerSession&)>& operation,
                   FailureReport report = FailureReport::Silent);

}  // namespace VardelBridge
