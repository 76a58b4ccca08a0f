#include "browse/library_navigation.h"

#include <functional>

#include "api/browse_id_factory.h"
#include "api/browse_id_impl.h"
#include "api/context_impl.h"
#include "bridge/server_proxies_provider.h"

namespace VardelBrowse {
namespace {

using Ids = std::vector<std::wstring>;
using Access = VardelUtils::BrowseIdAccess;
using Provider = ServerProxiesProvider;

// One bridge request to one library, writing the ids it answers to `ids`.
using LibraryRequest =
    std::function<HRESULT(const ContextImpl& context, const std::wstring& library, Ids& ids)>;

enum class Unconfirmed { Keep, Drop };

// Asks every library of `libraries` in order; the first failure ends the walk.
template <class Libraries>
HRESULT CollectFrom(const ContextImpl& context, const Libraries& libraries,
                    const LibraryRequest& request, CollectedIds& collected) {
    IdCollector collector;
    for (const std::wstring& library : libraries) {
        Ids ids;
        const HRESULT status = request(context, library, ids);
        if (status != S_OK) {
            return status;
        }
        collector.Add(library, std::move(ids));
    }
    collected = collector.Finish();
    return S_OK;
}

// Merges `collected` into items of `kind` and replaces `out` by their browse
// ids, unless nothing remains.
HRESULT EmitMerged(const Vardel::CContext* ctx, const ContextImpl& context, CollectedIds collected,
                   CLibraryItem::Kind kind, Unconfirmed unconfirmed, BrowseIds& out) {
    if (collected.empty()) {
        return S_OK;
    }
    LibraryItems items;
    const HRESULT built = kind == CLibraryItem::FamilyItem
                              ? BuildFamilyItems(std::move(collected), items)
                              : BuildCategoryItems(std::move(collected), items);
    if (built != S_OK) {
        return built;
    }
    MergeItems(context, items);
    if (unconfirmed == Unconfirmed::Drop) {
        std::erase_if(items, [](const auto& item) { return !item->IsMerged(); });
    }
    if (items.empty()) {
        return S_OK;
    }
    out.clear();
    out.reserve(items.size());
    for (const auto& item : items) {
        out.push_back(item->TakeBrowseId(ctx));
    }
    return S_OK;
}

// Passed as the libraries of a worker that asks every library of the context.
constexpr const std::vector<std::wstring>* kContextLibraries = nullptr;

// The whole worker: collect from `libraries` (or the context's), then merge and emit.
HRESULT Browse(const Vardel::CContext* ctx, const std::vector<std::wstring>* libraries,
               const LibraryRequest& request, CLibraryItem::Kind kind, Unconfirmed unconfirmed,
               BrowseIds& out) {
    const ContextImpl* context = VardelUtils::FindContextImpl(ctx);
    if (context == nullptr) {
        return E_INVALIDARG;
    }
    CollectedIds collected;
    const HRESULT status = libraries != nullptr
                               ? CollectFrom(*context, *libraries, request, collected)
                               : CollectFrom(*context, context->GetLibraries(), request, collected);
    if (status != S_OK) {
        return status;
    }
    return EmitMerged(ctx, *context, std::move(collected), kind, unconfirmed, out);
}

// The single node `name` of `kind` as the context's libraries confirm it.
HRESULT LookUp(const Vardel::CContext* ctx, const std::wstring& name, CLibraryItem::Kind kind,
               Vardel::CBrowseId& id) {
    const ContextImpl* context = VardelUtils::FindContextImpl(ctx);
    if (context == nullptr || name.empty()) {
        return E_INVALIDARG;
    }
    BrowseIds found;
    const HRESULT status =
        EmitMerged(ctx, *context, PairWithLibraries({name}, context->GetLibraries()), kind,
                   Unconfirmed::Drop, found);
    if (status == S_OK && !found.empty()) {
        id = found.front();
    }
    return status;
}

}  // namespace

const std::vector<std::wstring>* FolderLibraries(const Vardel::CBrowseId& id) {
    if (const auto* category = Access::As<CBrowseCategoryIdImpl>(id)) {
        return &category->GetLibraries();
    }
    if (const auto* parameter = Access::As<CBrowseCategoryParameterIdImpl>(id)) {
        return &parameter->GetLibraries();
    }
    return nullptr;
}

HRESULT LibraryRoots(const Vardel::CContext* ctx, BrowseIds& folders) {
    return Browse(ctx, kContextLibraries, &Provider::GetFoldersRoots, CLibraryItem::CategoryItem,
                  Unconfirmed::Keep, folders);
}

HRESULT LibrarySubFolders(const Vardel::CContext* ctx, const Vardel::CBrowseId& parent,
                          bool allLevels, BrowseIds& folders) {
    const std::vector<std::wstring>* libraries = FolderLibraries(parent);
    if (libraries == nullptr) {
        return E_INVALIDARG;
    }
    const std::wstring& name = parent.GetInternalName();
    const auto request = [&](const ContextImpl& c, const std::wstring& library, Ids& ids) {
        return Provider::GetSubFolders(c, library, name, ids, allLevels);
    };
    return Browse(ctx, libraries, request, CLibraryItem::CategoryItem, Unconfirmed::Keep, folders);
}

HRESULT LibraryChildItems(const Vardel::CContext* ctx, const Vardel::CBrowseId& parent,
                          BrowseIds& items) {
    const std::vector<std::wstring>* libraries = FolderLibraries(parent);
    if (libraries == nullptr) {
        return E_INVALIDARG;
    }
    const std::wstring& name = parent.GetInternalName();
    const auto request = [&](const ContextImpl& c, const std::wstring& library, Ids& ids) {
        return Provider::GetChildItems(c, library, name, ids);
    };
    return Browse(ctx, libraries, request, CLibraryItem::FamilyItem, Unconfirmed::Drop, items);
}

HRESULT LibraryFoldersByItem(const Vardel::CContext* ctx, const Vardel::CBrowseId& item,
                             BrowseIds& folders) {
    const CBrowseIdBaseImpl* node = Access::GetImpl(item);
    if (node == nullptr || node->GetBrowseItemType() != Vardel::BrowseFamily) {
        return E_INVALIDARG;
    }
    const std::wstring& name = node->GetInternalName();
    const auto request = [&](const ContextImpl& c, const std::wstring& library, Ids& ids) {
        return Provider::GetCategoriesByFamily(c, library, name, ids);
    };
    return Browse(ctx, kContextLibraries, request, CLibraryItem::CategoryItem, Unconfirmed::Keep,
                  folders);
}

HRESULT LibraryParentFolder(const Vardel::CContext* ctx, const Vardel::CBrowseId& folder,
                            Vardel::CBrowseId& parent) {
    const ContextImpl* context = VardelUtils::FindContextImpl(ctx);
    const CBrowseIdBaseImpl* node = Access::GetImpl(folder);
    if (context == nullptr || node == nullptr ||
        node->GetBrowseItemType() != Vardel::BrowseCategory) {
        return E_INVALIDARG;
    }
    std::wstring parentName;
    const HRESULT status = Provider::GetParentCategory(*context, node->GetLibraryName(),
                                                       node->GetInternalName(), parentName);
    if (status != S_OK || parentName.empty()) {
        return status;
    }
    return LibraryFolderId(ctx, parentName, parent);
}

HRESULT LibraryAllItems(const Vardel::CContext* ctx, BrowseIds& items) {
    return Browse(ctx, kContextLibraries, &Provider::GetAllFamilies, CLibraryItem::FamilyItem,
                  Unconfirmed::Drop, items);
}

HRESULT LibraryFolderId(const Vardel::CContext* ctx, const std::wstring& name,
                        Vardel::CBrowseId& id) {
    return LookUp(ctx, name, CLibraryItem::CategoryItem, id);
}

HRESULT LibraryItemId(const Vardel::CContext* ctx, const std::wstring& name,
                      Vardel::CBrowseId& id) {
    return LookUp(ctx, name, CLibraryItem::FamilyItem, id);
}

HRESULT LibraryCategoryParameterId(const Vardel::CContext* ctx, const std::wstring& name,
                                   const Vardel::CBrowseId& parent, Vardel::CBrowseId& id) {
    const std::vector<std::wstring>* libraries = FolderLibraries(parent);
    if (VardelUtils::FindContextImpl(ctx) == nullptr || name.empty() || libraries == nullptr) {
        return E_INVALIDARG;
    }
    id = VardelUtils::CreateCategoryParameterId(ctx, name, *libraries);
    return S_OK;
}

HRESULT ConvertItemIds(const Vardel::CContext* ctx, CollectedIds collected, BrowseIds& items) {
    const ContextImpl* context = VardelUtils::FindContextImpl(ctx);
    if (context == nullptr) {
        return E_INVALIDARG;
    }
    return EmitMerged(ctx, *context, std::move(collected), CLibraryItem::FamilyItem,
                      Unconfirmed::Drop, items);
}

}  // namespace VardelBrowse
