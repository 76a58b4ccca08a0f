#include "bridge/server_call.h"

#include <cstdio>
#include <exception>

#include "vardel/app.h"

namespace VardelBridge {

TarnServerProxies::IServerBackend& ServerSession::backend() const {
    if (backend_ == nullptr) {
        throw TarnServerProxies::ProxyError("no content-server backend is attached");
    }
    return *backend_;
}

HRESULT CallServer(const ContextImpl& context,
                   const std::function<HRESULT(const ServerSession&)>& operation,
                   FailureReport report) {
    const TarnServerProxies::Security::SecurityContext* security = context.GetManSecurityContext();
    if (security == nullptr) {
        return E_INVALIDARG;
    }
    try {
        return operation(ServerSession(*security, CVardelApp::Instance().GetBackend()));
    } catch (const std::exception& error) {
        // The proxy error, and anything else a host's backend may throw: the
        // browsing face never lets an exception reach the host.
        if (report == FailureReport::DebugOutput) {
            std::fprintf(stderr, "vardel: server request failed: %s\n", error.what());
        }
        return E_FAIL;
    } catch (...) {
        if (report == FailureReport::DebugOutput) {
            std::fprintf(stderr, "vardel: server request failed\n");
        }
        return E_FAIL;
    }
}

}  // namespace VardelBridge
