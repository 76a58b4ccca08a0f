#include "api/context_impl.h"

#include "stores/favorites_store.h"
#include "stores/history_store.h"
#include "stores/search_results_store.h"

namespace {

bool IsKnownType(Vardel::BrowsingStructureType type) {
    return type >= Vardel::LibraryBrowsing && type <= Vardel::FavoritesBrowsing;
}

// Only the library tree reads nothing from the storage folder.
bool UsesStorage(Vardel::BrowsingStructureType type) {
    return type != Vardel::LibraryBrowsing;
}

}  // namespace

ContextImpl::ContextImpl() = default;

ContextImpl::~ContextImpl() = default;

HRESULT ContextImpl::Initialize(Vardel::BrowsingStructureType type,
                                const std::list<std::wstring>* libraries,
                                const Vardel::FilterStruct* filter, const std::wstring& language,
                                const Vardel::SSecurityContext* security,
                                const wchar_t* storagePath) {
    if (!IsKnownType(type) || libraries == nullptr) {
        return E_INVALIDARG;
    }
    browsingType_ = type;
    libraries_ = *libraries;
    if (filter != nullptr) {
        filter_ = std::make_unique<Vardel::FilterStruct>(*filter);
    }
    if (security != nullptr) {
        SetSecurity(*security);
    }
    language_ = language;
    if (UsesStorage(type)) {
        if (storagePath == nullptr) {
            return E_INVALIDARG;
        }
        storagePath_ = storagePath;
    }
    return S_OK;
}

void ContextImpl::SetSecurity(const Vardel::SSecurityContext& security) {
    using TarnServerProxies::Security::SecurityContext;
    securityContext_ = std::make_unique<Vardel::SSecurityContext>(security);
    const auto option = security.accessOption != 0 ? SecurityContext::AccessOptionEnum::Option1
                                                   : SecurityContext::AccessOptionEnum::Option0;
    managedSecurityContext_ = std::make_shared<const SecurityContext>(
        security.number, security.text1, security.text2, security.text3, security.text4,
        security.text5, option);
}

void ContextImpl::SetFilter(const Vardel::FilterStruct* filter) {
    if (filter == nullptr) {
        filter_.reset();
    } else if (filter_ == nullptr) {
        filter_ = std::make_unique<Vardel::FilterStruct>(*filter);
    } else {
        *filter_ = *filter;
    }
}

CHistoryData* ContextImpl::GetHistoryData() {
    if (browsingType_ == Vardel::HistoryBrowsing && historyData_ == nullptr) {
        historyData_ = CHistoryData::Initialize(storagePath_);
    }
    return historyData_.get();
}

CSearchResultsData* ContextImpl::GetSearchResultsData() {
    if (browsingType_ == Vardel::SearchBrowsing && searchResultsData_ == nullptr) {
        searchResultsData_ = CSearchResultsData::Initialize(storagePath_);
    }
    return searchResultsData_.get();
}

CFavoritesData* ContextImpl::GetFavoritesData() {
    if (browsingType_ == Vardel::FavoritesBrowsing && favoritesData_ == nullptr) {
        favoritesData_ = CFavoritesData::Initialize(storagePath_);
    }
    return favoritesData_.get();
}

namespace VardelUtils {

ContextImpl* GetContextImpl(const Vardel::CContext* ctx) {
    return ContextAccess::GetImpl(*ctx);
}

ContextImpl* FindContextImpl(const Vardel::CContext* ctx) {
    return ctx != nullptr ? ContextAccess::GetImpl(*ctx) : nullptr;
}

}  // namespace VardelUtils
