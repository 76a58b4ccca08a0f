// Navigation of the browsing face. Every function takes an initialised
// context first and serves the tree that context browses: the server's
// libraries (LibraryBrowsing), the stored results of the last search
// (SearchBrowsing, one root folder holding the found items), or the history
// (HistoryBrowsing, one root folder holding the used items), or the user's
// favorites (FavoritesBrowsing: one root folder per favorites set, holding
// user folders, links to library categories and favorite families and
// members).
//
// Common rules: a null or empty context gives E_INVALIDARG, as does a
// browsing type a function does not serve (GetLibraries and GetLibrary give
// E_FAIL there). Output vectors are the caller's; unless a function says
// otherwise, a successful call that finds nothing leaves its output as it was
// passed, and one that finds something replaces the output. A failing server
// request gives its status (E_FAIL, or E_INVALIDARG for a context without
// security record) and leaves the output untouched. Calls run on the
// caller's thread; one thread at a time per context.
#pragma once

#include <string>
#include <vector>

#include "vardel/browse_id.h"
#include "vardel/context.h"
#include "vardel/derived_family_link_names.h"
#include "vardel/export.h"
#include "vardel/status.h"

namespace Vardel {

/// The root folders: the library roots, exactly the one root of a search or
/// history context, or the favorites sets, the active set first (the output
/// of the last three is always cleared first).
VARDEL_API HRESULT GetFoldersRoots(const CContext* ctx, std::vector<CBrowseId>& roots);
/// The direct sub-folders of a library category; in a search or history
/// context none: `folders` is cleared and S_OK returned. In a favorites
/// context the links, then the user folders, of a favorites folder, or the
/// library sub-folders of a favorite category, appended to `folders`.
VARDEL_API HRESULT GetSubFolders(const CContext* ctx, const CBrowseId& parent,
                                 std::vector<CBrowseId>& folders);
/// The sub-folders of every level of a library category; otherwise as GetSubFolders.
VARDEL_API HRESULT GetAllSubFolders(const CContext* ctx, const CBrowseId& parent,
                                    std::vector<CBrowseId>& folders);
/// The families of a library category, or the items of the search or
/// history root, each named under the library of its newest copy. In a
/// favorites context `items` is cleared and receives the families, then the
/// members, of a favorites folder, or the families of a favorite category.
VARDEL_API HRESULT GetChildItems(const CContext* ctx, const CBrowseId& parent,
                                 std::vector<CBrowseId>& items);
/// The library categories holding a family (members are refused); in a
/// search or history context `folders` is cleared and receives the root when
/// the item is stored there.
VARDEL_API HRESULT GetFoldersByItem(const CContext* ctx, const CBrowseId& item,
                                    std::vector<CBrowseId>& folders);
/// Sets `parent` to an empty handle, then to the parent of a library
/// category (empty for a root category), to the root of a search or history
/// context for any folder, or to the favorites folder or category holding a
/// favorite (empty for the root of a favorites set).
VARDEL_API HRESULT GetParentFolder(const CContext* ctx, const CBrowseId& folder, CBrowseId& parent);
/// Every family of every library (library contexts only).
VARDEL_API HRESULT GetAllItems(const CContext* ctx, std::vector<CBrowseId>& items);
/// The family `name` as the context's libraries know it (library and history
/// contexts); `id` unchanged when no library knows it. Empty name: E_INVALIDARG.
VARDEL_API HRESULT CreateItemBrowseId(const CContext* ctx, const std::wstring& name, CBrowseId& id);
/// The category `name` (library contexts only), as CreateItemBrowseId.
VARDEL_API HRESULT CreateFolderBrowseId(const CContext* ctx, const std::wstring& name,
                                        CBrowseId& id);
/// A category parameter `name` under a category or category parameter, in
/// the parent's libraries (library contexts only); asks no server.
VARDEL_API HRESULT CreateCategoryParameterBrowseId(const CContext* ctx, const std::wstring& name,
                                                   const CBrowseId& parent, CBrowseId& id);
/// CreateFolderBrowseId for every name, APPENDING one handle per name to
/// `ids` (an empty handle for a name no library knows). The first failure
/// clears `ids` and is returned; an empty name list returns S_OK at once.
VARDEL_API HRESULT ConvertFolderStrIdsToBrowseIds(const CContext* ctx,
                                                  const std::vector<std::wstring>& names,
                                                  std::vector<CBrowseId>& ids);
/// The same with CreateItemBrowseId (library and history contexts).
VARDEL_API HRESULT ConvertItemStrIdsToBrowseIds(const CContext* ctx,
                                                const std::vector<std::wstring>& names,
                                                std::vector<CBrowseId>& ids);

/// Assigns the libraries of a category or category parameter (library
/// contexts only). Empty or other handle: E_INVALIDARG; other contexts: E_FAIL.
VARDEL_API HRESULT GetLibraries(const CContext* ctx, const CBrowseId& id,
                                std::vector<std::wstring>& libraries);
/// Assigns the library of a category, family, category parameter or member
/// (the first library of a category or parameter). A favorites context
/// refuses category parameters. Empty or other handle: E_INVALIDARG.
VARDEL_API HRESULT GetLibrary(const CContext* ctx, const CBrowseId& id, std::wstring& library);
/// Assigns the parent library and family of a derived family, as the server
/// holds them for the family's library. E_FAIL when the node has no library
/// or the server gives no answer; favorites contexts: E_INVALIDARG.
VARDEL_API HRESULT GetDerivedFamilyLinkNameOffline(const CContext* ctx, const CBrowseId& id,
                                                   DerivedFamilyLinkNames& names);

}  // namespace Vardel
