// The server bridge: the one place where native requests become calls of the
// content server's proxy interface. Every operation takes the context's
// state, converts the plain native arguments (identifiers as GUID texts, the
// library as plain text), makes one service call (two for library names),
// converts the answer back and reports every outcome as a status; nothing is
// cached and nothing throws.
//
// Shared rules of every operation that has a context:
//  - no security object in the context: E_INVALIDARG before any output is
//    touched;
//  - a server failure, or an identifier text that is not a GUID: E_FAIL, and
//    the outputs keep what was written before the failure (an output that is
//    "cleared" has been cleared by then);
//  - identifiers coming back are lower-case GUID texts without braces.
// Navigation requests send the context's filter converted anew each time; a
// context without a filter sends a default FilterStruct.
// Stateless: as safe on several threads as the attached backend.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "api/context_impl.h"
#include "vardel/derived_family_link_names.h"
#include "vardel/return_value.h"
#include "vardel/search_query.h"
#include "vardel/server_proxies.h"
#include "vardel/status.h"

/// An owned, converted search query, made by CreateContentQuery and freed by
/// DeleteContentQuery.
struct ContentQueryHandle {
    TarnServerProxies::Content::ContentQuery query;
};

class ServerProxiesProvider {
  public:
    using Ids = std::vector<std::wstring>;
    /// The nodes of a property request: views of texts the caller keeps, so
    /// that a request for many nodes copies none of them.
    using IdViews = std::vector<std::wstring_view>;
    using Values = std::vector<Vardel::ReturnValue>;

    ServerProxiesProvider() = delete;

    // Navigation.

    /// Root categories of `library`. Clears `ids` first.
    static HRESULT GetFoldersRoots(const ContextImpl& context, const std::wstring& library,
                                   Ids& ids);
    /// Sub-categories of `parentId`, of every level when `allLevels`. Appends to `ids`.
    static HRESULT GetSubFolders(const ContextImpl& context, const std::wstring& library,
                                 const std::wstring& parentId, Ids& ids, bool allLevels);
    /// Families directly in `categoryId`. Clears `ids` first.
    static HRESULT GetChildItems(const ContextImpl& context, const std::wstring& library,
                                 const std::wstring& categoryId, Ids& ids);
    /// Categories that hold `familyId`. Appends to `ids`.
    static HRESULT GetCategoriesByFamily(const ContextImpl& context, const std::wstring& library,
                                         const std::wstring& familyId, Ids& ids);
    /// Every family of `library`. Appends to `ids`.
    static HRESULT GetAllFamilies(const ContextImpl& context, const std::wstring& library,
                                  Ids& ids);
    /// Assigns the parent of `categoryId` to `parentId`, empty for a root
    /// category. A failure's text also goes to the debug output.
    static HRESULT GetParentCategory(const ContextImpl& context, const std::wstring& library,
                                     const std::wstring& categoryId, std::wstring& parentId);

    // Category parameters: the node comes first, the library second.

    /// Parameters of `categoryId`; `flag` is passed through. Clears `ids` first.
    static HRESULT GetCategoryParametersByCategory(const ContextImpl& context,
                                                   const std::wstring& categoryId,
                                                   const std::wstring& library, Ids& ids,
                                                   bool flag);
    /// Parameters related to `parameterId`. Clears `ids` first.
    static HRESULT GetCategoryParametersByParameter(const ContextImpl& context,
                                                    const std::wstring& parameterId,
                                                    const std::wstring& library, Ids& ids);

    // Properties in the context's language: one result per answer of the
    // server, node-major; a null or empty answer is NoValue. Clear `values` first.

    static HRESULT GetCategoryPropertyValues(const ContextImpl& context, const IdViews& ids,
                                             const Ids& keys, const std::wstring& library,
                                             Values& values);
    static HRESULT GetFamilyPropertyValues(const ContextImpl& context, const IdViews& ids,
                                           const Ids& keys, const std::wstring& library,
                                           Values& values);
    static HRESULT GetCategoryParameterPropertyValues(const ContextImpl& context,
                                                      const IdViews& ids, const Ids& keys,
                                                      const std::wstring& library, Values& values);

    /// Assigns the category tree of `familyId` (XML text) to `xml`; an empty
    /// answer is E_FAIL with `xml` untouched.
    static HRESULT GetCategoryTreeByFamily(const ContextImpl& context, const std::wstring& library,
                                           const std::wstring& familyId, std::int32_t treeType,
                                           std::wstring& xml);

    // Search.

    /// Runs `query` in `library` and assigns the answer's XML text to `xml`.
    /// A null query (one that could not be converted) is E_FAIL.
    static HRESULT Search(const ContextImpl& context, const std::wstring& library, bool recursive,
                          const ContentQueryHandle* query, std::wstring& xml);
    /// The converted `query` (null: an empty one) in `language`, or null when
    /// a "Tolerance" attribute is not a decimal number.
    static ContentQueryHandle* CreateContentQuery(const Vardel::CSearchQueryData* query,
                                                  const std::wstring& language);
    /// Frees a handle of CreateContentQuery; null is ignored.
    static void DeleteContentQuery(ContentQueryHandle* handle);

    // Libraries.

    /// Appends the name of every library the server finds for `ids`, in its order.
    static HRESULT GetLibraryNamesByLibraryIds(const ContextImpl& context, const Ids& ids,
                                               std::vector<std::wstring>& names);
    /// Appends the id of every library the server finds for `names`, in its
    /// order; the first unknown name stops with E_INVALIDARG, the ids before
    /// it staying appended.
    static HRESULT GetLibraryIdsByLibraryNames(const ContextImpl& context,
                                               const std::vector<std::wstring>& names, Ids& ids);

    /// Reads the parent library and family names from the derived-family
    /// link aspect of `familyId` and assigns both fields of `names` (a name
    /// the aspect lacks is empty). E_FAIL, `names` untouched, when the server
    /// fails or sends no text.
    static HRESULT GetDerivedFamilyLinkNamesOffline(const ContextImpl& context,
                                                    const std::wstring& library,
                                                    const std::wstring& familyId,
                                                    Vardel::DerivedFamilyLinkNames& names);
};

/// Frees a ContentQueryHandle through DeleteContentQuery.
struct ContentQueryDeleter {
    void operator()(ContentQueryHandle* handle) const {
        ServerProxiesProvider::DeleteContentQuery(handle);
    }
};
using ContentQueryPtr = std::unique_ptr<ContentQueryHandle, ContentQueryDeleter>;
