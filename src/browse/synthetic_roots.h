// The one folder of a search-results or history context: its root, made
// with the fixed internal name of that root (search: SEARCH_ROOT_ID, history:
// HISTORY_ROOT_ID), and the navigation around it. The root has no
// sub-folders, is the parent of every folder, holds the items of the
// context's store and is the folder of every item the store holds (ids
// compared without regard to case). Every function expects a context of
// SearchBrowsing or HistoryBrowsing.
#pragma once

#include <string>
#include <vector>

#include "api/context_impl.h"
#include "browse/root_items.h"
#include "vardel/browse_id.h"
#include "vardel/context.h"
#include "vardel/status.h"

namespace VardelBrowse {

/// The store behind the root of `context`: the history of a history context,
/// the stored search results of a search context; null for other contexts.
const RootItemSource* RootItemsOf(ContextImpl& context);

/// A new root of the context's kind, remembering `ctx` (which may be null).
Vardel::CBrowseId MakeRoot(const ContextImpl& context, const Vardel::CContext* ctx);

/// Replaces `roots` by the root, made with `ctx`.
HRESULT RootFolders(const Vardel::CContext* ctx, ContextImpl& context,
                    std::vector<Vardel::CBrowseId>& roots);
/// Replaces `folders` by the root when the store holds `item`, else empties it.
HRESULT RootFoldersByItem(const Vardel::CContext* ctx, ContextImpl& context,
                          const Vardel::CBrowseId& item, std::vector<Vardel::CBrowseId>& folders);
/// The items of the store in the context's libraries, by the item-id
/// conversion; E_FAIL when the context has no store.
HRESULT RootChildItems(const Vardel::CContext* ctx, ContextImpl& context,
                       std::vector<Vardel::CBrowseId>& items);

}  // namespace VardelBrowse
