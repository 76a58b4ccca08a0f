// Copying favorites into the store's copy buffer and pasting them into a
// favorites folder. Display names are read through the exported property
// readers, so that a paste compares the names the host shows: a favorite
// whose name a child of the destination already has, in any letter case, is
// not pasted twice.
#include <algorithm>
#include <optional>

#include "api/browse_id_impl.h"
#include "api/context_impl.h"
#include "bridge/server_proxies_provider.h"
#include "common/case_fold.h"
#include "stores/favorites_editor.h"
#include "vardel/constants.h"
#include "vardel/properties.h"

namespace {

using namespace VardelFavorites;
using Access = VardelUtils::BrowseIdAccess;
using BrowseIds = CFavoritesData::BrowseIds;
using Vardel::CBrowseId;

using Reader = HRESULT (*)(const Vardel::CContext*, const BrowseIds&,
                           const std::vector<std::wstring>&, std::vector<Vardel::ReturnValue>&);

// Asks `reader` for `key` of `ids` and puts each answer's text at its place
// `at[k]` of `names`.
HRESULT ReadInto(const Vardel::CContext* ctx, Reader reader, const wchar_t* key,
                 const BrowseIds& ids, const std::vector<std::size_t>& at,
                 std::vector<std::wstring>& names) {
    if (ids.empty()) {
        return S_OK;
    }
    std::vector<Vardel::ReturnValue> values;
    const HRESULT status = reader(ctx, ids, {key}, values);
    if (status != S_OK || values.size() != ids.size()) {
        return status != S_OK ? status : E_FAIL;
    }
    for (std::size_t k = 0; k < values.size(); ++k) {
        if (values[k].IsValid()) {
            names[at[k]] = static_cast<const wchar_t*>(values[k]);
        }
    }
    return S_OK;
}

// The display name of each of `ids`, folders and items each in one request;
// "" where there is none.
HRESULT ReadDisplayNames(const Vardel::CContext* ctx, const BrowseIds& ids,
                         std::vector<std::wstring>& names) {
    names.assign(ids.size(), std::wstring());
    BrowseIds folders;
    BrowseIds items;
    std::vector<std::size_t> folderAt;
    std::vector<std::size_t> itemAt;
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const CBrowseIdBaseImpl* node = Access::GetImpl(ids[i]);
        const Vardel::EBrowseItemType kind =
            node != nullptr ? node->GetBrowseItemType() : Vardel::BrowseHistoryRoot;
        if (kind == Vardel::BrowseCategory || kind == Vardel::BrowseFavoriteFolder) {
            folders.push_back(ids[i]);
            folderAt.push_back(i);
        } else if (kind == Vardel::BrowseFamily || kind == Vardel::BrowseFamilyMember) {
            items.push_back(ids[i]);
            itemAt.push_back(i);
        }
    }
    const HRESULT status = ReadInto(ctx, &Vardel::GetFoldersProperties,
                                    Vardel::Constants::FLD_DISPLAYNAME, folders, folderAt, names);
    return status != S_OK ? status
                          : ReadInto(ctx, &Vardel::GetItemsProperties,
                                     Vardel::Constants::FAM_DISPLAYNAME, items, itemAt, names);
}

// The id of the library `library`, or empty when the server names none.
std::wstring LibraryId(const Vardel::CContext* ctx, const std::wstring& library) {
    const ContextImpl* context = VardelUtils::FindContextImpl(ctx);
    std::vector<std::wstring> ids;
    if (context == nullptr || library.empty() ||
        ServerProxiesProvider::GetLibraryIdsByLibraryNames(*context, {library}, ids) != S_OK ||
        ids.empty()) {
        return {};
    }
    return ids.front();
}

// A new favorite of a node the store holds no entry for: a set root becomes a
// folder, a library category a link, a family or member a node of its
// library. Its internal name is the last component of its favorite id (its
// own name when it has none); a paste gives it a new one anyway.
std::optional<SFavoriteEntry> EntryOfNode(const Vardel::CContext* ctx, const CBrowseId& id) {
    const CBrowseIdBaseImpl& node = *Access::GetImpl(id);
    SFavoriteEntry entry;
    const std::wstring favoriteId = node.GetFavoriteId();
    entry.internalName = favoriteId.empty() ? node.GetInternalName() : LastComponent(favoriteId);
    switch (node.GetBrowseItemType()) {
        case Vardel::BrowseFavoriteFolder:
            entry.kind = kFolder;
            break;
        case Vardel::BrowseCategory:
            entry.kind = kLink;
            entry.nodeId = node.GetInternalName();
            break;
        case Vardel::BrowseFamily:
        case Vardel::BrowseFamilyMember:
            entry.nodeId = node.GetInternalName();
            entry.rowId = Access::As<CBrowseFamilyIdImpl>(id)->GetMemberId();
            entry.kind = entry.rowId.empty() ? kFamilyNode : kMemberNode;
            entry.libraryId = LibraryId(ctx, node.GetLibraryName());
            if (entry.libraryId.empty()) {
                return std::nullopt;  // a node without library id could never be shown
            }
            break;
        default:
            return std::nullopt;
    }
    std::vector<std::wstring> names;
    if (ReadDisplayNames(ctx, {id}, names) == S_OK) {
        entry.displayName = names.front();
    }
    return entry;
}

