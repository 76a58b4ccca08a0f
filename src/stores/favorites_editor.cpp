// Applying a favorites editor's edit text to the store, element by element,
// and the exported editing entry points. Each operation fixes the container
// the top-level elements apply to and what is stamped on them; the elements
// then add, rename and remove entries of that container, and "Favorites" and
// "Folder" elements carry their children into the set or folder they name.
#include "stores/favorites_editor.h"

#include <cstddef>
#include <utility>

#include "api/browse_id_impl.h"
#include "api/context_impl.h"
#include "common/case_fold.h"
#include "vardel/guid.h"
#include "xml/xpath_literal.h"

namespace VardelFavorites {

std::wstring NewInternalName() {
    std::wstring name;
    for (const wchar_t c : Vardel::Guid::New().ToString()) {
        if (c != L'-') {
            name.push_back(VardelCommon::ToUpperChar(c));
        }
    }
    return name;
}

void DropSubIndex(CFavoritesData::EntryIndex& index, const std::wstring& path) {
    index.erase(path);
    // The paths below `path` all start with it and "#", so they are adjacent.
    const std::wstring prefix = path + kPathSeparator;
    auto below = index.lower_bound(prefix);
    while (below != index.end() && below->first.starts_with(prefix)) {
        below = index.erase(below);
    }
}

}  // namespace VardelFavorites

namespace {

using namespace VardelFavorites;
using Access = VardelUtils::BrowseIdAccess;
using Vardel::EFavoriteOperation;

// An internal name the host hands in becomes a path component: it must name
// something and must not add a level to the path.
bool IsUsableName(const std::wstring& name) {
    return !name.empty() && name.find(kPathSeparator) == std::wstring::npos;
}

SFavoriteEntry EntryOf(std::uint32_t kind, std::wstring internalName,
                       std::wstring displayName = {}) {
    SFavoriteEntry entry;
    entry.kind = kind;
    entry.internalName = std::move(internalName);
    entry.displayName = std::move(displayName);
    return entry;
}

void CopyAttributes(const XMLNode& from, XMLNode& to) {
    std::vector<std::wstring> names;
    from.GetProperties(names);
    for (const std::wstring& name : names) {
        to.SetProperty(name.c_str(), Attribute(from, name.c_str()));
    }
}

// Applies edit elements to the store for one operation.
class EditApplier {
  public:
    EditApplier(CFavoritesData& store, EFavoriteOperation operation, bool& changed)
        : store_(store), dropsSubIndex_(operation == Vardel::FavoriteRemove), changed_(changed) {}

    HRESULT Apply(const XMLNode& element, const std::wstring& path) {
        if (IsNamed(element, L"Favorites")) {
            std::wstring value;
            if (element.GetProperty(L"Name", value)) {
                return AddOrActivateSet(element, value);
            }
            return element.GetProperty(L"Remove", value) ? RemoveSet(value) : E_INVALIDARG;
        }
        if (IsNamed(element, L"Node")) {
            return AddNode(element, path);
        }
        if (IsNamed(element, L"Folder")) {
            return ApplyFolder(element, path);
        }
        const bool link = IsNamed(element, L"Link");
        if (link || IsNamed(element, L"Item")) {
            return ApplyItem(element, path, link);
        }
        return E_INVALIDARG;
    }

  private:
    // The child elements of `element`, each applied under `path`.
    HRESULT ApplyChildren(const XMLNode& element, const std::wstring& path) {
        const XMLNodeArray children = ChildrenOf(element);
        for (int i = 0; i < children.GetSize(); ++i) {
            if (IsElement(children[i])) {
                const HRESULT status = Apply(children[i], path);
                if (status != S_OK) {
                    return status;
                }
            }
        }
        return S_OK;
    }

    void Append(const std::wstring& path, SFavoriteEntry entry) {
        store_.Index()[path].push_back(std::move(entry));
        changed_ = true;
    }

    void Activate(const std::wstring& name) {
        XMLNode& active = store_.ActiveFavoriteElement();
        if (!active.IsNode()) {
            active = store_.ConfiguredFavorites().AddNode(L"ActiveFavorite");
        }
        active.SetProperty(L"Name", name);
        store_.SetActiveFavoriteName(name);
        changed_ = true;
    }

    HRESULT AddOrActivateSet(const XMLNode& element, const std::wstring& name) {
        XMLNode& favorites = store_.ConfiguredFavorites();
        XMLNode existing;
        const std::wstring xpath = L"Favorites[@Name = " + VardelXml::XPathLiteral(name) + L"]";
        const bool exists = favorites.GetChildNode(xpath.c_str(), existing);
        Activate(name);
        if (exists) {
            return S_OK;
        }
        const std::wstring internalName = NewInternalName();
        XMLNode set = favorites.AddNode(L"Favorites");
        CopyAttributes(element, set);
        set.SetProperty(L"InternalName", internalName);
        store_.FavoritesElements().Add(set);
        store_.DisplayNames()[internalName] = name;
        store_.Index().try_emplace(internalName);
        return ApplyChildren(element, internalName);
    }

