// The exported navigation functions: check the context, then hand the call to
// the worker of its browsing type.
#include "api/context_impl.h"
#include "browse/entry_routing.h"
#include "browse/library_navigation.h"
#include "browse/synthetic_roots.h"
#include "stores/favorites_store.h"
#include "vardel/browsing.h"

namespace Vardel {
namespace {

using VardelBrowse::Route;
using VardelUtils::FindContextImpl;

HRESULT SubFolders(const CContext* ctx, const CBrowseId& parent, bool allLevels,
                   std::vector<CBrowseId>& folders) {
    return Route(
        ctx,
        [&](ContextImpl&) {
            return VardelBrowse::LibrarySubFolders(ctx, parent, allLevels, folders);
        },
        [&](ContextImpl&) {
            folders.clear();
            return S_OK;
        },
        [&](ContextImpl& context) {
            return context.GetFavoritesData()->GetSubFolders(ctx, parent, folders);
        });
}

// One creator of a browse id from a name.
using Creator = HRESULT (*)(const CContext* ctx, const std::wstring& name, CBrowseId& id);

// Checks `ctx` and `name` and whether the context's type is served.
HRESULT CheckCreate(const CContext* ctx, const std::wstring& name, bool servesHistory) {
    const ContextImpl* context = FindContextImpl(ctx);
    if (context == nullptr || name.empty()) {
        return E_INVALIDARG;
    }
    const BrowsingStructureType type = context->GetBrowsingType();
    const bool served = type == LibraryBrowsing || (servesHistory && type == HistoryBrowsing);
    return served ? S_OK : E_INVALIDARG;
}

HRESULT Create(const CContext* ctx, const std::wstring& name, bool servesHistory, Creator creator,
               CBrowseId& id) {
    const HRESULT status = CheckCreate(ctx, name, servesHistory);
    return status == S_OK ? creator(ctx, name, id) : status;
}

HRESULT ConvertNames(const CContext* ctx, const std::vector<std::wstring>& names,
                     bool servesHistory, Creator creator, std::vector<CBrowseId>& ids) {
    for (const std::wstring& name : names) {
        CBrowseId id;
        const HRESULT status = Create(ctx, name, servesHistory, creator, id);
        if (status != S_OK) {
            ids.clear();
            return status;
        }
        ids.push_back(id);
    }
    return S_OK;
}

}  // namespace

HRESULT GetFoldersRoots(const CContext* ctx, std::vector<CBrowseId>& roots) {
    return Route(
        ctx, [&](ContextImpl&) { return VardelBrowse::LibraryRoots(ctx, roots); },
        [&](ContextImpl& context) { return VardelBrowse::RootFolders(ctx, context, roots); },
        [&](ContextImpl& context) {
            roots.clear();
            return context.GetFavoritesData()->GetRoots(ctx, roots);
        });
}

HRESULT GetSubFolders(const CContext* ctx, const CBrowseId& parent,
                      std::vector<CBrowseId>& folders) {
    return SubFolders(ctx, parent, false, folders);
}

HRESULT GetAllSubFolders(const CContext* ctx, const CBrowseId& parent,
                         std::vector<CBrowseId>& folders) {
    return SubFolders(ctx, parent, true, folders);
}

HRESULT GetChildItems(const CContext* ctx, const CBrowseId& parent, std::vector<CBrowseId>& items) {
    return Route(
        ctx, [&](ContextImpl&) { return VardelBrowse::LibraryChildItems(ctx, parent, items); },
        [&](ContextImpl& context) { return VardelBrowse::RootChildItems(ctx, context, items); },
        [&](ContextImpl& context) {
            items.clear();
            return context.GetFavoritesData()->GetChildItems(ctx, parent, items);
        });
}

HRESULT GetFoldersByItem(const CContext* ctx, const CBrowseId& item,
                         std::vector<CBrowseId>& folders) {
    return Route(
        ctx, [&](ContextImpl&) { return VardelBrowse::LibraryFoldersByItem(ctx, item, folders); },
        [&](ContextImpl& context) {
            return VardelBrowse::RootFoldersByItem(ctx, context, item, folders);
        });
}

HRESULT GetParentFolder(const CContext* ctx, const CBrowseId& folder, CBrowseId& parent) {
    if (FindContextImpl(ctx) != nullptr) {
        parent = CBrowseId();
    }
    return Route(
        ctx, [&](ContextImpl&) { return VardelBrowse::LibraryParentFolder(ctx, folder, parent); },
        [&](ContextImpl& context) {
            // The parent of every folder, the root itself included; this
            // handle carries no context.
            parent = VardelBrowse::MakeRoot(context, nullptr);
            return S_OK;
        },
        [&](ContextImpl& context) {
            return context.GetFavoritesData()->GetParentFolder(ctx, folder, parent);
        });
}

HRESULT GetAllItems(const CContext* ctx, std::vector<CBrowseId>& items) {
    return VardelBrowse::LibraryOnly(
        ctx, [&](ContextImpl&) { return VardelBrowse::LibraryAllItems(ctx, items); });
}

HRESULT CreateItemBrowseId(const CContext* ctx, const std::wstring& name, CBrowseId& id) {
    return Create(ctx, name, true, &VardelBrowse::LibraryItemId, id);
}

HRESULT CreateFolderBrowseId(const CContext* ctx, const std::wstring& name, CBrowseId& id) {
    return Create(ctx, name, false, &VardelBrowse::LibraryFolderId, id);
}

HRESULT CreateCategoryParameterBrowseId(const CContext* ctx, const std::wstring& name,
                                        const CBrowseId& parent, CBrowseId& id) {
    const HRESULT status = CheckCreate(ctx, name, false);
    return status == S_OK ? VardelBrowse::LibraryCategoryParameterId(ctx, name, parent, id)
                          : status;
}

HRESULT ConvertFolderStrIdsToBrowseIds(const CContext* ctx, const std::vector<std::wstring>& names,
                                       std::vector<CBrowseId>& ids) {
    return ConvertNames(ctx, names, false, &VardelBrowse::LibraryFolderId, ids);
}

HRESULT ConvertItemStrIdsToBrowseIds(const CContext* ctx, const std::vector<std::wstring>& names,
                                     std::vector<CBrowseId>& ids) {
    return ConvertNames(ctx, names, true, &VardelBrowse::LibraryItemId, ids);
}

}  // namespace Vardel
