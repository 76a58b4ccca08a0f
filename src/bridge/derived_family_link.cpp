// The derived-family link aspect: a small XML text naming the library and
// the family a derived family was made from. Servers send it as UTF-8 bytes,
// sometimes with a byte-order mark or other bytes before the root element,
// so a text that does not load is tried again from its first "<".
#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "bridge/guid_text.h"
#include "bridge/server_call.h"
#include "bridge/server_proxies_provider.h"
#include "common/utf8.h"
#include "vardel/xml_parser.h"

namespace {

std::wstring DecodeFrom(const std::vector<std::uint8_t>& bytes, std::size_t start) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return VardelCommon::FromUtf8(text.substr(start));
}

}  // namespace

HRESULT ServerProxiesProvider::GetDerivedFamilyLinkNamesOffline(
    const ContextImpl& context, const std::wstring& library, const std::wstring& familyId,
    Vardel::DerivedFamilyLinkNames& names) {
    std::vector<std::uint8_t> bytes;
    const HRESULT called =
        VardelBridge::CallServer(context, [&](const VardelBridge::ServerSession& server) {
            server.backend().GetFamilyAspect(server.security, library,
                                             VardelBridge::GuidIn(familyId),
                                             L"DerivedFamilyLinkAspect", L"", bytes);
            return S_OK;
        });
    if (called != S_OK)
        return called;
    if (bytes.empty())
        return E_FAIL;
    std::wstring text = DecodeFrom(bytes, 0);
    if (text.empty())
        return E_FAIL;

    XMLParser aspect;
    aspect.CreateXmlDocument(L"UTF-16");
    if (!aspect.SetXml(text.c_str())) {
        const auto firstTag = std::find(bytes.begin(), bytes.end(), std::uint8_t{'<'});
        const std::size_t start =
            firstTag == bytes.end() ? 0 : static_cast<std::size_t>(firstTag - bytes.begin());
        text = DecodeFrom(bytes, start);
        if (text.empty())
            return E_FAIL;
        // A second failure leaves an empty document: both names read empty.
        aspect.SetXml(text.c_str());
    }
    const XMLNode root = aspect.GetRootNode();
    root.GetProperty(L"ParentLibraryName", names.parentLibraryName);
    root.GetProperty(L"ParentFamilyName", names.parentFamilyName);
    return S_OK;
}
