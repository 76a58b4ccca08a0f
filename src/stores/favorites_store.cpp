// Loading and indexing Favorites.xml, and the lookups that answer from the
// index or the document.
#include "stores/favorites_store.h"

#include <system_error>

#include "api/browse_id_impl.h"
#include "common/atomic_file.h"
#include "common/case_fold.h"
#include "common/wide_path.h"
#include "xml/xpath_literal.h"

namespace VardelFavorites {

std::wstring ParentPath(std::wstring_view path) {
    const std::size_t last = path.rfind(kPathSeparator);
    return last == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(0, last));
}

std::wstring LastComponent(std::wstring_view path) {
    const std::size_t last = path.rfind(kPathSeparator);
    return std::wstring(last == std::wstring_view::npos ? path : path.substr(last + 1));
}

std::wstring ChildPath(std::wstring_view parent, std::wstring_view name) {
    std::wstring path(parent);
    path += kPathSeparator;
    path += name;
    return path;
}

bool IsElement(const XMLNode& node) {
    std::vector<std::wstring> attributes;
    return node.GetProperties(attributes);
}

bool IsNamed(const XMLNode& node, std::wstring_view name) {
    std::wstring nodeName;
    return node.GetNodeName(nodeName) && VardelCommon::EqualsNoCase(nodeName, name);
}

XMLNodeArray ChildrenOf(const XMLNode& node) {
    XMLNodeArray children;
    node.GetChildNodes(children);
    return children;
}

std::wstring Attribute(const XMLNode& node, const wchar_t* name) {
    std::wstring value;
    node.GetProperty(name, value);
    return value;
}

XMLNode FirstChildElement(const XMLNode& node) {
    const XMLNodeArray children = ChildrenOf(node);
    for (int i = 0; i < children.GetSize(); ++i) {
        if (IsElement(children[i])) {
            return children[i];
        }
    }
    return {};
}

SFavoriteEntry ReadNode(const XMLNode& node) {
    SFavoriteEntry entry;
    const XMLNode member = FirstChildElement(node);
    if (!member.IsNode()) {
        return entry;
    }
    entry.rowId = Attribute(member, L"RowID");
    entry.kind = entry.rowId.empty() ? kFamilyNode : kMemberNode;
    entry.libraryId = Attribute(node, L"LibraryId");
    entry.nodeId = Attribute(node, L"NodeId");
    entry.internalName = Attribute(node, L"InternalName");
    entry.displayName = Attribute(node, L"DisplayName");
    const XMLNodeArray parameters = ChildrenOf(member);
    for (int i = 0; i < parameters.GetSize(); ++i) {
        if (IsElement(parameters[i])) {
            entry.customValues.emplace(Attribute(parameters[i], L"Name"),
                                       Attribute(parameters[i], L"Value"));
        }
    }
    return entry;
}

}  // namespace VardelFavorites

namespace {

using namespace VardelFavorites;

constexpr wchar_t kFileName[] = L"Favorites.xml";

// The first of `nodes` named `name` without regard to case, or an empty node.
XMLNode FirstNamed(const XMLNodeArray& nodes, std::wstring_view name) {
    for (int i = 0; i < nodes.GetSize(); ++i) {
        if (IsNamed(nodes[i], name)) {
            return nodes[i];
        }
    }
    return {};
}

// An "Item" entry: a removal, a rename, or kind 0 when it is neither.
SFavoriteEntry ReadItem(const XMLNode& item) {
    SFavoriteEntry entry;
    if (item.GetProperty(L"Remove", entry.internalName)) {
        entry.kind = kRemoved;
    } else if (item.GetProperty(L"NewName", entry.displayName) &&
               item.GetProperty(L"InternalName", entry.internalName)) {
        entry.kind = kRenamed;
    }
    return entry;
}

}  // namespace

std::unique_ptr<CFavoritesData> CFavoritesData::Initialize(const std::wstring& storagePath) {
    auto store = std::make_unique<CFavoritesData>();
    const std::filesystem::path folder = VardelCommon::ToPath(storagePath);
    std::error_code error;
    if (!storagePath.empty() && std::filesystem::is_directory(folder, error)) {
        store->filePath_ = folder / VardelCommon::ToPath(kFileName);
    }
    store->Load();
    return store;
}

