// Writing the index back into Favorites.xml. The "ConfiguredFavorites"
// element is rebuilt: the active-set element, a bare copy of every set, then
// the entries. Entries of a set itself (links, nodes, folders of a path
// without "#") go into the set's element; everything else (the contents of
// folders, removals and renames) goes into a "Modifier" of its path, so a
// folder's contents are never nested in its "Folder" element. A store that
// has no document yet gets a new one before its first edit.
#include <map>

#include "common/wide_path.h"
#include "stores/favorites_store.h"
#include "xml/xpath_literal.h"

namespace {

using namespace VardelFavorites;

constexpr wchar_t kXsdNamespace[] = L"http://www.w3.org/2001/XMLSchema";
constexpr wchar_t kXsiNamespace[] = L"http://www.w3.org/2001/XMLSchema-instance";

bool BelongsInSet(const std::wstring& path, std::uint32_t kind) {
    return (kind & (kLink | kFamilyNode | kMemberNode | kFolder)) != 0 &&
           path.find(kPathSeparator) == std::wstring::npos;
}

std::wstring DisplayName(const CFavoritesData::NameMap& names, const std::wstring& internalName) {
    const auto found = names.find(internalName);
    return found != names.end() ? found->second : std::wstring();
}

// Appends the element of `entry` to `container`.
void WriteEntry(XMLNode& container, const SFavoriteEntry& entry,
                const CFavoritesData::NameMap& names) {
    switch (entry.kind) {
        case kLink:
            container.AddNode(L"Link", nullptr, L"InternalName", entry.internalName.c_str(),
                              L"CategoryId", entry.nodeId.c_str());
            break;
        case kFamilyNode:
        case kMemberNode: {
            XMLNode node = container.AddNode(L"Node");
            node.SetProperty(L"InternalName", entry.internalName);
            node.SetProperty(L"DisplayName", entry.displayName);
            node.SetProperty(L"Name", entry.displayName);
            node.SetProperty(L"LibraryId", entry.libraryId);
            node.SetProperty(L"NodeId", entry.nodeId);
            XMLNode member = node.AddNode(L"Member", nullptr, L"RowID", entry.rowId.c_str());
            for (const auto& [column, value] : entry.customValues) {
                member.AddNode(L"CustomParameter", nullptr, L"Name", column.c_str(), L"Value",
                               value.c_str());
            }
            break;
        }
        case kFolder: {
            const std::wstring name = entry.displayName.empty()
                                          ? DisplayName(names, entry.internalName)
                                          : entry.displayName;
            container.AddNode(L"Folder", nullptr, L"InternalName", entry.internalName.c_str(),
                              L"Name", name.c_str());
            break;
        }
        case kRemoved:
            container.AddNode(L"Item", nullptr, L"Remove", entry.internalName.c_str());
            break;
        case kRenamed:
            container.AddNode(L"Item", nullptr, L"InternalName", entry.internalName.c_str(),
                              L"NewName", entry.displayName.c_str());
            break;
        default:
            break;
    }
}

// The element `xpath` selects under `parent`, remembered per path so that a
// large index does not run one query per entry.
class ContainerFinder {
  public:
    XMLNode Find(XMLNode& parent, const std::wstring& xpath, const std::wstring& path) {
        const auto known = found_.find(path);
        if (known != found_.end()) {
            return known->second;
        }
        XMLNode node;
        if (parent.GetChildNode(xpath.c_str(), node)) {
            found_.emplace(path, node);
        }
        return node;
    }
    void Remember(const std::wstring& path, const XMLNode& node) { found_.emplace(path, node); }

  private:
    std::map<std::wstring, XMLNode> found_;
};

// The root element of a new Favorites.xml: the store keeps whatever root a
// file has, so the name only has to be stable for files it starts itself.
constexpr wchar_t kNewDocument[] =
    L"<?xml version=\"1.0\" encoding=\"utf-8\"?><FavoritesConfiguration>"
    L"<ConfiguredLibraries/></FavoritesConfiguration>";

bool HasRootElement(const XMLParser& document) {
    std::wstring rootName;
    return document.GetRootNode().GetNodeName(rootName) && rootName != L"#document";
}

}  // namespace

void CFavoritesData::EnsureDocument() {
    loaded_ = true;
    if (!HasRootElement(document_)) {
        // A file that did not parse is replaced too: its content was never
        // shown, and a document is needed to hold what the user adds now.
        document_ = XMLParser();
        document_.SetXml(kNewDocument);
        document_.GetRootNode().GetChildNode(L"ConfiguredLibraries", configuredLibraries_);
        configuredFavorites_ = modifiers_ = activeFavorite_ = XMLNode();
        favorites_.RemoveAll();
    }
    if (!configuredFavorites_.IsNode()) {
        configuredFavorites_ = document_.GetRootNode().AddNode(L"ConfiguredFavorites");
        activeFavorite_ = configuredFavorites_.AddNode(L"ActiveFavorite", nullptr, L"Name",
                                                       activeFavoriteName_.c_str());
    }
}

HRESULT CFavoritesData::Save() {
    if (!HasRootElement(document_)) {
        return E_FAIL;
    }
    XMLNode root = document_.GetRootNode();
    configuredFavorites_.RemoveThisNode(false);
    configuredFavorites_ = root.AddNode(L"ConfiguredFavorites");
    configuredFavorites_.SetProperty(L"xmlns:xsd", kXsdNamespace);
    configuredFavorites_.SetProperty(L"xmlns:xsi", kXsiNamespace);
    if (activeFavorite_.IsNode()) {
        activeFavorite_ = configuredFavorites_.AppendChild(activeFavorite_);
    }
    // The kept sets become their bare copies, which are now in the document.
    for (int i = 0; i < favorites_.GetSize(); ++i) {
        favorites_[i] = configuredFavorites_.AppendChild(favorites_[i].CloneNode(false));
    }
    modifiers_ = index_.empty() ? XMLNode() : configuredFavorites_.AddNode(L"Modifiers");
    WriteEntries();
    // The document now mirrors the index, also for a store that cannot write.
    if (filePath_.empty()) {
        return E_FAIL;
    }
    return document_.SaveXmlDocument(VardelCommon::FromPath(filePath_).c_str(), false) ? S_OK
                                                                                       : E_FAIL;
}

void CFavoritesData::WriteEntries() {
    ContainerFinder sets;
    ContainerFinder modifiers;
    for (const auto& [path, entries] : index_) {
        const std::wstring literal = VardelXml::XPathLiteral(path);
        for (const SFavoriteEntry& entry : entries) {
            XMLNode container;
            if (BelongsInSet(path, entry.kind)) {
                container = sets.Find(configuredFavorites_,
                                      L"Favorites[@InternalName = " + literal + L"]", path);
                if (!container.IsNode()) {
                    container = configuredFavorites_.AddNode(
                        L"Favorites", nullptr, L"Name", DisplayName(displayNames_, path).c_str(),
                        L"InternalName", path.c_str());
                    sets.Remember(path, container);
                }
            } else {
                container = modifiers.Find(modifiers_, L"Modifier[@Path = " + literal + L"]", path);
                if (!container.IsNode()) {
                    container = modifiers_.AddNode(L"Modifier", nullptr, L"Path", path.c_str());
                    modifiers.Remember(path, container);
                }
            }
            WriteEntry(container, entry, displayNames_);
        }
    }
}
