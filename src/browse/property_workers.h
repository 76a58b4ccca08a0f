// The workers behind the exported property readers. The library workers
// group the nodes by library, ask each library once for all its nodes, and
// lay the answers out again in the caller's node order; a node passed twice
// is asked once and answered twice. The root worker answers the folder
// properties of the search or history root from the context's store.
#pragma once

#include <string>
#include <vector>

#include "api/context_impl.h"
#include "browse/property_request.h"
#include "vardel/browse_id.h"
#include "vardel/return_value.h"
#include "vardel/status.h"

namespace VardelBrowse {

using Keys = std::vector<std::wstring>;
using Values = std::vector<Vardel::ReturnValue>;

/// Which nodes a library worker takes; the others answer ItemNotFound.
enum class NodeKinds {
    Folders,             ///< categories
    Items,               ///< families and members alike
    CategoryParameters,  ///< category parameters
};

/// Clears `values` and fills it with nodes x keys answers, asking `request`
/// once per library (in library-name order). S_OK when the answers add up,
/// E_FAIL otherwise; a failing request only leaves its nodes unanswered.
HRESULT LibraryProperties(const ContextImpl& context, const std::vector<Vardel::CBrowseId>& ids,
                          const Keys& keys, NodeKinds kinds, PropertyRequest request,
                          Values& values);

/// The library folder, item and category-parameter workers.
HRESULT LibraryFolderProperties(const ContextImpl& context,
                                const std::vector<Vardel::CBrowseId>& ids, const Keys& keys,
                                Values& values);
HRESULT LibraryItemProperties(const ContextImpl& context, const std::vector<Vardel::CBrowseId>& ids,
                              const Keys& keys, Values& values);
/// The item worker of search contexts: asks the libraries as the library
/// item worker does and keeps every answer in the family node's property
/// cache (an answer without value as an empty text; a member keeps a
/// FAM_DESCRIPTION it already holds; a node its library did not answer keeps
/// its cache as it was), then answers every node and key from that cache: a
/// cached key with NoError, another key NoValue, a node that is not a family
/// or member ItemNotFound. Always S_OK.
HRESULT SearchItemProperties(const ContextImpl& context, const std::vector<Vardel::CBrowseId>& ids,
                             const Keys& keys, Values& values);
HRESULT CategoryParameterProperties(const ContextImpl& context,
                                    const std::vector<Vardel::CBrowseId>& ids, const Keys& keys,
                                    Values& values);

/// Clears `values` and answers each key once for the root of a search or
/// history context (keys compared case-sensitively); always S_OK.
HRESULT RootFolderProperties(ContextImpl& context, const Keys& keys, Values& values);

}  // namespace VardelBrowse
