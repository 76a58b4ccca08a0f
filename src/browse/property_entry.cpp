// The exported property readers and category-parameter lookups: check the
// context and the node, then call the worker of the context's browsing type.
#include <functional>

#include "api/browse_id_factory.h"
#include "api/browse_id_impl.h"
#include "api/context_impl.h"
#include "bridge/server_proxies_provider.h"
#include "browse/entry_routing.h"
#include "browse/favorites_workers.h"
#include "browse/property_workers.h"
#include "vardel/properties.h"

namespace Vardel {
namespace {

using VardelBrowse::LibraryOnly;
using VardelBrowse::Route;
using Provider = ServerProxiesProvider;

// The node of `id` when it is one of the two kinds; null otherwise.
const CBrowseIdBaseImpl* NodeOfKind(const CBrowseId& id, EBrowseItemType kind,
                                    EBrowseItemType other) {
    const CBrowseIdBaseImpl* node = VardelUtils::BrowseIdAccess::GetImpl(id);
    if (node == nullptr ||
        (node->GetBrowseItemType() != kind && node->GetBrowseItemType() != other)) {
        return nullptr;
    }
    return node;
}

// One category-parameter lookup of the bridge: the node first, the library second.
using ParameterLookup =
    std::function<HRESULT(const ContextImpl& context, const std::wstring& node,
                          const std::wstring& library, std::vector<std::wstring>& ids)>;

// Appends one category-parameter id per answer of `lookup` for the node of
// `id` (of `kind`), in the node's library.
HRESULT AppendParameters(const CContext* ctx, const CBrowseId& id, EBrowseItemType kind,
                         const ParameterLookup& lookup, std::vector<CBrowseId>& parameters) {
    return LibraryOnly(ctx, [&](const ContextImpl& context) {
        const CBrowseIdBaseImpl* node = NodeOfKind(id, kind, kind);
        if (node == nullptr) {
            return E_INVALIDARG;
        }
        const std::vector<std::wstring> library{node->GetLibraryName()};
        std::vector<std::wstring> found;
        const HRESULT status = lookup(context, node->GetInternalName(), library.front(), found);
        if (status != S_OK) {
            return status;
        }
        for (const std::wstring& name : found) {
            parameters.push_back(VardelUtils::CreateCategoryParameterId(ctx, name, library));
        }
        return S_OK;
    });
}

}  // namespace

HRESULT GetFoldersProperties(const CContext* ctx, const std::vector<CBrowseId>& ids,
                             const std::vector<std::wstring>& keys,
                             std::vector<ReturnValue>& values) {
    return Route(
        ctx,
        [&](const ContextImpl& context) {
            return VardelBrowse::LibraryFolderProperties(context, ids, keys, values);
        },
        [&](ContextImpl& context) {
            return VardelBrowse::RootFolderProperties(context, keys, values);
        },
        [&](ContextImpl& context) {
            return VardelBrowse::FavoritesFolderProperties(ctx, context, ids, keys, values);
        });
}

HRESULT GetItemsProperties(const CContext* ctx, const std::vector<CBrowseId>& ids,
                           const std::vector<std::wstring>& keys,
                           std::vector<ReturnValue>& values) {
    return Route(
        ctx,
        [&](const ContextImpl& context) {
            return VardelBrowse::LibraryItemProperties(context, ids, keys, values);
        },
        [&](ContextImpl& context) {
            return context.GetBrowsingType() == SearchBrowsing
                       ? VardelBrowse::SearchItemProperties(context, ids, keys, values)
                       : VardelBrowse::LibraryItemProperties(context, ids, keys, values);
        },
        [&](ContextImpl& context) {
            return VardelBrowse::FavoritesItemProperties(context, ids, keys, values);
        });
}

HRESULT GetCategoryParameterPropertyValues(const CContext* ctx, const std::vector<CBrowseId>& ids,
                                           const std::vector<std::wstring>& keys,
                                           std::vector<ReturnValue>& values) {
    return LibraryOnly(ctx, [&](const ContextImpl& context) {
        return VardelBrowse::CategoryParameterProperties(context, ids, keys, values);
    });
}

HRESULT GetCategoryParametersByCategory(const CContext* ctx, const CBrowseId& category,
                                        std::vector<CBrowseId>& parameters, bool flag) {
    const auto lookup = [flag](const ContextImpl& context, const std::wstring& node,
                               const std::wstring& library, std::vector<std::wstring>& ids) {
        return Provider::GetCategoryParametersByCategory(context, node, library, ids, flag);
    };
    return AppendParameters(ctx, category, BrowseCategory, lookup, parameters);
}

HRESULT GetCategoryParametersByCategoryParameter(const CContext* ctx, const CBrowseId& parameter,
                                                 std::vector<CBrowseId>& parameters) {
    return AppendParameters(ctx, parameter, BrowseCategoryParameter,
                            &Provider::GetCategoryParametersByParameter, parameters);
}

HRESULT GetCategoryTreeByFamily(const CContext* ctx, const CBrowseId& family,
                                ECategoryTreeType type, std::wstring& xml) {
    return LibraryOnly(ctx, [&](const ContextImpl& context) {
        const CBrowseIdBaseImpl* node = NodeOfKind(family, BrowseFamily, BrowseFamilyMember);
        if (node == nullptr) {
            return E_INVALIDARG;
        }
        return Provider::GetCategoryTreeByFamily(context, node->GetLibraryName(),
                                                 node->GetInternalName(),
                                                 static_cast<std::int32_t>(type), xml);
    });
}

HRESULT GetCustomValuesXML(const CContext* ctx, const CBrowseId& id, std::wstring& xml) {
    // Custom values live only in the favorites store.
    return Route(ctx, &VardelBrowse::Refused, &VardelBrowse::Refused, [&](ContextImpl& context) {
        return VardelBrowse::FavoritesCustomValues(context, id, xml);
    });
}

}  // namespace Vardel
