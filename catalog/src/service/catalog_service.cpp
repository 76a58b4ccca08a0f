// The service calls over the store's queries: find the caller's library,
// run the call's one query, shape the answer.
#include "service/catalog_service.h"

#include "common/utf8.h"
#include "service/catalog_search.h"
#include "service/category_tree_xml.h"
#include "service/family_aspects.h"
#include "source/source_values.h"
#include "store/family_queries.h"
#include "store/navigation_queries.h"
#include "store/parameter_queries.h"
#include "store/schema.h"

namespace VardelCatalog {

using Vardel::Guid;

namespace {

using TarnServerProxies::KnowledgeLibrary;
using TarnServerProxies::ProxyError;

// Statements whose text depends on a filter's lists are cached by text;
// beyond this many the cache starts afresh.
constexpr std::size_t kCachedStatements = 256;

// Names in `language`, else in the library's default language.
NameLanguages LanguagesFor(const LibraryRow& library, const std::wstring& language) {
    return {VardelCommon::ToUtf8(LanguageKey(language)), library.defaultLanguage};
}

const std::wstring& UserOf(const TarnServerProxies::Security::SecurityContext& security) {
    return security.Text(1);
}

}  // namespace

std::unique_ptr<CatalogService> CatalogService::Open(std::unique_ptr<Database> database,
                                                     std::string& error) {
    StatementCache probe(*database);
    std::optional<std::string> format;
    try {
        format = CatalogInfo(probe, "format");
    } catch (const DatabaseError&) {
        format.reset();
    }
    if (!format) {
        error = "not a catalogue file";
        return nullptr;
    }
    if (*format != kCatalogFormat) {
        error = "a catalogue of format " + *format + "; this server reads format " +
                std::string(kCatalogFormat);
        return nullptr;
    }
    const std::optional<std::string> partition = CatalogInfo(probe, "partition");
    const auto id = partition ? Guid::Parse(VardelCommon::FromUtf8(*partition)) : std::nullopt;
    return std::unique_ptr<CatalogService>(
        new CatalogService(std::move(database), id.value_or(Guid())));
}

CatalogService::CatalogService(std::unique_ptr<Database> database, const Guid& partition)
    : database_(std::move(database)), cache_(*database_), nodes_(cache_), partition_(partition) {}

void CatalogService::BeginCall() {
    cache_.Trim(kCachedStatements);
    database_->Begin();
}

// A call that succeeded commits, so that the node table keeps the nodes
// it was filled with for the next call.
void CatalogService::EndCall(bool succeeded) noexcept {
    try {
        if (succeeded) {
            database_->Commit();
            return;
        }
    } catch (const DatabaseError&) {
        // Undone below like a failed call.
    }
    nodes_.Forget();
    try {
        database_->Rollback();
    } catch (const DatabaseError&) {
        // Nothing was written to the file; the next Begin starts afresh.
    }
}

LibraryRow CatalogService::Library(const SecurityContext& security, const std::wstring& name) {
    std::optional<LibraryRow> library = FindReadableLibrary(cache_, name, UserOf(security));
    if (!library) {
        throw ProxyError(kUnknownLibrary);
    }
    return std::move(*library);
}

std::vector<Guid> CatalogService::GetCategoryRoots(
    const SecurityContext& security, const std::wstring& library,
    const TarnServerProxies::Content::DBFilter& filter) {
    return QueryCategoryRoots(cache_, Library(security, library).id, filter);
}

std::vector<Guid> CatalogService::GetCategoriesByParent(
    const SecurityContext& security, const std::wstring& library, const Guid& parent,
    bool allLevels, const TarnServerProxies::Content::DBFilter& filter) {
    return QuerySubCategories(cache_, Library(security, library).id, parent, allLevels, filter);
}

std::vector<Guid> CatalogService::GetFamiliesByCategory(
    const SecurityContext& security, const std::wstring& library, const Guid& category,
    const TarnServerProxies::Content::DBFilter& filter) {
    return QueryFamiliesOfCategory(cache_, Library(security, library).id, category, filter);
}

std::vector<Guid> CatalogService::GetCategoriesByFamily(const SecurityContext& security,
                                                        const std::wstring& library,
                                                        const Guid& family) {
    return QueryCategoriesOfFamily(cache_, Library(security, library).id, family);
}

Guid CatalogService::GetParentCategory(const SecurityContext& security, const std::wstring& library,
                                       const Guid& category) {
    const auto parent = QueryParentCategory(cache_, Library(security, library).id, category);
    if (!parent) {
        throw ProxyError("unknown category");
    }
    return *parent;
}

std::vector<Guid> CatalogService::GetAllFamilies(const SecurityContext& security,
                                                 const std::wstring& library) {
    return QueryAllFamilies(cache_, Library(security, library).id);
}

TarnServerProxies::PropertyValues CatalogService::PropertyValues(
    NodeKind kind, const SecurityContext& security, const std::wstring& library,
    const std::vector<Guid>& nodes, const std::vector<Guid>& keys, const std::wstring& language) {
    const LibraryRow found = Library(security, library);
    return QueryPropertyValues(cache_, nodes_, kind, found.id, nodes, keys,
                               LanguagesFor(found, language));
}

TarnServerProxies::PropertyValues CatalogService::GetCategoryPropertyValues(
    const SecurityContext& security, const std::wstring& library, const std::vector<Guid>& nodes,
    const std::vector<Guid>& keys, const std::wstring& language) {
    return PropertyValues(NodeKind::Category, security, library, nodes, keys, language);
}

TarnServerProxies::PropertyValues CatalogService::GetFamilyPropertyValues(
    const SecurityContext& security, const std::wstring& library, const std::vector<Guid>& nodes,
    const std::vector<Guid>& keys, const std::wstring& language) {
    return PropertyValues(NodeKind::Family, security, library, nodes, keys, language);
}

TarnServerProxies::PropertyValues CatalogService::GetCategoryParameterPropertyValues(
    const SecurityContext& security, const std::wstring& library, const std::vector<Guid>& nodes,
    const std::vector<Guid>& keys, const std::wstring& language) {
    return PropertyValues(NodeKind::Parameter, security, library, nodes, keys, language);
}

std::vector<Guid> CatalogService::GetCategoryParametersByCategory(const SecurityContext& security,
                                                                  const std::wstring& library,
                                                                  const Guid& category, bool flag) {
    return QueryParametersOfCategory(cache_, Library(security, library).id, category, flag);
}

std::vector<Guid> CatalogService::GetCategoryParametersByParameter(const SecurityContext& security,
                                                                   const std::wstring& library,
                                                                   const Guid& parameter) {
    return QueryParametersOfParameter(cache_, Library(security, library).id, parameter);
}

std::wstring CatalogService::GetCategoryTreeByFamily(const SecurityContext& security,
                                                     const std::wstring& library,
                                                     const Guid& family, std::int32_t treeType,
                                                     const std::wstring& language) {
    const LibraryRow found = Library(security, library);
    if (treeType != kNestedTree && treeType != kHoldingCategories) {
        throw ProxyError("unknown category tree type " + std::to_string(treeType));
    }
    const std::optional<FamilyRow> row = FindFamily(cache_, found.id, family);
    if (!row) {
        throw ProxyError("unknown family");
    }
    return CategoryTreeXml(QueryCategoryTree(cache_, row->id, LanguagesFor(found, language)),
                           family, found.name, treeType);
}

std::wstring CatalogService::Search(const SecurityContext& security, const std::wstring& library,
                                    const TarnServerProxies::Content::ContentQuery& query,
                                    bool recursive) {
    return SearchLibrary(*database_, Library(security, library).id, query, recursive);
}

void CatalogService::GetFamilyAspect(const SecurityContext& security, const std::wstring& library,
                                     const Guid& family, const std::wstring& aspectName,
                                     const std::wstring&, std::vector<std::uint8_t>& bytes) {
    const std::optional<FamilyRow> row = FindFamily(cache_, Library(security, library).id, family);
    if (!row) {
        throw ProxyError("unknown family");
    }
    const std::optional<std::string> aspect = ReadFamilyAspect(cache_, *row, aspectName);
    if (!aspect) {
        throw ProxyError("the family has no such aspect");
    }
    bytes.assign(aspect->begin(), aspect->end());
}

Guid CatalogService::CurrentPartitionId() {
    return partition_;
}

std::vector<KnowledgeLibrary> CatalogService::FindKnowledgeLibraries(
    const SecurityContext& security, const std::vector<Guid>& ids, const Guid& partition) {
    std::vector<KnowledgeLibrary> libraries;
    if (partition != partition_) {
        return libraries;
    }
    for (const Guid& id : ids) {
        if (const auto found = FindReadableLibrary(cache_, id, UserOf(security))) {
            libraries.push_back({found->name, found->guid});
        }
    }
    return libraries;
}

std::vector<KnowledgeLibrary> CatalogService::FindKnowledgeLibrariesByNames(
    const SecurityContext& security, const std::vector<std::wstring>& names) {
    std::vector<KnowledgeLibrary> libraries;
    libraries.reserve(names.size());
    for (const std::wstring& name : names) {
        const auto found = FindReadableLibrary(cache_, name, UserOf(security));
        libraries.push_back({name, found ? found->guid : Guid()});
    }
    return libraries;
}

}  // namespace VardelCatalog
