// The catalogue server's answers, one method per service call, read from an
// open catalogue database. Every call on a library first finds the library
// for the caller (user name: SecurityContext::Text(1)); a missing library
// and one the caller may not read fail alike, with kUnknownLibrary, which
// names nothing of the library. Logical failures throw
// TarnServerProxies::ProxyError; engine failures DatabaseError, which the
// public server turns into ProxyError. Not thread-safe: CCatalogServer
// serialises the calls.
#pragma once

#include <memory>
#include <string>

#include "store/catalog_queries.h"
#include "store/catalog_queries_nodes.h"
#include "store/library_queries.h"
#include "store/property_queries.h"
#include "vardel/server_backend.h"

namespace VardelCatalog {

inline constexpr char kUnknownLibrary[] = "unknown library";

class CatalogService final : public TarnServerProxies::IServerBackend {
  public:
    using Guid = Vardel::Guid;

    /// Takes over `database`; null with `error` set when it holds no
    /// catalogue of this build's format.
    static std::unique_ptr<CatalogService> Open(std::unique_ptr<Database> database,
                                                std::string& error);

    CatalogService(const CatalogService&) = delete;
    CatalogService& operator=(const CatalogService&) = delete;

    /// Starts and ends the transaction of one call, so its statements see
    /// one state of the file.
    void BeginCall();
    void EndCall(bool succeeded) noexcept;

    std::vector<Guid> GetCategoryRoots(const SecurityContext& security, const std::wstring& library,
                                       const TarnServerProxies::Content::DBFilter& filter) override;
    std::vector<Guid> GetCategoriesByParent(
        const SecurityContext& security, const std::wstring& library, const Guid& parent,
        bool allLevels, const TarnServerProxies::Content::DBFilter& filter) override;
    std::vector<Guid> GetFamiliesByCategory(
        const SecurityContext& security, const std::wstring& library, const Guid& category,
        const TarnServerProxies::Content::DBFilter& filter) override;
    std::vector<Guid> GetCategoriesByFamily(const SecurityContext& security,
                                            const std::wstring& library,
                                            const Guid& family) override;
    Guid GetParentCategory(const SecurityContext& security, const std::wstring& library,
                           const Guid& category) override;
    std::vector<Guid> GetAllFamilies(const SecurityContext& security,
                                     const std::wstring& library) override;
    TarnServerProxies::PropertyValues GetCategoryPropertyValues(
        const SecurityContext& security, const std::wstring& library,
        const std::vector<Guid>& nodes, const std::vector<Guid>& keys,
        const std::wstring& language) override;
    TarnServerProxies::PropertyValues GetFamilyPropertyValues(
        const SecurityContext& security, const std::wstring& library,
        const std::vector<Guid>& nodes, const std::vector<Guid>& keys,
        const std::wstring& language) override;
    TarnServerProxies::PropertyValues GetCategoryParameterPropertyValues(
        const SecurityContext& security, const std::wstring& library,
        const std::vector<Guid>& nodes, const std::vector<Guid>& keys,
        const std::wstring& language) override;
    std::vector<Guid> GetCategoryParametersByCategory(const SecurityContext& security,
                                                      const std::wstring& library,
                                                      const Guid& category, bool flag) override;
    std::vector<Guid> GetCategoryParametersByParameter(const SecurityContext& security,
                                                       const std::wstring& library,
                                                       const Guid& parameter) override;
    std::wstring GetCategoryTreeByFamily(const SecurityContext& security,
                                         const std::wstring& library, const Guid& family,
                                         std::int32_t treeType,
                                         const std::wstring& language) override;
    std::wstring Search(const SecurityContext& security, const std::wstring& library,
                        const TarnServerProxies::Content::ContentQuery& query,
                        bool recursive) override;
    void GetFamilyAspect(const SecurityContext& security, const std::wstring& library,
                         const Guid& family, const std::wstring& aspectName,
                         const std::wstring& reserved, std::vector<std::uint8_t>& bytes) override;

    Guid CurrentPartitionId() override;
    std::vector<TarnServerProxies::KnowledgeLibrary> FindKnowledgeLibraries(
        const SecurityContext& security, const std::vector<Guid>& ids,
        const Guid& partition) override;
    std::vector<TarnServerProxies::KnowledgeLibrary> FindKnowledgeLibrariesByNames(
        const SecurityContext& security, const std::vector<std::wstring>& names) override;

  private:
    CatalogService(std::unique_ptr<Database> database, const Guid& partition);

    /// The library `name` readable by the caller; throws kUnknownLibrary.
    LibraryRow Library(const SecurityContext& security, const std::wstring& name);
    TarnServerProxies::PropertyValues PropertyValues(NodeKind kind, const SecurityContext& security,
                                                     const std::wstring& library,
                                                     const std::vector<Guid>& nodes,
                                                     const std::vector<Guid>& keys,
                                                     const std::wstring& language);

    std::unique_ptr<Database> database_;
    StatementCache cache_;
    NodeListTable nodes_;
    Guid partition_;
};

}  // namespace VardelCatalog
