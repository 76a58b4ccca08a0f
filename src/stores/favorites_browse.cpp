// The favorites tree as the browsing entry points see it: the sets as roots,
// the links and folders of a favorites folder, its families and members, and
// the library contents behind a linked category. Stored ids become browse ids
// through the library workers, so favorites show only what the server
// confirms, carrying the library node id, the library and the version of the
// merged copy.
#include <algorithm>
#include <optional>

#include "api/browse_id_factory.h"
#include "api/browse_id_impl.h"
#include "api/context_impl.h"
#include "bridge/server_proxies_provider.h"
#include "browse/library_navigation.h"
#include "common/case_fold.h"
#include "stores/favorites_store.h"

namespace {

using namespace VardelFavorites;
using Access = VardelUtils::BrowseIdAccess;
using BrowseIds = CFavoritesData::BrowseIds;
using Vardel::CBrowseId;

// Hosts and editors pass removed names in whatever case they hold them.
bool IsRemoved(const CFavoritesData::Entries& removed, const std::wstring& name) {
    return std::any_of(removed.begin(), removed.end(), [&](const SFavoriteEntry& entry) {
        return VardelCommon::EqualsNoCase(entry.internalName, name);
    });
}

// The favorites path of a parent both kinds of favorites folder accept, or
// nothing for any other node.
std::optional<std::wstring> FolderPath(const CBrowseId& parent) {
    if (const auto* folder = Access::As<CBrowseFavoriteFolderIdImpl>(parent)) {
        return folder->GetFavoriteId();
    }
    if (const auto* category = Access::As<CBrowseFavoriteCategoryIdImpl>(parent)) {
        return category->GetFavoriteId();
    }
    return std::nullopt;
}

// Appends the library nodes of `found` that no removal of the container
// names, each as a favorite under `path` named by its library node id.
void AppendWrapped(const BrowseIds& found, const std::wstring& path,
                   const CFavoritesData::Entries& removed, BrowseIds& out) {
    for (CBrowseId id : found) {
        if (!IsRemoved(removed, id.GetInternalName())) {
            VardelUtils::ConvertToFavoriteId(id, ChildPath(path, id.GetInternalName()));
            out.push_back(id);
        }
    }
}

// Whether the server, asked with the context's filter, lists `category`
// among its parent's sub-folders (or among the roots of its library). Only
// the server knows what a category-content value admits.
bool ListedUnderFilter(const ContextImpl& context, const CBrowseId& category) {
    const std::wstring library = Access::GetImpl(category)->GetLibraryName();
    const std::wstring& name = category.GetInternalName();
    std::wstring parent;
    if (ServerProxiesProvider::GetParentCategory(context, library, name, parent) != S_OK) {
        return false;
    }
    std::vector<std::wstring> listed;
    const HRESULT status =
        parent.empty()
            ? ServerProxiesProvider::GetFoldersRoots(context, library, listed)
            : ServerProxiesProvider::GetSubFolders(context, library, parent, listed, false);
    return status == S_OK && std::any_of(listed.begin(), listed.end(), [&](const std::wstring& id) {
               return VardelCommon::EqualsNoCase(id, name);
           });
}

bool HasContentFilter(const ContextImpl& context) {
    const Vardel::FilterStruct* filter = context.GetFilter();
    return filter != nullptr && !filter->categoriesContent.empty();
}

// Library node id -> its confirmed family browse id, for the ids of one library.
using Converted = std::map<std::wstring, CBrowseId, VardelUtils::Utf16Less>;

// Adds the confirmed family ids of `collected`.
void ConvertInto(const Vardel::CContext* ctx, const VardelBrowse::CollectedIds& collected,
                 Converted& converted) {
    BrowseIds items;
    if (VardelBrowse::ConvertItemIds(ctx, collected, items) == S_OK) {
        for (const CBrowseId& item : items) {
            converted.emplace(item.GetInternalName(), item);
        }
    }
}

// The node ids of one library converted together, then each one the batch
// left out on its own: the server refuses a whole request for one id it
// cannot take, and that must drop only that id's entry.
Converted ConvertLibraryNodes(const Vardel::CContext* ctx, const std::wstring& library,
                              const VardelBrowse::CollectedIds& nodes) {
    Converted converted;
    ConvertInto(ctx, nodes, converted);
    if (nodes.size() > 1 && converted.size() < nodes.size()) {
        for (const auto& node : nodes) {
            if (converted.count(node.first) == 0) {
                ConvertInto(ctx, {{node.first, {library}}}, converted);
            }
        }
    }
    return converted;
}

// The favorite for `entry` under `path` from its converted library family.
CBrowseId WrapItem(const Vardel::CContext* ctx, const CBrowseId& family,
                   const SFavoriteEntry& entry, const std::wstring& path) {
    const CBrowseIdBaseImpl* node = Access::GetImpl(family);
    CBrowseId item = family;
    if (entry.kind == kMemberNode) {
        const CBrowseIdBaseImpl::Version version = node->GetVersion();
        const bool hasVersion = !version.lastModTime.empty() || !version.revisionId.empty();
        item = VardelUtils::CreateMemberId(
            ctx, family.GetInternalName(), entry.rowId, {node->GetLibraryName()},
            hasVersion ? VardelUtils::OptionalVersion(version) : std::nullopt);
    }
    VardelUtils::ConvertToFavoriteId(item, ChildPath(path, entry.internalName));
    return item;
}

}  // namespace