    // The set is matched without regard to case; one set always remains, to
    // be the active one.
    HRESULT RemoveSet(const std::wstring& removed) {
        XMLNodeArray& sets = store_.FavoritesElements();
        int found = 0;
        while (found < sets.GetSize() &&
               !VardelCommon::EqualsNoCase(Attribute(sets[found], L"InternalName"), removed)) {
            ++found;
        }
        if (!IsUsableName(removed) || found == sets.GetSize() || sets.GetSize() < 2) {
            return E_INVALIDARG;
        }
        const std::wstring internalName = Attribute(sets[found], L"InternalName");
        sets[found].RemoveThisNode(true);
        sets.RemoveAt(found);
        store_.DisplayNames().erase(internalName);
        DropSubIndex(store_.Index(), internalName);
        Activate(Attribute(sets[0], L"Name"));
        return S_OK;
    }

    HRESULT AddNode(const XMLNode& element, const std::wstring& path) {
        if (Attribute(element, L"NodeId").empty()) {
            return E_INVALIDARG;
        }
        SFavoriteEntry entry = ReadNode(element);
        if (entry.kind == 0) {
            return S_OK;  // no member element: nothing says what to add
        }
        entry.internalName = NewInternalName();
        Append(path, std::move(entry));
        return S_OK;
    }

    HRESULT ApplyFolder(const XMLNode& element, const std::wstring& path) {
        std::wstring value;
        if (element.GetProperty(L"NewName", value)) {
            return RenameFolder(element, path, value);
        }
        if (element.GetProperty(L"Remove", value)) {
            if (!IsUsableName(value)) {
                return E_INVALIDARG;
            }
            const std::wstring inner = ChildPath(path, value);
            if (dropsSubIndex_) {
                DropSubIndex(store_.Index(), inner);
            }
            Append(path, EntryOf(kRemoved, value));
            store_.DisplayNames().erase(value);
            return ApplyChildren(element, inner);
        }
        SFavoriteEntry folder = EntryOf(kFolder, NewInternalName(), Attribute(element, L"Name"));
        const std::wstring inner = ChildPath(path, folder.internalName);
        store_.DisplayNames()[folder.internalName] = folder.displayName;
        Append(path, std::move(folder));
        store_.Index().try_emplace(inner);
        return ApplyChildren(element, inner);
    }

    HRESULT RenameFolder(const XMLNode& element, const std::wstring& path,
                         const std::wstring& newName) {
        const std::wstring internalName = Attribute(element, L"InternalName");
        if (!IsUsableName(internalName)) {
            return E_INVALIDARG;
        }
        const auto entries = store_.Index().find(path);
        if (entries != store_.Index().end()) {
            for (SFavoriteEntry& entry : entries->second) {
                if (entry.kind == kFolder && entry.internalName == internalName) {
                    entry.displayName = newName;
                    break;
                }
            }
        }
        if (path.empty()) {
            RenameSet(internalName, newName);
        }
        store_.DisplayNames()[internalName] = newName;
        changed_ = true;
        return ApplyChildren(element, ChildPath(path, internalName));
    }

    // A set is a folder of the empty path; its name lives in its element, and
    // the active name follows it so that the set stays first.
    void RenameSet(const std::wstring& internalName, const std::wstring& newName) {
        XMLNodeArray& sets = store_.FavoritesElements();
        for (int i = 0; i < sets.GetSize(); ++i) {
            if (Attribute(sets[i], L"InternalName") == internalName) {
                const std::wstring oldName = Attribute(sets[i], L"Name");
                sets[i].SetProperty(L"Name", newName);
                if (VardelCommon::EqualsNoCase(oldName, store_.ActiveFavoriteName())) {
                    Activate(newName);
                }
                return;
            }
        }
    }

    HRESULT ApplyItem(const XMLNode& element, const std::wstring& path, bool link) {
        std::wstring removed;
        if (element.GetProperty(L"Remove", removed)) {
            if (!IsUsableName(removed)) {
                return E_INVALIDARG;
            }
            if (dropsSubIndex_) {
                DropSubIndex(store_.Index(), ChildPath(path, removed));
            }
            Append(path, EntryOf(kRemoved, removed));
            return S_OK;
        }
        std::wstring newName;
        std::wstring internalName;
        if (element.GetProperty(L"NewName", newName) &&
            element.GetProperty(L"InternalName", internalName)) {
            if (!IsUsableName(internalName)) {
                return E_INVALIDARG;
            }
            RenameItem(path, internalName, newName);
            return S_OK;
        }
        if (!link) {
            return E_INVALIDARG;
        }
        // A new link gets an internal name like every new favorite, so that it
        // has a path of its own.
        SFavoriteEntry entry = EntryOf(kLink, NewInternalName());
        entry.nodeId = Attribute(element, L"CategoryId");
        Append(path, std::move(entry));
        return S_OK;
    }

