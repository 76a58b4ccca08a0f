// The exported lookups of a node's libraries and of a derived family's parent.
#include "api/browse_id_impl.h"
#include "api/context_impl.h"
#include "bridge/server_proxies_provider.h"
#include "browse/library_navigation.h"
#include "vardel/browsing.h"

namespace Vardel {
namespace {

// Whether a context of `type` tells the library of a node of `kind`.
bool TellsLibrary(BrowsingStructureType type, EBrowseItemType kind) {
    const bool libraryNode =
        kind == BrowseCategory || kind == BrowseFamily || kind == BrowseFamilyMember;
    return libraryNode || (kind == BrowseCategoryParameter && type != FavoritesBrowsing);
}

}  // namespace

HRESULT GetLibraries(const CContext* ctx, const CBrowseId& id,
                     std::vector<std::wstring>& libraries) {
    const ContextImpl* context = VardelUtils::FindContextImpl(ctx);
    if (context == nullptr || id.IsNULL()) {
        return E_INVALIDARG;
    }
    if (context->GetBrowsingType() != LibraryBrowsing) {
        return E_FAIL;
    }
    const std::vector<std::wstring>* found = VardelBrowse::FolderLibraries(id);
    if (found == nullptr) {
        return E_INVALIDARG;
    }
    libraries = *found;
    return S_OK;
}

HRESULT GetLibrary(const CContext* ctx, const CBrowseId& id, std::wstring& library) {
    const ContextImpl* context = VardelUtils::FindContextImpl(ctx);
    const CBrowseIdBaseImpl* node = VardelUtils::BrowseIdAccess::GetImpl(id);
    if (context == nullptr || node == nullptr) {
        return E_INVALIDARG;
    }
    if (!TellsLibrary(context->GetBrowsingType(), node->GetBrowseItemType())) {
        return E_INVALIDARG;
    }
    library = node->GetLibraryName();
    return S_OK;
}

HRESULT GetDerivedFamilyLinkNameOffline(const CContext* ctx, const CBrowseId& id,
                                        DerivedFamilyLinkNames& names) {
    const ContextImpl* context = VardelUtils::FindContextImpl(ctx);
    if (context == nullptr) {
        return E_INVALIDARG;
    }
    std::wstring library;
    if (GetLibrary(ctx, id, library) != S_OK) {
        return E_FAIL;
    }
    if (context->GetBrowsingType() == FavoritesBrowsing) {
        return E_INVALIDARG;
    }
    return ServerProxiesProvider::GetDerivedFamilyLinkNamesOffline(*context, library,
                                                                   id.GetInternalName(), names);
}

}  // namespace Vardel
