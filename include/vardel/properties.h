// Properties of browsing nodes. A property is named by one of the keys of
// vardel/constants.h; the readers answer one ReturnValue per node and key,
// node-major (all keys of the first node in key order, then the next node),
// in the order the nodes were passed, even when they come from several
// libraries. A node the server did not answer, an empty handle, or a node of
// a kind the reader does not take gets ItemNotFound for every key; a key the
// node does not have gets NoValue.
//
// The property readers clear their output first, refuse a null or empty
// context with E_INVALIDARG, and return E_FAIL when the answers do not add
// up to (nodes x keys); search items answer from their cache and always
// succeed. The roots of search and history contexts answer once per
// key, whatever the number of nodes, from local knowledge: FLD_DISPLAYNAME,
// FLD_ISVISIBLE ("true"), FLD_REFGUID (the root's id) and FLD_HASANYCHILD.
// In favorites contexts folders answer from the favorites store (keys
// compared without regard to case) and favorite categories and items show
// the favorite's own display name in place of the library's. Calls run on
// the caller's thread; one thread at a time per context.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "vardel/browse_id.h"
#include "vardel/context.h"
#include "vardel/export.h"
#include "vardel/return_value.h"
#include "vardel/status.h"

namespace Vardel {

/// Kind of category tree asked of the server; the values and their meaning
/// are the server's and are passed through unchanged.
enum ECategoryTreeType : std::int32_t {};

/// Properties of folders: library categories, the root of a search or
/// history context, or favorites folders and favorite categories (any other
/// node in a favorites context: E_INVALIDARG).
VARDEL_API HRESULT GetFoldersProperties(const CContext* ctx, const std::vector<CBrowseId>& ids,
                                        const std::vector<std::wstring>& keys,
                                        std::vector<ReturnValue>& values);
/// Properties of families and members (in a favorites context any other
/// node gives E_INVALIDARG).
VARDEL_API HRESULT GetItemsProperties(const CContext* ctx, const std::vector<CBrowseId>& ids,
                                      const std::vector<std::wstring>& keys,
                                      std::vector<ReturnValue>& values);
/// Properties of category parameters (CP_ keys; library contexts only).
VARDEL_API HRESULT GetCategoryParameterPropertyValues(const CContext* ctx,
                                                      const std::vector<CBrowseId>& ids,
                                                      const std::vector<std::wstring>& keys,
                                                      std::vector<ReturnValue>& values);

/// APPENDS the category parameters of a library category to `parameters`, in
/// the server's order; `flag` is passed to the server. A failing request
/// appends nothing. Other contexts, empty or other handles: E_INVALIDARG.
VARDEL_API HRESULT GetCategoryParametersByCategory(const CContext* ctx, const CBrowseId& category,
                                                   std::vector<CBrowseId>& parameters, bool flag);
/// The same for the parameters related to a category parameter.
VARDEL_API HRESULT GetCategoryParametersByCategoryParameter(const CContext* ctx,
                                                            const CBrowseId& parameter,
                                                            std::vector<CBrowseId>& parameters);
/// Assigns the server's category tree (XML text) of a family or member in
/// its library (library contexts only); `xml` untouched on failure.
VARDEL_API HRESULT GetCategoryTreeByFamily(const CContext* ctx, const CBrowseId& family,
                                           ECategoryTreeType type, std::wstring& xml);
/// The custom values of a favorite member as the XML text of a
/// "CustomValues" element holding one "Column" element (attributes "Id" and
/// "Value") per value, in column order. Favorites contexts only; E_INVALIDARG
/// for any other context and for a node that is no favorite member.
VARDEL_API HRESULT GetCustomValuesXML(const CContext* ctx, const CBrowseId& id, std::wstring& xml);

}  // namespace Vardel
