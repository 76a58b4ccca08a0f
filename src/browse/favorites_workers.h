// The property workers of favorites contexts. Favorites folders answer from
// the favorites store; favorite categories and items take the library's
// answers first and then put the favorite's own display name, when it has
// one, in place of the library's. Both clear the caller's output first and
// answer nodes x keys, node-major, in input order.
#pragma once

#include <string>
#include <vector>

#include "api/context_impl.h"
#include "vardel/browse_id.h"
#include "vardel/return_value.h"
#include "vardel/status.h"

namespace VardelBrowse {

/// Folders of a favorites context: every id must be a favorites folder or a
/// favorite category (E_INVALIDARG otherwise, also for a folder whose display
/// name the store does not know). Keys are compared without regard to case:
/// FLD_DISPLAYNAME (the stored name; for a category the favorite's own name,
/// else the library's), FLD_ISVISIBLE ("true"), FLD_HASANYCHILD (whether the
/// node lists any child item; a failing listing ends the call with its
/// status), FLD_ICON (a category's library answer); every other key NoValue.
/// A folder of a store that was not loaded answers ItemNotFound.
HRESULT FavoritesFolderProperties(const Vardel::CContext* ctx, ContextImpl& context,
                                  const std::vector<Vardel::CBrowseId>& ids,
                                  const std::vector<std::wstring>& keys,
                                  std::vector<Vardel::ReturnValue>& values);

/// Items of a favorites context: every id must be a family or member
/// (E_INVALIDARG otherwise). The library's answers, with FAM_DISPLAYNAME
/// replaced by the favorite's own non-empty display name. E_FAIL when the
/// answers do not add up to nodes x keys.
HRESULT FavoritesItemProperties(ContextImpl& context, const std::vector<Vardel::CBrowseId>& ids,
                                const std::vector<std::wstring>& keys,
                                std::vector<Vardel::ReturnValue>& values);

/// The custom values of a favorite member as the XML text of a "CustomValues"
/// element with one "Column" (attributes "Id" and "Value") per value in
/// ascending column order. E_INVALIDARG when the store holds no member entry
/// for `id`.
HRESULT FavoritesCustomValues(ContextImpl& context, const Vardel::CBrowseId& id, std::wstring& xml);

}  // namespace VardelBrowse
