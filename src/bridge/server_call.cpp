#include "bridge/server_call.h"

#include <cstdio>
#include <memory>

#include "vardel/app.h"

namespace VardelBridge {

HRESULT CallServer(const ContextImpl& context,
                   const std::function<HRESULT(const ServerSession&)>& operation,
                   FailureReport report) {
    const TarnServerProxies::Security::SecurityContext* security = context.GetManSecurityContext();
    if (security == nullptr) {
        return E_INVALIDARG;
    }
    try {
        // Held for the whole call, so a host detaching the backend meanwhile
        // cannot destroy it under the request.
        const std::shared_ptr<TarnServerProxies::IServerBackend> backend =
            CVardelApp::Instance().GetBackend();
        if (backend == nullptr) {
            throw TarnServerProxies::ProxyError("no content-server backend is attached");
        }
        return operation(ServerSession{*security, *backend});
    } catch (const TarnServerProxies::ProxyError& error) {
        if (report == FailureReport::DebugOutput) {
            std::fprintf(stderr, "vardel: server request failed: %s\n", error.what());
        }
        return E_FAIL;
    }
}

}  // namespace VardelBridge
