#include "vardel/server_backend.h"

namespace TarnServerProxies {

// Defined out of line so the interface has one home for its vtable.
IServerBackend::~IServerBackend() = default;

}  // namespace TarnServerProxies
