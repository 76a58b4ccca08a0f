// The embedded catalogue server: a content server over one catalogue file
// built by ImportCatalog, opened read-only. A host attaches it when it has
// no content server of its own:
//
//     std::string error;
//     auto server = VardelCatalog::CCatalogServer::Open("parts.catalog", error);
//     if (!server) { report(error); }
//     CVardelApp::Instance().AttachBackend(server);
//
// It answers every service call of TarnServerProxies::IServerBackend from
// the file (what each call answers is documented in docs/catalog-format.md).
// The caller's user name is SecurityContext::Text(1); a library that lists
// its readers fails every call of anybody else exactly as an unknown library
// does. Failures are thrown as TarnServerProxies::ProxyError, as the
// interface requires. Calls may come from several threads: they are
// serialised on one connection.
#pragma once

#include <filesystem>
#include <memory>
#include <mutex>
#include <string>

#include "vardel/export.h"
#include "vardel/server_backend.h"

namespace VardelCatalog {

class CatalogService;

class VARDEL_API CCatalogServer final : public TarnServerProxies::IServerBackend {
  public:
    using Guid = Vardel::Guid;

    /// Opens `file`; null with `error` set (UTF-8) when it is missing, is not
    /// a catalogue file or is damaged.
    static std::shared_ptr<CCatalogServer> Open(const std::filesystem::path& file,
                                                std::string& error);

    ~CCatalogServer() override;
    CCatalogServer(const CCatalogServer&) = delete;
    CCatalogServer& operator=(const CCatalogServer&) = delete;

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
    explicit CCatalogServer(std::unique_ptr<CatalogService> service);

    std::mutex mutex_;
    std::unique_ptr<CatalogService> service_;
};

}  // namespace VardelCatalog