    // A favorite stored in the container is renamed in place; anything else
    // (a link, a library node shown there) is renamed by a rename entry.
    void RenameItem(const std::wstring& path, const std::wstring& internalName,
                    const std::wstring& newName) {
        bool stored = false;
        const auto entries = store_.Index().find(path);
        if (entries != store_.Index().end()) {
            for (SFavoriteEntry& entry : entries->second) {
                if ((entry.kind & (kFamilyNode | kMemberNode | kRenamed)) != 0 &&
                    entry.internalName == internalName) {
                    entry.displayName = newName;
                    stored = true;
                }
            }
        }
        if (stored) {
            changed_ = true;
        } else {
            Append(path, EntryOf(kRenamed, internalName, newName));
        }
    }

    CFavoritesData& store_;
    const bool dropsSubIndex_;
    bool& changed_;
};

std::vector<XMLNode> ElementChildren(const XMLNode& node) {
    std::vector<XMLNode> elements;
    const XMLNodeArray children = ChildrenOf(node);
    for (int i = 0; i < children.GetSize(); ++i) {
        if (IsElement(children[i])) {
            elements.push_back(children[i]);
        }
    }
    return elements;
}

// Stamps the ids' last path components on the elements of a removal or a
// rename; false, with nothing stamped, when the elements do not fit the ids.
bool Stamp(std::vector<XMLNode>& elements, const std::vector<Vardel::CBrowseId>& ids,
           EFavoriteOperation operation) {
    const bool rename = operation == Vardel::FavoriteRename;
    if (elements.size() != (rename ? 1 : ids.size())) {
        return false;
    }
    std::vector<std::wstring> names;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const CBrowseIdBaseImpl* node = Access::GetImpl(ids[i]);
        if (node == nullptr || node->GetFavoriteId().empty()) {
            return false;
        }
        names.push_back(LastComponent(node->GetFavoriteId()));
    }
    for (std::size_t i = 0; i < elements.size(); ++i) {
        elements[i].SetProperty(rename ? L"InternalName" : L"Remove", names[i]);
    }
    return true;
}

bool IsRemoval(EFavoriteOperation operation) {
    return operation == Vardel::FavoriteRemove || operation == Vardel::FavoriteRemoveKeepContents;
}

// The store of a favorites context; null for any other context.
CFavoritesData* FavoritesOf(const Vardel::CContext* ctx) {
    ContextImpl* context = VardelUtils::FindContextImpl(ctx);
    if (context == nullptr || context->GetBrowsingType() != Vardel::FavoritesBrowsing) {
        return nullptr;
    }
    return context->GetFavoritesData();
}

}  // namespace

namespace VardelFavorites {

HRESULT ApplyEditText(const Vardel::CContext* ctx, CFavoritesData& store,
                      const std::vector<Vardel::CBrowseId>& ids, const wchar_t* editText,
                      EFavoriteOperation operation, bool& changed) {
    changed = false;
    if (ids.empty()) {
        return S_OK;
    }
    if (operation == Vardel::FavoritePaste) {
        return PasteFavorites(ctx, store, ids.front(), changed);
    }
    const CBrowseIdBaseImpl* target = Access::GetImpl(ids.front());
    const bool onParent = IsRemoval(operation) || operation == Vardel::FavoriteRename;
    if (onParent && target == nullptr) {
        return E_INVALIDARG;
    }
    std::wstring path;
    if (onParent) {
        path = ParentPath(target->GetFavoriteId());
    } else if (operation == Vardel::FavoriteEdit && target != nullptr) {
        path = target->GetFavoriteId();
    }
    XMLParser text;
    if (editText == nullptr || !text.SetXml(editText)) {
        return E_INVALIDARG;
    }
    std::vector<XMLNode> elements = ElementChildren(text.GetRootNode());
    if (onParent && !Stamp(elements, ids, operation)) {
        return E_INVALIDARG;
    }
    if (elements.empty()) {
        return S_OK;
    }
    store.EnsureDocument();
    EditApplier applier(store, operation, changed);
    for (const XMLNode& element : elements) {
        const HRESULT status = applier.Apply(element, path);
        if (status != S_OK) {
            return status;
        }
    }
    return S_OK;
}

}  // namespace VardelFavorites

namespace Vardel {

HRESULT StoreFavoritesEditResults(const CContext* ctx, const std::vector<CBrowseId>& ids,
                                  const wchar_t* editText, EFavoriteOperation operation,
                                  bool& changed) {
    changed = false;
    if (ctx == nullptr || editText == nullptr) {
        return E_INVALIDARG;
    }
    CFavoritesData* store = FavoritesOf(ctx);
    if (store == nullptr) {
        return E_INVALIDARG;
    }
    const HRESULT status = ApplyEditText(ctx, *store, ids, editText, operation, changed);
    if (status != S_OK || !changed) {
        return status;
    }
    return store->Save();
}

HRESULT SaveCopiedFavorites(const CContext* ctx, const std::vector<CBrowseId>& ids) {
    CFavoritesData* store = FavoritesOf(ctx);
    return store != nullptr ? CopyFavorites(ctx, *store, ids) : E_INVALIDARG;
}

}  // namespace Vardel
