#include "bridge/server_proxies_provider.h"

#include <optional>
#include <utility>

#include "api/return_value_builder.h"
#include "bridge/filter_conversion.h"
#include "bridge/guid_text.h"
#include "bridge/query_conversion.h"
#include "bridge/server_call.h"

namespace {

using TarnServerProxies::IServerBackend;
using TarnServerProxies::PropertyValues;
using VardelBridge::AppendGuidTexts;
using VardelBridge::CallServer;
using VardelBridge::GuidIn;
using VardelBridge::GuidsIn;
using VardelBridge::ServerSession;

using PropertyService = PropertyValues (IServerBackend::*)(
    const IServerBackend::SecurityContext&, const std::wstring&,
    const std::vector<TarnServerProxies::Guid>&, const std::vector<TarnServerProxies::Guid>&,
    const std::wstring&);

// The context's filter as the server sees it; a context without one sends
// the default filter.
TarnServerProxies::Content::DBFilter ServerFilter(const ContextImpl& context) {
    const Vardel::FilterStruct* filter = context.GetFilter();
    return VardelBridge::convertFilter(filter != nullptr ? *filter : Vardel::FilterStruct());
}

// Whether an identifier-list operation empties its output before the answer
// is appended.
enum class Output { Clear, Append };

// One identifier-list request: clears `ids` when asked, then appends the text
// form of every identifier `request` answers, in the server's order.
template <typename Request>
HRESULT CollectIds(const ContextImpl& context, std::vector<std::wstring>& ids, Output output,
                   const Request& request) {
    return CallServer(context, [&](const ServerSession& server) {
        if (output == Output::Clear) {
            ids.clear();
        }
        AppendGuidTexts(request(server), ids);
        return S_OK;
    });
}

HRESULT GetPropertyValues(const ContextImpl& context, PropertyService service,
                          const std::vector<std::wstring_view>& ids,
                          const std::vector<std::wstring>& keys, const std::wstring& library,
                          std::vector<Vardel::ReturnValue>& values) {
    return CallServer(context, [&](const ServerSession& server) {
        values.clear();
        const auto nodes = GuidsIn(ids);
        const auto keyGuids = GuidsIn(keys);
        PropertyValues answer = (server.backend().*service)(server.security, library, nodes,
                                                            keyGuids, context.GetLanguage());
        values.reserve(answer.size());
        for (std::optional<std::wstring>& text : answer) {
            values.push_back(text ? VardelUtils::ReturnValueBuilder::FromText(std::move(*text))
                                  : VardelUtils::ReturnValueBuilder::Make(Vardel::NoValue));
        }
        return S_OK;
    });
}

}  // namespace

HRESULT ServerProxiesProvider::GetFoldersRoots(const ContextImpl& context,
                                               const std::wstring& library, Ids& ids) {
    return CollectIds(context, ids, Output::Clear, [&](const ServerSession& server) {
        return server.backend().GetCategoryRoots(server.security, library, ServerFilter(context));
    });
}

HRESULT ServerProxiesProvider::GetSubFolders(const ContextImpl& context,
                                             const std::wstring& library,
                                             const std::wstring& parentId, Ids& ids,
                                             bool allLevels) {
    return CollectIds(context, ids, Output::Append, [&](const ServerSession& server) {
        return server.backend().GetCategoriesByParent(server.security, library, GuidIn(parentId),
                                                      allLevels, ServerFilter(context));
    });
}

HRESULT ServerProxiesProvider::GetChildItems(const ContextImpl& context,
                                             const std::wstring& library,
                                             const std::wstring& categoryId, Ids& ids) {
    return CollectIds(context, ids, Output::Clear, [&](const ServerSession& server) {
        return server.backend().GetFamiliesByCategory(server.security, library, GuidIn(categoryId),
                                                      ServerFilter(context));
    });
}

HRESULT ServerProxiesProvider::GetCategoriesByFamily(const ContextImpl& context,
                                                     const std::wstring& library,
                                                     const std::wstring& familyId, Ids& ids) {
    return CollectIds(context, ids, Output::Append, [&](const ServerSession& server) {
        return server.backend().GetCategoriesByFamily(server.security, library, GuidIn(familyId));
    });
}

HRESULT ServerProxiesProvider::GetAllFamilies(const ContextImpl& context,
                                              const std::wstring& library, Ids& ids) {
    return CollectIds(context, ids, Output::Append, [&](const ServerSession& server) {
        return server.backend().GetAllFamilies(server.security, library);
    });
}

HRESULT ServerProxiesProvider::GetParentCategory(const ContextImpl& context,
                                                 const std::wstring& library,
                                                 const std::wstring& categoryId,
                                                 std::wstring& parentId) {
    return CallServer(
        context,
        [&](const ServerSession& server) {
            const TarnServerProxies::Guid parent =
                server.backend().GetParentCategory(server.security, library, GuidIn(categoryId));
            parentId = parent.IsNil() ? std::wstring() : VardelBridge::GuidOut(parent);
            return S_OK;
        },
        VardelBridge::FailureReport::DebugOutput);
}