void CFavoritesData::Load() {
    index_.clear();
    libraryNames_.clear();
    displayNames_.clear();
    activeFavoriteName_.clear();
    loaded_ = false;
    configuredFavorites_ = configuredLibraries_ = modifiers_ = activeFavorite_ = XMLNode();
    favorites_.RemoveAll();
    document_ = XMLParser();
    if (filePath_.empty()) {
        return;
    }
    VardelCommon::RemoveStaleTemporaries(filePath_);
    std::error_code error;
    if (!std::filesystem::exists(filePath_, error)) {
        return;
    }
    loaded_ = true;
    if (!document_.LoadXmlDocument(VardelCommon::FromPath(filePath_).c_str())) {
        return;
    }
    const XMLNodeArray top = ChildrenOf(document_.GetRootNode());
    configuredLibraries_ = FirstNamed(top, L"ConfiguredLibraries");
    configuredFavorites_ = FirstNamed(top, L"ConfiguredFavorites");
    const XMLNodeArray sections = ChildrenOf(configuredFavorites_);
    activeFavorite_ = FirstNamed(sections, L"ActiveFavorite");
    activeFavorite_.GetProperty(L"Name", activeFavoriteName_);
    modifiers_ = FirstNamed(sections, L"Modifiers");
    for (int i = 0; i < sections.GetSize(); ++i) {
        if (IsNamed(sections[i], L"Favorites")) {
            favorites_.Add(sections[i]);
        }
    }
    for (int i = 0; i < favorites_.GetSize(); ++i) {
        const std::wstring internalName = Attribute(favorites_[i], L"InternalName");
        IndexChildren(favorites_[i], internalName);
        displayNames_.emplace(internalName, Attribute(favorites_[i], L"Name"));
    }
    const XMLNodeArray modifiers = ChildrenOf(modifiers_);
    for (int i = 0; i < modifiers.GetSize(); ++i) {
        std::wstring path;
        if (IsNamed(modifiers[i], L"Modifier") && modifiers[i].GetProperty(L"Path", path)) {
            IndexChildren(modifiers[i], path);
        }
    }
}

// Recursion follows the nesting of "Folder" elements, which the parser bounds.
void CFavoritesData::IndexChildren(const XMLNode& container, const std::wstring& path) {
    Entries& entries = index_[path];
    const XMLNodeArray children = ChildrenOf(container);
    for (int i = 0; i < children.GetSize(); ++i) {
        const XMLNode& child = children[i];
        std::wstring name;
        child.GetNodeName(name);
        const auto is = [&name](std::wstring_view wanted) {
            return VardelCommon::EqualsNoCase(name, wanted);
        };
        SFavoriteEntry entry;
        if (is(L"Item")) {
            entry = ReadItem(child);
        } else if (is(L"Node")) {
            entry = ReadNode(child);
        } else if (is(L"Link")) {
            entry.kind = kLink;
            entry.internalName = Attribute(child, L"InternalName");
            entry.nodeId = Attribute(child, L"CategoryId");
        } else if (is(L"Folder")) {
            entry.kind = kFolder;
            entry.internalName = Attribute(child, L"InternalName");
            entry.displayName = Attribute(child, L"Name");
            displayNames_.emplace(entry.internalName, entry.displayName);
            entries.push_back(entry);
            IndexChildren(child, ChildPath(path, entry.internalName));
            continue;
        }
        // An element that says nothing usable yields no entry.
        if (entry.kind != 0) {
            entries.push_back(std::move(entry));
        }
    }
}

std::wstring CFavoritesData::Resolve(const std::wstring& internalName,
                                     Vardel::EBrowseItemType kind) const {
    const std::wstring test = L"[@InternalName = " + VardelXml::XPathLiteral(internalName) + L"]";
    XMLNode found;
    switch (kind) {
        case Vardel::BrowseCategory:
            return configuredFavorites_.GetChildNode((L"//Link" + test).c_str(), found)
                       ? Attribute(found, L"CategoryId")
                       : std::wstring();
        case Vardel::BrowseFamily:
        case Vardel::BrowseFamilyMember:
            return configuredFavorites_.GetChildNode((L"//Node" + test).c_str(), found)
                       ? Attribute(found, L"NodeId")
                       : std::wstring();
        case Vardel::BrowseFavoriteFolder: {
            const std::wstring xpath = L"//Folder" + test + L"|//Favorites" + test;
            return configuredFavorites_.GetChildNode(xpath.c_str(), found) ? internalName
                                                                           : std::wstring();
        }
        default:
            return {};
    }
}

CFavoritesData::Entries CFavoritesData::EntriesOf(const std::wstring& path,
                                                  std::uint32_t mask) const {
    Entries matching;
    const auto found = index_.find(path);
    if (found != index_.end()) {
        for (const SFavoriteEntry& entry : found->second) {
            if ((entry.kind & mask) != 0) {
                matching.push_back(entry);
            }
        }
    }
    return matching;
}

const SFavoriteEntry* CFavoritesData::FindEntry(const Vardel::CBrowseId& id,
                                                std::uint32_t mask) const {
    const CBrowseIdBaseImpl* node = VardelUtils::BrowseIdAccess::GetImpl(id);
    if (node == nullptr) {
        return nullptr;
    }
    const std::wstring path = node->GetFavoriteId();
    const auto found = index_.find(ParentPath(path));
    if (found == index_.end()) {
        return nullptr;
    }
    const std::wstring name = LastComponent(path);
    for (const SFavoriteEntry& entry : found->second) {
        if ((entry.kind & mask) != 0 && entry.internalName == name) {
            return &entry;
        }
    }
    return nullptr;
}
