// Running a content search in a search context, keeping its results, and
// listing the distinct values of a category parameter.
//
// A search asks every library of the context in turn; a library that fails
// is skipped, and only when all fail is the search a failure. The items
// found are named under the library of their newest copy (as browsing does)
// and pass the context's item filter. Each found row becomes one browse
// identifier carrying the row's returned values as its cached properties:
// a member identifier when the query asks for the member id and the row has
// one, a family identifier otherwise.
//
// The results a host keeps (StoreSearchResults) are the children of the
// search root and live in "TarnSearch.bin" in the context's storage folder.
#pragma once

#include <string>
#include <vector>

#include "vardel/browse_id.h"
#include "vardel/context.h"
#include "vardel/export.h"
#include "vardel/search_query.h"
#include "vardel/status.h"

namespace Vardel {

/// Runs `query` (null: an empty query) in every library of a search context
/// and appends one identifier per found row to `ids`, families in id order
/// and their rows in the server's order. E_INVALIDARG for a null or empty
/// context or one that does not browse search results; E_FAIL when every
/// library failed; S_OK otherwise, with `ids` untouched when nothing was found.
VARDEL_API HRESULT Search(const CContext* ctx, const CSearchQueryData* query,
                          std::vector<CBrowseId>& ids);

/// Assigns to `values` the distinct non-empty values (ascending, case
/// sensitive) of the category parameter `parameter` found in the libraries
/// of the context, of any browsing type. S_OK when some library answered (or
/// the context has none); otherwise the status of the last failed library,
/// with `values` emptied. E_INVALIDARG for a null or empty context.
VARDEL_API HRESULT SearchCatParamData(const CContext* ctx, const std::wstring& parameter,
                                      std::vector<std::wstring>& values);

/// Makes `ids` the stored results of a search context (each non-empty id
/// with its member id and cached properties, in order) and saves them; with
/// `saveOnly` the stored results are saved again as they are and `ids` is
/// not read. E_INVALIDARG for a null or empty context or one that does not
/// browse search results; E_FAIL when the file cannot be written.
VARDEL_API HRESULT StoreSearchResults(const CContext* ctx, const std::vector<CBrowseId>& ids,
                                      bool saveOnly);

}  // namespace Vardel
