// The favorites editor behind StoreFavoritesEditResults and
// SaveCopiedFavorites: applies the edit elements of an editor's XML text to a
// favorites store, fills its copy buffer and pastes it. Edits change the
// store's index, display-name map and kept elements in memory; only the
// exported entry point saves, and only after something changed. Functions
// that fail report it as a status and keep what was applied before the fault.
#pragma once

#include <string>
#include <vector>

#include "stores/favorites_store.h"
#include "vardel/favorites.h"

namespace VardelFavorites {

/// A new internal name: a fresh GUID as 32 upper-case hexadecimal digits.
std::wstring NewInternalName();

/// Applies `editText` for `operation` with the ids' targets to `store`,
/// setting `changed` once one element was applied; never saves.
HRESULT ApplyEditText(const Vardel::CContext* ctx, CFavoritesData& store,
                      const std::vector<Vardel::CBrowseId>& ids, const wchar_t* editText,
                      Vardel::EFavoriteOperation operation, bool& changed);

/// Fills the copy buffer of `store` with the favorites of `ids`: S_OK when
/// every id gave one, E_FAIL otherwise.
HRESULT CopyFavorites(const Vardel::CContext* ctx, CFavoritesData& store,
                      const std::vector<Vardel::CBrowseId>& ids);

/// Pastes the copy buffer into the favorites folder `target`, leaving out
/// favorites whose display name (any case) a child of the target already has;
/// `changed` is set when one was pasted. E_INVALIDARG for an incomplete
/// buffer or a target that is not a favorites folder; a failing property
/// reader returns its status. Nothing is changed on failure.
HRESULT PasteFavorites(const Vardel::CContext* ctx, CFavoritesData& store,
                       const Vardel::CBrowseId& target, bool& changed);

/// Removes the index of `path` and of every path below it.
void DropSubIndex(CFavoritesData::EntryIndex& index, const std::wstring& path);

}  // namespace VardelFavorites
