// The content server as the library sees it: one abstract interface through
// which every service call of the proxy layer goes. A host attaches an
// implementation to the module runtime (see vardel/app.h); the embedded
// catalogue server and the test doubles are such implementations.
//
// Every call takes the caller's security context first and, except for the
// library lookups, the library name second. Identifiers are GUIDs. A backend
// reports every failure by throwing TarnServerProxies::ProxyError; the
// library's server bridge is the only caller and turns that into a status.
// Calls arrive on the host's threads; a backend shared by several contexts
// used on different threads must be safe for that.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "vardel/export.h"
#include "vardel/server_proxies.h"

namespace TarnServerProxies {

/// One answer per requested node and key, node-major; no value is empty.
using PropertyValues = std::vector<std::optional<std::wstring>>;

class VARDEL_API IServerBackend {
  public:
    using SecurityContext = Security::SecurityContext;

    virtual ~IServerBackend();

    // Content services.

    /// Ids of the root categories of `library` that pass `filter`.
    virtual std::vector<Guid> GetCategoryRoots(const SecurityContext& security,
                                               const std::wstring& library,
                                               const Content::DBFilter& filter) = 0;
    /// Ids of the sub-categories of `parent`, of every level when `allLevels`.
    virtual std::vector<Guid> GetCategoriesByParent(const SecurityContext& security,
                                                    const std::wstring& library, const Guid& parent,
                                                    bool allLevels,
                                                    const Content::DBFilter& filter) = 0;
    /// Ids of the families directly in `category`.
    virtual std::vector<Guid> GetFamiliesByCategory(const SecurityContext& security,
                                                    const std::wstring& library,
                                                    const Guid& category,
                                                    const Content::DBFilter& filter) = 0;
    /// Ids of the categories that hold `family`.
    virtual std::vector<Guid> GetCategoriesByFamily(const SecurityContext& security,
                                                    const std::wstring& library,
                                                    const Guid& family) = 0;
    /// The parent of `category`; the nil GUID for a root category.
    virtual Guid GetParentCategory(const SecurityContext& security, const std::wstring& library,
                                   const Guid& category) = 0;
    /// Ids of every family of `library`.
    virtual std::vector<Guid> GetAllFamilies(const SecurityContext& security,
                                             const std::wstring& library) = 0;
    /// Values of `keys` for each category of `nodes` in `language`,
    /// node-major; an unset or empty entry means "no value".
    virtual PropertyValues GetCategoryPropertyValues(const SecurityContext& security,
                                                     const std::wstring& library,
                                                     const std::vector<Guid>& nodes,
                                                     const std::vector<Guid>& keys,
                                                     const std::wstring& language) = 0;
    /// The same for families (and their members).
    virtual PropertyValues GetFamilyPropertyValues(const SecurityContext& security,
                                                   const std::wstring& library,
                                                   const std::vector<Guid>& nodes,
                                                   const std::vector<Guid>& keys,
                                                   const std::wstring& language) = 0;
    /// The same for category parameters.
    virtual PropertyValues GetCategoryParameterPropertyValues(const SecurityContext& security,
                                                              const std::wstring& library,
                                                              const std::vector<Guid>& nodes,
                                                              const std::vector<Guid>& keys,
                                                              const std::wstring& language) = 0;
    /// Ids of the category parameters of `category`; `flag` is passed through.
    virtual std::vector<Guid> GetCategoryParametersByCategory(const SecurityContext& security,
                                                              const std::wstring& library,
                                                              const Guid& category, bool flag) = 0;
    /// Ids of the category parameters related to `parameter`.
    virtual std::vector<Guid> GetCategoryParametersByParameter(const SecurityContext& security,
                                                               const std::wstring& library,
                                                               const Guid& parameter) = 0;
    /// The category tree of kind `treeType` of `family` as XML text in
    /// `language`; an empty text is a failure.
    virtual std::wstring GetCategoryTreeByFamily(const SecurityContext& security,
                                                 const std::wstring& library, const Guid& family,
                                                 std::int32_t treeType,
                                                 const std::wstring& language) = 0;
    /// Runs `query`; the result is the XML text of the answer element.
    virtual std::wstring Search(const SecurityContext& security, const std::wstring& library,
                                const Content::ContentQuery& query, bool recursive) = 0;
    /// Fills `bytes` with the aspect `aspectName` of `family` (UTF-8 XML);
    /// `reserved` is passed as an empty text.
    virtual void GetFamilyAspect(const SecurityContext& security, const std::wstring& library,
                                 const Guid& family, const std::wstring& aspectName,
                                 const std::wstring& reserved,
                                 std::vector<std::uint8_t>& bytes) = 0;

    // Knowledge-library services.

    /// The partition the libraries are looked up in.
    virtual Guid CurrentPartitionId() = 0;
    /// The libraries with the given ids in `partition`.
    virtual std::vector<KnowledgeLibrary> FindKnowledgeLibraries(const SecurityContext& security,
                                                                 const std::vector<Guid>& ids,
                                                                 const Guid& partition) = 0;
    /// The libraries with the given names; an unknown name gives a nil LibraryGuid.
    virtual std::vector<KnowledgeLibrary> FindKnowledgeLibrariesByNames(
        const SecurityContext& security, const std::vector<std::wstring>& names) = 0;
};

}  // namespace TarnServerProxies
