// Navigation of the server's libraries (contexts of LibraryBrowsing, and the
// item lookups that history contexts share). Every worker asks the server
// bridge once per library, collects the ids into one map from id to the
// libraries that returned it, merges the nodes found in several libraries and
// turns every merged item into a browse identifier made with `ctx`.
//
// Output rules shared by the workers: a failing library request ends the
// worker with its status before the output is touched; when nothing is found
// the output stays as the caller passed it; otherwise it is cleared and
// filled in id order. Item lists and the single-node lookups keep only the
// items that some library confirmed in the merge; folder lists keep all.
// Every worker refuses a null or empty context, and an empty identifier where
// it takes one, with E_INVALIDARG.
#pragma once

#include <string>
#include <vector>

#include "browse/library_item.h"
#include "vardel/browse_id.h"
#include "vardel/context.h"
#include "vardel/status.h"

namespace VardelBrowse {

using BrowseIds = std::vector<Vardel::CBrowseId>;

/// Root categories of every library of the context.
HRESULT LibraryRoots(const Vardel::CContext* ctx, BrowseIds& folders);
/// Sub-categories of `parent` (a category or category parameter) in its
/// libraries, of every level when `allLevels`.
HRESULT LibrarySubFolders(const Vardel::CContext* ctx, const Vardel::CBrowseId& parent,
                          bool allLevels, BrowseIds& folders);
/// Families of the category `parent` (or category parameter) in its libraries.
HRESULT LibraryChildItems(const Vardel::CContext* ctx, const Vardel::CBrowseId& parent,
                          BrowseIds& items);
/// Categories of every library that hold the family `item` (members are refused).
HRESULT LibraryFoldersByItem(const Vardel::CContext* ctx, const Vardel::CBrowseId& item,
                             BrowseIds& folders);
/// The parent of the category `folder` in its first library; an empty handle
/// for a root category.
HRESULT LibraryParentFolder(const Vardel::CContext* ctx, const Vardel::CBrowseId& folder,
                            Vardel::CBrowseId& parent);
/// Every family of every library of the context.
HRESULT LibraryAllItems(const Vardel::CContext* ctx, BrowseIds& items);
/// The category `name` as the context's libraries know it; `id` unchanged when none does.
HRESULT LibraryFolderId(const Vardel::CContext* ctx, const std::wstring& name,
                        Vardel::CBrowseId& id);
/// The family `name` as the context's libraries know it; `id` unchanged when none does.
HRESULT LibraryItemId(const Vardel::CContext* ctx, const std::wstring& name, Vardel::CBrowseId& id);
/// A category parameter `name` under `parent` (a category or category
/// parameter), with the parent's libraries; asks no server.
HRESULT LibraryCategoryParameterId(const Vardel::CContext* ctx, const std::wstring& name,
                                   const Vardel::CBrowseId& parent, Vardel::CBrowseId& id);

/// The item-id conversion of the stores: merges the family ids of `collected`
/// and fills `items` with the confirmed ones, by the output rules above.
HRESULT ConvertItemIds(const Vardel::CContext* ctx, CollectedIds collected, BrowseIds& items);

/// The libraries of a category or category parameter; null for other kinds
/// and empty handles.
const std::vector<std::wstring>* FolderLibraries(const Vardel::CBrowseId& id);

}  // namespace VardelBrowse
