// The module runtime: one application object per process that holds the
// content-server backend the host attached. The library reads no
// configuration of its own; until a backend is attached every server request
// fails as a failing server would.
//
// Attach or detach the backend while no browsing call is running (typically
// once at start-up); calls in flight keep the backend they started with alive.
#pragma once

#include <memory>

#include "vardel/export.h"
#include "vardel/server_backend.h"

class VARDEL_API CVardelApp {
  public:
    /// The process's application object, created on first use.
    static CVardelApp& Instance();

    /// Makes `backend` the content server of every later request; null detaches.
    void AttachBackend(std::shared_ptr<TarnServerProxies::IServerBackend> backend);

    /// The attached backend, or null when none is attached.
    std::shared_ptr<TarnServerProxies::IServerBackend> GetBackend() const;

    /// The library's version text, for example "0.1.0".
    static const char* Version();

    CVardelApp(const CVardelApp&) = delete;
    CVardelApp& operator=(const CVardelApp&) = delete;

  private:
    CVardelApp() = default;

    std::shared_ptr<TarnServerProxies::IServerBackend> backend_;
};