// Copies the index of `from` and of every path below it to the same paths
// under `to`. The paths are taken first, so a folder pasted into itself is
// copied once.
void CopySubIndex(CFavoritesData::EntryIndex& index, const std::wstring& from,
                  const std::wstring& to) {
    std::vector<std::pair<std::wstring, CFavoritesData::Entries>> copies;
    const std::wstring prefix = from + kPathSeparator;
    for (auto path = index.lower_bound(from); path != index.end(); ++path) {
        if (path->first != from && !path->first.starts_with(prefix)) {
            if (index.key_comp()(prefix, path->first)) {
                break;
            }
            continue;  // sorts between `from` and its sub-paths, e.g. "from!"
        }
        copies.emplace_back(to + path->first.substr(from.size()), path->second);
    }
    index.try_emplace(to);
    for (auto& [path, entries] : copies) {
        CFavoritesData::Entries& target = index[path];
        target.insert(target.end(), entries.begin(), entries.end());
    }
}

// Appends `copied` to `path` under a new internal name; a folder takes its
// contents along from `oldPath`.
void PasteEntry(CFavoritesData& store, SFavoriteEntry pasted, const std::wstring& oldPath,
                const std::wstring& shownName, const std::wstring& path) {
    pasted.internalName = NewInternalName();
    if (pasted.kind == kFolder) {
        if (pasted.displayName.empty()) {
            pasted.displayName = shownName;
        }
        store.DisplayNames()[pasted.internalName] = pasted.displayName;
        if (!oldPath.empty()) {
            CopySubIndex(store.Index(), oldPath, ChildPath(path, pasted.internalName));
        }
        store.Index()[path].push_back(std::move(pasted));
        return;
    }
    CFavoritesData::Entries& entries = store.Index()[path];
    if (!pasted.displayName.empty()) {
        SFavoriteEntry renamed;
        renamed.kind = kRenamed;
        renamed.internalName = pasted.internalName;
        renamed.displayName = pasted.displayName;
        entries.push_back(std::move(pasted));
        entries.push_back(std::move(renamed));
    } else {
        entries.push_back(std::move(pasted));
    }
}

}  // namespace

namespace VardelFavorites {

HRESULT CopyFavorites(const Vardel::CContext* ctx, CFavoritesData& store, const BrowseIds& ids) {
    std::vector<SFavoriteEntry>& entries = store.CopiedEntries();
    entries.clear();
    store.CopiedIds() = ids;
    for (const CBrowseId& id : ids) {
        if (Access::GetImpl(id) == nullptr) {
            continue;
        }
        if (const SFavoriteEntry* stored =
                store.FindEntry(id, kLink | kFamilyNode | kMemberNode | kFolder)) {
            SFavoriteEntry copy = *stored;
            if (const SFavoriteEntry* renamed = store.FindEntry(id, kRenamed)) {
                copy.displayName = renamed->displayName;
            }
            entries.push_back(std::move(copy));
        } else if (std::optional<SFavoriteEntry> built = EntryOfNode(ctx, id)) {
            entries.push_back(std::move(*built));
        }
    }
    return entries.size() == ids.size() ? S_OK : E_FAIL;
}

HRESULT PasteFavorites(const Vardel::CContext* ctx, CFavoritesData& store, const CBrowseId& target,
                       bool& changed) {
    const std::vector<SFavoriteEntry> entries = store.CopiedEntries();
    const BrowseIds copied = store.CopiedIds();
    if (entries.size() != copied.size()) {
        return E_INVALIDARG;
    }
    changed = false;
    const auto* destination = Access::As<CBrowseFavoriteFolderIdImpl>(target);
    BrowseIds children;
    if (destination == nullptr || store.GetSubFolders(ctx, target, children) != S_OK ||
        store.GetChildItems(ctx, target, children) != S_OK) {
        return E_INVALIDARG;
    }
    std::vector<std::wstring> present;
    std::vector<std::wstring> names;
    HRESULT status = ReadDisplayNames(ctx, children, present);
    if (status == S_OK) {
        status = ReadDisplayNames(ctx, copied, names);
    }
    if (status != S_OK) {
        return status;
    }
    // A child without a name shows nothing to clash with.
    std::erase(present, std::wstring());
    const std::wstring path = destination->GetFavoriteId();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const bool clashes = std::any_of(present.begin(), present.end(), [&](const auto& name) {
            return VardelCommon::EqualsNoCase(name, names[i]);
        });
        if (clashes) {
            continue;
        }
        if (!changed) {
            store.EnsureDocument();
        }
        PasteEntry(store, entries[i], Access::GetImpl(copied[i])->GetFavoriteId(), names[i], path);
        changed = true;
    }
    return S_OK;
}

}  // namespace VardelFavorites
