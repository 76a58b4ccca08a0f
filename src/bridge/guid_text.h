// Node identifiers cross the server bridge as GUID texts. Going in, a text is
// parsed in any case, with or without braces; a text that is not a GUID fails
// the request exactly as a failing server would (it throws the proxy error,
// which the bridge's one handler turns into E_FAIL). Coming back, every GUID
// is written lower-case, 8-4-4-4-12, without braces, the form callers compare.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "vardel/server_proxies.h"

namespace VardelBridge {

/// The GUID written in `text`; throws TarnServerProxies::ProxyError otherwise.
TarnServerProxies::Guid GuidIn(std::wstring_view text);

/// The GUIDs of `texts` (wide strings or views), in order; throws like
/// GuidIn on the first bad text.
template <class Texts>
std::vector<TarnServerProxies::Guid> GuidsIn(const Texts& texts) {
    std::vector<TarnServerProxies::Guid> guids;
    guids.reserve(texts.size());
    for (const auto& text : texts) {
        guids.push_back(GuidIn(text));
    }
    return guids;
}

/// The text form of `guid`: lower-case, 36 characters.
std::wstring GuidOut(const TarnServerProxies::Guid& guid);

/// Appends the text form of each of `guids` to `out`, in order.
void AppendGuidTexts(const std::vector<TarnServerProxies::Guid>& guids,
                     std::vector<std::wstring>& out);

}  // namespace VardelBridge
