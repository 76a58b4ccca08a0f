// The favorites of a favorites context: favorites sets, each a tree of user
// folders, links to library categories and nodes naming families or members,
// plus per-container modifiers (items removed or renamed inside a container).
// They live in "Favorites.xml" in the context's storage folder, are read once
// when the store is created, and written back whole by Save (atomically: a
// failed save leaves the previous file as it was). A missing folder or file
// gives an empty store; a file that does not parse gives an empty store that
// counts as loaded. Such a store cannot save until EnsureDocument, which the
// favorites editor calls before its first edit, gives it a new document; a
// store without a storage folder never saves. Nothing here throws.
//
// Entries are indexed by container path: a set's internal name, a folder's
// parent path + "#" + its internal name, or a modifier's "Path". Element
// names of the file are matched without regard to case.
//
// Browsing interface (the favorites rows of the browsing entry points):
//   GetRoots(ctx, roots)              GetFoldersRoots
//   GetSubFolders(ctx, parent, out)   GetSubFolders and GetAllSubFolders
//   GetChildItems(ctx, parent, out)   GetChildItems
//   GetParentFolder(ctx, node, out)   GetParentFolder
// The first three append to their output (the entry point clears it first)
// and return E_INVALIDARG for a null or empty context or a parent that is
// neither a favorites folder nor a favorite category. GetParentFolder assigns
// the favorites folder, set root or favorite category that holds a favorite,
// made as the listings make it. Favorites folders carry their
// display name as internal name and their path as favorite id; favorite
// categories, families and members carry the library node id as internal
// name and their path as favorite id. Resolve, EntriesOf and FindEntry serve
// the property workers; the mutable accessors serve the favorites editor.
//
// One store per context, used by one thread at a time.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "api/utf16_order.h"
#include "vardel/browse_id.h"
#include "vardel/context.h"
#include "vardel/status.h"
#include "vardel/xml_node.h"
#include "vardel/xml_node_array.h"
#include "vardel/xml_parser.h"

class ContextImpl;

namespace VardelFavorites {

// Entry kinds, distinct bits so that lookups take a mask.
inline constexpr std::uint32_t kLink = 1;        ///< A link to a library category.
inline constexpr std::uint32_t kFamilyNode = 2;  ///< A family.
inline constexpr std::uint32_t kMemberNode = 4;  ///< A family member.
inline constexpr std::uint32_t kFolder = 8;      ///< A user folder.
inline constexpr std::uint32_t kRemoved = 16;    ///< An item removed from the container.
inline constexpr std::uint32_t kRenamed = 32;    ///< An item renamed in the container.

inline constexpr wchar_t kPathSeparator = L'#';

/// The text before the last "#"; empty when there is none.
std::wstring ParentPath(std::wstring_view path);
/// The text after the last "#"; the whole path when there is none.
std::wstring LastComponent(std::wstring_view path);
/// `parent` + "#" + `name`.
std::wstring ChildPath(std::wstring_view parent, std::wstring_view name);

}  // namespace VardelFavorites

/// One favorite in a container. Which fields a kind uses: a link its
/// internal name and node id (the category); a family or member node all
/// but the row id (a member also that); a folder internal and display name;
/// a removed item the internal name it removes; a renamed item the internal
/// name and the new display name.
struct SFavoriteEntry {
    std::uint32_t kind = 0;
    std::wstring internalName;
    std::wstring displayName;
    std::wstring nodeId;
    std::wstring rowId;
    std::wstring libraryId;
    /// Column id -> value; a repeated column keeps its first value.
    std::map<std::wstring, std::wstring, VardelUtils::Utf16Less> customValues;

    bool operator==(const SFavoriteEntry& other) const = default;
};

namespace VardelFavorites {

// Reading elements, shared by the file reader and the editor.

/// Whether `node` is an element: only elements have attribute lists.
bool IsElement(const XMLNode& node);
/// Whether `node` is named `name`, compared without regard to case.
bool IsNamed(const XMLNode& node, std::wstring_view name);
/// Every child of `node`, of every kind.
XMLNodeArray ChildrenOf(const XMLNode& node);
/// The first child element of `node`, or an empty node.
XMLNode FirstChildElement(const XMLNode& node);
/// The value of the attribute; empty when it is missing.
std::wstring Attribute(const XMLNode& node, const wchar_t* name);
/// The entry of a "Node" element: its fields, the row id and custom values of
/// its first child element (the member; a repeated column keeps its first
/// value), kind 2 or 4 by the row id; kind 0 when it has no child element.
SFavoriteEntry ReadNode(const XMLNode& node);

}  // namespace VardelFavorites

class CFavoritesData {
  public:
    using Entries = std::vector<SFavoriteEntry>;
    /// Container path -> its entries in document order.
    using EntryIndex = std::map<std::wstring, Entries, VardelUtils::Utf16Less>;
    /// Internal name -> display name, for sets and folders.
    using NameMap = std::map<std::wstring, std::wstring>;
    using BrowseIds = std::vector<Vardel::CBrowseId>;

    /// A store for `storagePath`, loaded from its "Favorites.xml".
    static std::unique_ptr<CFavoritesData> Initialize(const std::wstring& storagePath);

    /// Replaces everything but the file path and the copy buffer by the
    /// content of the file.
    void Load();
    /// Writes the index back into the document in the writer's layout and
    /// saves it: S_OK, or E_FAIL when there is no file path or root element or
    /// the write fails. The index is never changed.
    HRESULT Save();

