#include "bridge/guid_text.h"

#include "common/utf8.h"

namespace VardelBridge {

TarnServerProxies::Guid GuidIn(std::wstring_view text) {
    const std::optional<TarnServerProxies::Guid> guid = TarnServerProxies::Guid::Parse(text);
    if (!guid) {
        throw TarnServerProxies::ProxyError("not a GUID: \"" + VardelCommon::ToUtf8(text) + "\"");
    }
    return *guid;
}

std::wstring GuidOut(const TarnServerProxies::Guid& guid) {
    return guid.ToString();
}

void AppendGuidTexts(const std::vector<TarnServerProxies::Guid>& guids,
                     std::vector<std::wstring>& out) {
    out.reserve(out.size() + guids.size());
    for (const TarnServerProxies::Guid& guid : guids) {
        out.push_back(GuidOut(guid));
    }
}

}  // namespace VardelBridge
