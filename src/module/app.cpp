#include "vardel/app.h"

#include <utility>

#include "vardel/version.h"

CVardelApp& CVardelApp::Instance() {
    static CVardelApp app;
    return app;
}

void CVardelApp::AttachBackend(std::shared_ptr<TarnServerProxies::IServerBackend> backend) {
    backend_ = std::move(backend);
}

std::shared_ptr<TarnServerProxies::IServerBackend> CVardelApp::GetBackend() const {
    return backend_;
}

const char* CVardelApp::Version() { return VARDEL_VERSION; }
