// CCatalogServer: opens the file, then passes every call to the one
// CatalogService under the server's mutex, inside one read transaction,
// and turns engine failures into the interface's ProxyError.
#include "vardel/catalog/catalog_server.h"

#include <exception>
#include <system_error>

#include "service/catalog_service.h"
#include "store/sqlite_database.h"

namespace VardelCatalog {

using Vardel::Guid;

namespace {

using TarnServerProxies::ProxyError;

// One call's transaction: committed when the call returns, undone when it
// throws.
class CallScope {
  public:
    explicit CallScope(CatalogService& service)
        : service_(service), exceptions_(std::uncaught_exceptions()) {
        service_.BeginCall();
    }
    ~CallScope() { service_.EndCall(std::uncaught_exceptions() == exceptions_); }
    CallScope(const CallScope&) = delete;
    CallScope& operator=(const CallScope&) = delete;

  private:
    CatalogService& service_;
    int exceptions_;
};

template <typename Call>
auto Serve(std::mutex& mutex, CatalogService& service, const Call& call) {
    std::lock_guard lock(mutex);
    try {
        CallScope scope(service);
        return call(service);
    } catch (const DatabaseError& error) {
        throw ProxyError(std::string("catalogue database failure: ") + error.what());
    }
}

}  // namespace

std::shared_ptr<CCatalogServer> CCatalogServer::Open(const std::filesystem::path& file,
                                                     std::string& error) {
    std::error_code code;
    if (!std::filesystem::is_regular_file(file, code)) {
        error = file.string() + ": no such catalogue file";
        return nullptr;
    }
    try {
        std::string reason;
        auto service = CatalogService::Open(OpenSqliteDatabase(file), reason);
        if (!service) {
            error = file.string() + ": " + reason;
            return nullptr;
        }
        return std::shared_ptr<CCatalogServer>(new CCatalogServer(std::move(service)));
    } catch (const DatabaseError& failure) {
        error = failure.what();
        return nullptr;
    }
}

CCatalogServer::CCatalogServer(std::unique_ptr<CatalogService> service)
    : service_(std::move(service)) {}

CCatalogServer::~CCatalogServer() = default;

std::vector<Guid> CCatalogServer::GetCategoryRoots(
    const SecurityContext& security, const std::wstring& library,
    const TarnServerProxies::Content::DBFilter& filter) {
    return Serve(mutex_, *service_, [&](CatalogService& service) {
        return service.GetCategoryRoots(security, library, filter);
    });
}

std::vector<Guid> CCatalogServer::GetCategoriesByParent(
    const SecurityContext& security, const std::wstring& library, const Guid& parent,
    bool allLevels, const TarnServerProxies::Content::DBFilter& filter) {
    return Serve(mutex_, *service_, [&](CatalogService& service) {
        return service.GetCategoriesByParent(security, library, parent, allLevels, filter);
    });
}

std::vector<Guid> CCatalogServer::GetFamiliesByCategory(
    const SecurityContext& security, const std::wstring& library, const Guid& category,
    const TarnServerProxies::Content::DBFilter& filter) {
    return Serve(mutex_, *service_, [&](CatalogService& service) {
        return service.GetFamiliesByCategory(security, library, category, filter);
    });
}

std::vector<Guid> CCatalogServer::GetCategoriesByFamily(const SecurityContext& security,
                                                        const std::wstring& library,
                                                        const Guid& family) {
    return Serve(mutex_, *service_, [&](CatalogService& service) {
        return service.GetCategoriesByFamily(security, library, family);
    });
}

Guid CCatalogServer::GetParentCategory(const SecurityContext& security, const std::wstring& library,
                                       const Guid& category) {
    return Serve(mutex_, *service_, [&](CatalogService& service) {
        return service.GetParentCategory(security, library, category);
    });
}

std::vector<Guid> CCatalogServer::GetAllFamilies(const SecurityContext& security,
                                                 const std::wstring& library) {
    return Serve(mutex_, *service_, [&](CatalogService& service) {
        return service.GetAllFamilies(security, library);
    });
}

TarnServerProxies::PropertyValues CCatalogServer::GetCategoryPropertyValues(
    const SecurityContext& security, const std::wstring& library, const std::vector<Guid>& nodes,
    const std::vector<Guid>& keys, const std::wstring& language) {
    return Serve(mutex_, *service_, [&](CatalogService& service) {
        return service.GetCategoryPropertyValues(security, library, nodes, keys, language);
    });
}

TarnServerProxies::PropertyValues CCatalogServer::GetFamilyPropertyValues(
    const SecurityContext& security, const std::wstring& library, const std::vector<Guid>& nodes,
    const std::vector<Guid>& keys, const std::wstring& language) {
    return Serve(mutex_, *service_, [&](CatalogService& service) {
        return service.GetFamilyPropertyValues(security, library, nodes, keys, language);
    });
}

TarnServerProxies::PropertyValues CCatalogServer::GetCategoryParameterPropertyValues(
    const SecurityContext& security, const std::wstring& library, const std::vector<Guid>& nodes,
    const std::vector<Guid>& keys, const std::wstring& language) {
    return Serve(mutex_, *service_, [&](CatalogService& service) {
        return service.GetCategoryParameterPropertyValues(security, library, nodes, keys, language);
    });
}

std::vector<Guid> CCatalogServer::GetCategoryParametersByCategory(const SecurityContext& security,
                                                                  const std::wstring& library,
                                                                  const Guid& category, bool flag) {
    return Serve(mutex_, *service_, [&](CatalogService& service) {
        return service.GetCategoryParametersByCategory(security, library, category, flag);
    });
}

std::vector<Guid> CCatalogServer::GetCategoryParametersByParameter(const SecurityContext& security,
                                                                   const std::wstring& library,
                                                                   const Guid& parameter) {
    return Serve(mutex_, *service_, [&](CatalogService& service) {
        return service.GetCategoryParametersByParameter(security, library, parameter);
    });
}

std::wstring CCatalogServer::GetCategoryTreeByFamily(const SecurityContext& security,
                                                     const std::wstring& library,
                                                     const Guid& family, std::int32_t treeType,
                                                     const std::wstring& language) {
    return Serve(mutex_, *service_, [&](CatalogService& service) {
        return service.GetCategoryTreeByFamily(security, library, family, treeType, language);
    });
}

std::wstring CCatalogServer::Search(const SecurityContext& security, const std::wstring& library,
                                    const TarnServerProxies::Content::ContentQuery& query,
                                    bool recursive) {
    return Serve(mutex_, *service_, [&](CatalogService& service) {
        return service.Search(security, library, query, recursive);
    });
}

void CCatalogServer::GetFamilyAspect(const SecurityContext& security, const std::wstring& library,
                                     const Guid& family, const std::wstring& aspectName,
                                     const std::wstring& reserved,
                                     std::vector<std::uint8_t>& bytes) {
    Serve(mutex_, *service_, [&](CatalogService& service) {
        service.GetFamilyAspect(security, library, family, aspectName, reserved, bytes);
    });
}

Guid CCatalogServer::CurrentPartitionId() {
    return Serve(mutex_, *service_,
                 [](CatalogService& service) { return service.CurrentPartitionId(); });
}

std::vector<TarnServerProxies::KnowledgeLibrary> CCatalogServer::FindKnowledgeLibraries(
    const SecurityContext& security, const std::vector<Guid>& ids, const Guid& partition) {
    return Serve(mutex_, *service_, [&](CatalogService& service) {
        return service.FindKnowledgeLibraries(security, ids, partition);
    });
}

std::vector<TarnServerProxies::KnowledgeLibrary> CCatalogServer::FindKnowledgeLibrariesByNames(
    const SecurityContext& security, const std::vector<std::wstring>& names) {
    return Serve(mutex_, *service_, [&](CatalogService& service) {
        return service.FindKnowledgeLibrariesByNames(security, names);
    });
}

}  // namespace VardelCatalog