    /// The library id a favorite stands for: the category of a link
    /// (BrowseCategory), the node of a family or member (BrowseFamily,
    /// BrowseFamilyMember), `internalName` itself for an existing folder or
    /// set (BrowseFavoriteFolder); empty otherwise. Looks in the document.
    std::wstring Resolve(const std::wstring& internalName, Vardel::EBrowseItemType kind) const;
    /// The entries of `path` whose kind is in `mask`, in stored order.
    Entries EntriesOf(const std::wstring& path, std::uint32_t mask) const;
    /// The first entry of the id's parent path whose internal name equals the
    /// last component of its favorite id (case-sensitive) and whose kind is in
    /// `mask`; null for an empty handle or when none matches. Valid until the
    /// index changes.
    const SFavoriteEntry* FindEntry(const Vardel::CBrowseId& id, std::uint32_t mask) const;

    /// One favorites folder per set in document order, the active set (its
    /// name compared without regard to case) first; nothing when not loaded.
    HRESULT GetRoots(const Vardel::CContext* ctx, BrowseIds& roots) const;
    /// Of a favorites folder: its links, then its folders, leaving out removed
    /// ones; links whose category no library confirms are dropped, and with a
    /// category-content filter so are links the server does not list under
    /// it. Of a favorite category: the library category's sub-folders, minus
    /// the removed ones. A failing library request is returned.
    HRESULT GetSubFolders(const Vardel::CContext* ctx, const Vardel::CBrowseId& parent,
                          BrowseIds& folders);
    /// Of a favorites folder: its families, then its members, leaving out
    /// removed ones and those whose library or node the server does not
    /// confirm. Of a favorite category: the library category's families,
    /// minus the removed ones; a failing library request is returned.
    HRESULT GetChildItems(const Vardel::CContext* ctx, const Vardel::CBrowseId& parent,
                          BrowseIds& items);
    /// The node that holds the favorite `node`: the set root, favorites
    /// folder or favorite category (a library category under a linked one
    /// included) whose path is the parent of the node's favorite id, made as
    /// GetRoots and GetSubFolders make it. A set root's parent is an empty
    /// handle (S_OK). E_INVALIDARG for a null or empty context, a node without
    /// favorite id, or a parent this store does not hold; a failing library
    /// request is returned. `parent` is assigned only on success.
    HRESULT GetParentFolder(const Vardel::CContext* ctx, const Vardel::CBrowseId& node,
                            Vardel::CBrowseId& parent) const;
    /// The name of the library `libraryId`, asked of the server once and then
    /// kept until the next load; empty when the server knows none.
    std::wstring LibraryName(const ContextImpl& context, const std::wstring& libraryId);

    /// The file of the store; empty when the storage folder did not exist.
    const std::filesystem::path& FilePath() const { return filePath_; }
    /// Whether the file existed at the last load (even when it did not parse).
    bool IsLoaded() const { return loaded_; }
    const std::wstring& ActiveFavoriteName() const { return activeFavoriteName_; }
    const EntryIndex& Index() const { return index_; }
    const NameMap& DisplayNames() const { return displayNames_; }

    /// Makes sure there is a document to edit and save: a store without a
    /// root element gets a new document, root "FavoritesConfiguration" with
    /// "ConfiguredLibraries" and "ConfiguredFavorites" holding an empty
    /// "ActiveFavorite"; a document without "ConfiguredFavorites" gets one.
    /// The store counts as loaded afterwards. Entries are left alone.
    void EnsureDocument();

    // For the favorites editor: the kept elements and the state it changes.
    EntryIndex& Index() { return index_; }
    NameMap& DisplayNames() { return displayNames_; }
    void SetActiveFavoriteName(const std::wstring& name) { activeFavoriteName_ = name; }
    XMLNode& ConfiguredFavorites() { return configuredFavorites_; }
    XMLNode& ConfiguredLibraries() { return configuredLibraries_; }
    XMLNodeArray& FavoritesElements() { return favorites_; }
    XMLNode& ActiveFavoriteElement() { return activeFavorite_; }
    XMLParser& Document() { return document_; }
    /// The copy buffer that pasting reads: entries and the ids they came from.
    std::vector<SFavoriteEntry>& CopiedEntries() { return copiedEntries_; }
    BrowseIds& CopiedIds() { return copiedIds_; }

  private:
    void IndexChildren(const XMLNode& container, const std::wstring& path);
    /// Whether `path` is a linked category or lies inside one.
    bool IsInsideLink(const std::wstring& path) const;
    void WriteEntries();
    HRESULT SubFoldersOfFolder(const Vardel::CContext* ctx, const ContextImpl& context,
                               const std::wstring& path, BrowseIds& folders);
    HRESULT ItemsOfFolder(const Vardel::CContext* ctx, const ContextImpl& context,
                          const std::wstring& path, BrowseIds& items);

    std::filesystem::path filePath_;
    std::wstring activeFavoriteName_;
    bool loaded_ = false;
    XMLNode configuredFavorites_;
    XMLNode configuredLibraries_;
    XMLNodeArray favorites_;
    XMLNode modifiers_;
    XMLNode activeFavorite_;
    XMLParser document_;
    EntryIndex index_;
    NameMap displayNames_;
    std::map<std::wstring, std::wstring> libraryNames_;
    std::vector<SFavoriteEntry> copiedEntries_;
    BrowseIds copiedIds_;
};
