// The server filter of navigation requests, made anew from the context's
// FilterStruct for every roots, sub-folders and child-items request. Only the
// manufacturer and standards-organisation entries of the property filters
// reach the server; the other property filters, and whether property filters
// are used at all, are applied on the client side.
#pragma once

#include "vardel/context.h"
#include "vardel/server_proxies.h"

namespace VardelBridge {

/// The DBFilter that `filter` sends to the server.
TarnServerProxies::Content::DBFilter convertFilter(const Vardel::FilterStruct& filter);

}  // namespace VardelBridge