HRESULT CFavoritesData::GetRoots(const Vardel::CContext* ctx, BrowseIds& roots) const {
    if (VardelUtils::FindContextImpl(ctx) == nullptr) {
        return E_INVALIDARG;
    }
    if (!loaded_) {
        return S_OK;
    }
    BrowseIds sets;
    std::size_t active = 0;
    bool haveActive = false;
    for (int i = 0; i < favorites_.GetSize(); ++i) {
        std::wstring name;
        std::wstring internalName;
        favorites_[i].GetProperty(L"Name", name);
        favorites_[i].GetProperty(L"InternalName", internalName);
        if (!haveActive && VardelCommon::EqualsNoCase(name, activeFavoriteName_)) {
            active = sets.size();
            haveActive = true;
        }
        sets.push_back(VardelUtils::CreateFavoriteId(ctx, name, internalName,
                                                     Vardel::BrowseFavoriteFolder, {}, L""));
    }
    if (haveActive) {
        const auto first = sets.begin();
        std::rotate(first, first + static_cast<std::ptrdiff_t>(active),
                    first + static_cast<std::ptrdiff_t>(active) + 1);
    }
    roots.insert(roots.end(), sets.begin(), sets.end());
    return S_OK;
}

HRESULT CFavoritesData::GetSubFolders(const Vardel::CContext* ctx, const CBrowseId& parent,
                                      BrowseIds& folders) {
    const ContextImpl* context = VardelUtils::FindContextImpl(ctx);
    const std::optional<std::wstring> path = FolderPath(parent);
    if (context == nullptr || !path) {
        return E_INVALIDARG;
    }
    if (!loaded_) {
        return S_OK;
    }
    if (Access::As<CBrowseFavoriteFolderIdImpl>(parent)) {
        return SubFoldersOfFolder(ctx, *context, *path, folders);
    }
    // The server applies the context's filter to these itself.
    BrowseIds library;
    const HRESULT status = VardelBrowse::LibrarySubFolders(ctx, parent, false, library);
    if (status == S_OK) {
        AppendWrapped(library, *path, EntriesOf(*path, kRemoved), folders);
    }
    return status;
}

HRESULT CFavoritesData::SubFoldersOfFolder(const Vardel::CContext* ctx, const ContextImpl& context,
                                           const std::wstring& path, BrowseIds& folders) {
    const Entries removed = EntriesOf(path, kRemoved);
    const bool filtered = HasContentFilter(context);
    for (const SFavoriteEntry& link : EntriesOf(path, kLink)) {
        CBrowseId category;
        if (IsRemoved(removed, link.internalName) || link.nodeId.empty() ||
            VardelBrowse::LibraryFolderId(ctx, link.nodeId, category) != S_OK ||
            category.IsNULL() || (filtered && !ListedUnderFilter(context, category))) {
            continue;
        }
        VardelUtils::ConvertToFavoriteId(category, ChildPath(path, link.internalName));
        folders.push_back(category);
    }
    for (const SFavoriteEntry& folder : EntriesOf(path, kFolder)) {
        if (IsRemoved(removed, folder.internalName)) {
            continue;
        }
        const auto mapped = displayNames_.find(folder.internalName);
        const std::wstring& name = !folder.displayName.empty() || mapped == displayNames_.end()
                                       ? folder.displayName
                                       : mapped->second;
        folders.push_back(VardelUtils::CreateFavoriteId(ctx, name,
                                                        ChildPath(path, folder.internalName),
                                                        Vardel::BrowseFavoriteFolder, {}, L""));
    }
    return S_OK;
}

HRESULT CFavoritesData::GetChildItems(const Vardel::CContext* ctx, const CBrowseId& parent,
                                      BrowseIds& items) {
    const ContextImpl* context = VardelUtils::FindContextImpl(ctx);
    const std::optional<std::wstring> path = FolderPath(parent);
    if (context == nullptr || !path) {
        return E_INVALIDARG;
    }
    if (!loaded_) {
        return S_OK;
    }
    if (Access::As<CBrowseFavoriteFolderIdImpl>(parent)) {
        return ItemsOfFolder(ctx, *context, *path, items);
    }
    BrowseIds library;
    const HRESULT status = VardelBrowse::LibraryChildItems(ctx, parent, library);
    if (status == S_OK) {
        AppendWrapped(library, *path, EntriesOf(*path, kRemoved), items);
    }
    return status;
}