HRESULT ServerProxiesProvider::GetCategoryParametersByCategory(const ContextImpl& context,
                                                               const std::wstring& categoryId,
                                                               const std::wstring& library,
                                                               Ids& ids, bool flag) {
    return CollectIds(context, ids, Output::Clear, [&](const ServerSession& server) {
        return server.backend().GetCategoryParametersByCategory(server.security, library,
                                                                GuidIn(categoryId), flag);
    });
}

HRESULT ServerProxiesProvider::GetCategoryParametersByParameter(const ContextImpl& context,
                                                                const std::wstring& parameterId,
                                                                const std::wstring& library,
                                                                Ids& ids) {
    return CollectIds(context, ids, Output::Clear, [&](const ServerSession& server) {
        return server.backend().GetCategoryParametersByParameter(server.security, library,
                                                                 GuidIn(parameterId));
    });
}

HRESULT ServerProxiesProvider::GetCategoryPropertyValues(const ContextImpl& context,
                                                         const IdViews& ids, const Ids& keys,
                                                         const std::wstring& library,
                                                         Values& values) {
    return GetPropertyValues(context, &IServerBackend::GetCategoryPropertyValues, ids, keys,
                             library, values);
}

HRESULT ServerProxiesProvider::GetFamilyPropertyValues(const ContextImpl& context,
                                                       const IdViews& ids, const Ids& keys,
                                                       const std::wstring& library,
                                                       Values& values) {
    return GetPropertyValues(context, &IServerBackend::GetFamilyPropertyValues, ids, keys, library,
                             values);
}

HRESULT ServerProxiesProvider::GetCategoryParameterPropertyValues(const ContextImpl& context,
                                                                  const IdViews& ids,
                                                                  const Ids& keys,
                                                                  const std::wstring& library,
                                                                  Values& values) {
    return GetPropertyValues(context, &IServerBackend::GetCategoryParameterPropertyValues, ids,
                             keys, library, values);
}

HRESULT ServerProxiesProvider::GetCategoryTreeByFamily(const ContextImpl& context,
                                                       const std::wstring& library,
                                                       const std::wstring& familyId,
                                                       std::int32_t treeType, std::wstring& xml) {
    return CallServer(context, [&](const ServerSession& server) {
        std::wstring tree = server.backend().GetCategoryTreeByFamily(
            server.security, library, GuidIn(familyId), treeType, context.GetLanguage());
        if (tree.empty()) {
            return E_FAIL;
        }
        xml = std::move(tree);
        return S_OK;
    });
}

HRESULT ServerProxiesProvider::Search(const ContextImpl& context, const std::wstring& library,
                                      bool recursive, const ContentQueryHandle* query,
                                      std::wstring& xml) {
    return CallServer(context, [&](const ServerSession& server) {
        if (query == nullptr) {
            return E_FAIL;
        }
        xml = server.backend().Search(server.security, library, query->query, recursive);
        return S_OK;
    });
}

ContentQueryHandle* ServerProxiesProvider::CreateContentQuery(const Vardel::CSearchQueryData* query,
                                                              const std::wstring& language) {
    std::optional<TarnServerProxies::Content::ContentQuery> converted =
        VardelBridge::ConvertContentQuery(query, language);
    if (!converted) {
        return nullptr;
    }
    return new ContentQueryHandle{std::move(*converted)};
}

void ServerProxiesProvider::DeleteContentQuery(ContentQueryHandle* handle) {
    delete handle;
}

HRESULT ServerProxiesProvider::GetLibraryNamesByLibraryIds(const ContextImpl& context,
                                                           const Ids& ids,
                                                           std::vector<std::wstring>& names) {
    return CallServer(context, [&](const ServerSession& server) {
        const auto libraryIds = GuidsIn(ids);
        const TarnServerProxies::Guid partition = server.backend().CurrentPartitionId();
        const auto libraries =
            server.backend().FindKnowledgeLibraries(server.security, libraryIds, partition);
        names.reserve(names.size() + libraries.size());
        for (const TarnServerProxies::KnowledgeLibrary& library : libraries) {
            names.push_back(library.Name);
        }
        return S_OK;
    });
}

HRESULT ServerProxiesProvider::GetLibraryIdsByLibraryNames(const ContextImpl& context,
                                                           const std::vector<std::wstring>& names,
                                                           Ids& ids) {
    return CallServer(context, [&](const ServerSession& server) {
        const auto libraries =
            server.backend().FindKnowledgeLibrariesByNames(server.security, names);
        ids.reserve(ids.size() + libraries.size());
        for (const TarnServerProxies::KnowledgeLibrary& library : libraries) {
            if (library.LibraryGuid.IsNil()) {
                return E_INVALIDARG;
            }
            ids.push_back(VardelBridge::GuidOut(library.LibraryGuid));
        }
        return S_OK;
    });
}
