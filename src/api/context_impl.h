// The shared state behind a Vardel::CContext: browsing type, library names,
// filter, security record with the server-interface security object built
// from it, language and storage folder, and the personal store of its
// browsing type, created on first request. Everything but the filter and the
// store is fixed by Initialize. Reference counted through CRefCounter; used by
// one thread at a time. Other subsystems reach it through
// VardelUtils::GetContextImpl.
#pragma once

#include <list>
#include <memory>
#include <string>

#include "api/ref_counter.h"
#include "vardel/context.h"
#include "vardel/server_proxies.h"
#include "vardel/status.h"

class CFavoritesData;
class CHistoryData;
class CSearchResultsData;

class ContextImpl : public CRefCounter {
  public:
    ContextImpl();
    ~ContextImpl() override;

    /// Checks the arguments in this order and copies them: type in 0..3, a
    /// non-null library list, then (types 1 to 3 only) a non-null storage
    /// path; E_INVALIDARG on the first failed check. A null filter or security
    /// record leaves the context without one.
    HRESULT Initialize(Vardel::BrowsingStructureType type, const std::list<std::wstring>* libraries,
                       const Vardel::FilterStruct* filter, const std::wstring& language,
                       const Vardel::SSecurityContext* security, const wchar_t* storagePath);

    Vardel::BrowsingStructureType GetBrowsingType() const { return browsingType_; }
    const std::list<std::wstring>& GetLibraries() const { return libraries_; }
    /// The owned filter, or null.
    Vardel::FilterStruct* GetFilter() const { return filter_.get(); }
    /// The owned copy of the caller's security record, or null.
    const Vardel::SSecurityContext* GetSecurityContext() const { return securityContext_.get(); }
    const std::wstring& GetLanguage() const { return language_; }
    /// The storage folder; empty for LibraryBrowsing.
    const std::wstring& GetStoragePath() const { return storagePath_; }
    /// The security object for server calls, or null when no record was given.
    const TarnServerProxies::Security::SecurityContext* GetManSecurityContext() const {
        return managedSecurityContext_.get();
    }

    /// Copies `*filter` into the owned filter (creating it when absent); null removes it.
    void SetFilter(const Vardel::FilterStruct* filter);

    /// The history of a history context, loaded from the storage folder on the
    /// first request; null for every other browsing type.
    CHistoryData* GetHistoryData();
    /// The stored search results of a search context, loaded from the storage
    /// folder on the first request; null for every other browsing type.
    CSearchResultsData* GetSearchResultsData();
    /// The favorites of a favorites context, loaded from the storage folder on
    /// the first request; null for every other browsing type.
    CFavoritesData* GetFavoritesData();

  private:
    void SetSecurity(const Vardel::SSecurityContext& security);

    Vardel::BrowsingStructureType browsingType_ = Vardel::LibraryBrowsing;
    std::list<std::wstring> libraries_;
    std::unique_ptr<Vardel::FilterStruct> filter_;
    std::unique_ptr<Vardel::SSecurityContext> securityContext_;
    std::wstring language_;
    std::wstring storagePath_;
    std::shared_ptr<const TarnServerProxies::Security::SecurityContext> managedSecurityContext_;
    std::unique_ptr<CHistoryData> historyData_;
    std::unique_ptr<CSearchResultsData> searchResultsData_;
    std::unique_ptr<CFavoritesData> favoritesData_;
};

namespace VardelUtils {

/// The state behind `ctx`, or null for an empty context. `ctx` must not be null.
ContextImpl* GetContextImpl(const Vardel::CContext* ctx);
/// The state behind `ctx`, or null for a null pointer or an empty context.
ContextImpl* FindContextImpl(const Vardel::CContext* ctx);

/// Internal access to the private parts of CContext.
class ContextAccess {
  public:
    /// A handle taking `impl` (count 0 when new).
    static Vardel::CContext Wrap(ContextImpl* impl) { return Vardel::CContext(impl); }
    static ContextImpl* GetImpl(const Vardel::CContext& ctx) { return ctx.impl_; }
};

}  // namespace VardelUtils