HRESULT CFavoritesData::ItemsOfFolder(const Vardel::CContext* ctx, const ContextImpl& context,
                                      const std::wstring& path, BrowseIds& items) {
    const Entries removed = EntriesOf(path, kRemoved);
    Entries stored = EntriesOf(path, kFamilyNode);
    const Entries members = EntriesOf(path, kMemberNode);
    stored.insert(stored.end(), members.begin(), members.end());
    std::erase_if(stored, [&](const SFavoriteEntry& entry) {
        return IsRemoved(removed, entry.internalName);
    });
    // Library name of each entry (empty: skipped), and the node ids per library.
    std::vector<std::wstring> libraries;
    std::map<std::wstring, VardelBrowse::CollectedIds> nodesByLibrary;
    for (const SFavoriteEntry& entry : stored) {
        libraries.push_back(LibraryName(context, entry.libraryId));
        if (!libraries.back().empty() && !entry.nodeId.empty()) {
            nodesByLibrary[libraries.back()][entry.nodeId] = {libraries.back()};
        }
    }
    std::map<std::wstring, Converted> converted;
    for (const auto& [library, nodes] : nodesByLibrary) {
        converted.emplace(library, ConvertLibraryNodes(ctx, library, nodes));
    }
    for (std::size_t i = 0; i < stored.size(); ++i) {
        const auto library = converted.find(libraries[i]);
        if (library == converted.end()) {
            continue;
        }
        const auto family = library->second.find(stored[i].nodeId);
        if (family != library->second.end()) {
            items.push_back(WrapItem(ctx, family->second, stored[i], path));
        }
    }
    return S_OK;
}

std::wstring CFavoritesData::LibraryName(const ContextImpl& context,
                                         const std::wstring& libraryId) {
    const auto known = libraryNames_.find(libraryId);
    if (known != libraryNames_.end()) {
        return known->second;
    }
    std::vector<std::wstring> names;
    if (libraryId.empty() ||
        ServerProxiesProvider::GetLibraryNamesByLibraryIds(context, {libraryId}, names) != S_OK ||
        names.empty()) {
        return {};
    }
    libraryNames_.emplace(libraryId, names.front());
    return names.front();
}

HRESULT CFavoritesData::GetParentFolder(const Vardel::CContext* ctx, const CBrowseId& node,
                                        CBrowseId& parent) const {
    const CBrowseIdBaseImpl* impl = Access::GetImpl(node);
    if (VardelUtils::FindContextImpl(ctx) == nullptr || impl == nullptr ||
        impl->GetFavoriteId().empty()) {
        return E_INVALIDARG;
    }
    const std::wstring path = ParentPath(impl->GetFavoriteId());
    if (path.empty()) {
        parent = CBrowseId();
        return S_OK;
    }
    if (path.find(kPathSeparator) == std::wstring::npos) {
        for (int i = 0; i < favorites_.GetSize(); ++i) {
            std::wstring internalName;
            std::wstring name;
            if (favorites_[i].GetProperty(L"InternalName", internalName) && internalName == path) {
                favorites_[i].GetProperty(L"Name", name);
                parent = VardelUtils::CreateFavoriteId(ctx, name, path,
                                                       Vardel::BrowseFavoriteFolder, {}, L"");
                return S_OK;
            }
        }
        return E_INVALIDARG;
    }
    const std::wstring holder = ParentPath(path);
    const std::wstring name = LastComponent(path);
    std::optional<std::wstring> categoryId;
    for (const SFavoriteEntry& entry : EntriesOf(holder, kFolder | kLink)) {
        if (entry.internalName != name) {
            continue;
        }
        if (entry.kind == kFolder) {
            const auto mapped = displayNames_.find(name);
            const std::wstring& shown = !entry.displayName.empty() || mapped == displayNames_.end()
                                            ? entry.displayName
                                            : mapped->second;
            parent = VardelUtils::CreateFavoriteId(ctx, shown, path, Vardel::BrowseFavoriteFolder,
                                                   {}, L"");
            return S_OK;
        }
        categoryId = entry.nodeId;
        break;
    }
    // A library category shown inside a linked category is named by its own
    // id, as the listing of the linked category names it.
    if (!categoryId && IsInsideLink(holder)) {
        categoryId = name;
    }
    CBrowseId category;
    if (!categoryId || categoryId->empty()) {
        return E_INVALIDARG;
    }
    const HRESULT status = VardelBrowse::LibraryFolderId(ctx, *categoryId, category);
    if (status != S_OK || category.IsNULL()) {
        return status != S_OK ? status : E_INVALIDARG;
    }
    VardelUtils::ConvertToFavoriteId(category, path);
    parent = category;
    return S_OK;
}

bool CFavoritesData::IsInsideLink(const std::wstring& path) const {
    for (std::wstring inner = path; inner.find(kPathSeparator) != std::wstring::npos;
         inner = ParentPath(inner)) {
        const std::wstring name = LastComponent(inner);
        for (const SFavoriteEntry& link : EntriesOf(ParentPath(inner), kLink)) {
            if (link.internalName == name) {
                return true;
            }
        }
    }
    return false;
}
