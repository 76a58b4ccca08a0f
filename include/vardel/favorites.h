// Editing the favorites of a favorites context. A host's favorites editor
// describes its result as a small XML text whose root element holds edit
// elements; StoreFavoritesEditResults applies them to the context's
// favorites for one operation and target, tells whether anything changed and
// then writes "Favorites.xml" (atomically: a failed write leaves the previous
// file as it was). SaveCopiedFavorites remembers favorites to be pasted later
// by the FavoritePaste operation.
//
// Edit elements, names compared without regard to case, each applied to the
// operation's container (children of "Favorites" and "Folder" to the folder
// they name, with the same operation):
//   Favorites Name="n"           make set "n" active, creating it when new
//   Favorites Remove="set"       remove a set (never the last one)
//   Node NodeId LibraryId DisplayName, child Member RowID with
//        CustomParameter Name Value children
//                                add a family (empty RowID) or member favorite
//   Folder Name="n"              add a folder
//   Folder InternalName NewName  rename a folder
//   Folder Remove="name"         remove a folder
//   Item|Link Remove="name"      remove an item or link
//   Item|Link InternalName NewName
//                                rename an item or link
//   Link CategoryId="id"         add a link to a library category
// New favorites get internal names of 32 upper-case hexadecimal digits. An
// internal name given by the host must not contain "#", which separates the
// levels of a favorites path. A store that has no file yet gets a new
// document (root element "FavoritesConfiguration") with its first edit.
//
// Calls run on the caller's thread; one thread at a time per context.
#pragma once

#include <cstdint>
#include <vector>

#include "vardel/browse_id.h"
#include "vardel/context.h"
#include "vardel/export.h"
#include "vardel/status.h"

namespace Vardel {

/// What StoreFavoritesEditResults does with its edit text and ids.
enum EFavoriteOperation : std::int32_t {
    /// Applies every edit element to the favorites folder of the first id.
    FavoriteEdit = 0,
    /// Removes the ids' favorites (one edit element per id, in the same order)
    /// from the folder of the first id, together with everything inside them.
    FavoriteRemove = 1,
    /// Renames the favorite of the first id; the text holds one edit element
    /// carrying the new name.
    FavoriteRename = 2,
    /// Pastes the favorites of SaveCopiedFavorites into the favorites folder of
    /// the first id; the edit text is not read.
    FavoritePaste = 3,
    /// As FavoriteRemove, but the contents of removed folders are kept.
    FavoriteRemoveKeepContents = 4,
};

/// Applies `editText` for `operation` to the favorites of a favorites context
/// and saves them when something changed; `changed` is cleared first and set
/// once one edit was applied. An empty `ids` does nothing (S_OK). Refused with
/// E_INVALIDARG before anything changes: a null context or text (checked
/// first), an empty or non-favorites context, a text that does not parse, an
/// element count that does not fit the operation, an id to remove or rename
/// that names no favorite, a paste into anything but a favorites folder or
/// from an incomplete copy buffer. An element that cannot be applied (an
/// unknown one, a "Node" without "NodeId", a host-given internal name that is
/// empty or holds "#", a set to remove that does not exist or is the last
/// one) ends the call with E_INVALIDARG; the elements before it stay applied
/// in memory and are not saved. A failed save returns E_FAIL, the edits
/// staying in memory.
VARDEL_API HRESULT StoreFavoritesEditResults(const CContext* ctx, const std::vector<CBrowseId>& ids,
                                             const wchar_t* editText, EFavoriteOperation operation,
                                             bool& changed);

/// Replaces the copy buffer of a favorites context by the favorites of `ids`
/// (stored favorites as stored, with their current names; library nodes as
/// new favorites of them), for a later FavoritePaste. E_INVALIDARG for a null,
/// empty or non-favorites context; E_FAIL when some id gave no favorite (an
/// empty handle, a node whose library is unknown), the others being kept.
VARDEL_API HRESULT SaveCopiedFavorites(const CContext* ctx, const std::vector<CBrowseId>& ids);

}  // namespace Vardel
