// How the exported browsing functions route a call: check the context, then
// hand the call to the worker of its browsing type.
#pragma once

#include "api/context_impl.h"
#include "vardel/context.h"
#include "vardel/status.h"

namespace VardelBrowse {

/// The worker of a browsing type that a function does not serve.
inline HRESULT Refused(ContextImpl& /*context*/) {
    return E_INVALIDARG;
}
using Worker = HRESULT (*)(ContextImpl& context);

/// E_INVALIDARG for a null or empty context; otherwise `library(state)` for a
/// library context, `local(state)` for a search or history context and
/// `favorites(state)` for a favorites context.
template <class Library, class Local, class Favorites = Worker>
HRESULT Route(const Vardel::CContext* ctx, const Library& library, const Local& local,
              const Favorites& favorites = &Refused) {
    ContextImpl* context = VardelUtils::FindContextImpl(ctx);
    if (context == nullptr) {
        return E_INVALIDARG;
    }
    switch (context->GetBrowsingType()) {
        case Vardel::LibraryBrowsing:
            return library(*context);
        case Vardel::SearchBrowsing:
        case Vardel::HistoryBrowsing:
            return local(*context);
        case Vardel::FavoritesBrowsing:
            return favorites(*context);
    }
    return E_INVALIDARG;
}

/// `library(state)` for a library context; E_INVALIDARG for every other
/// context and for a null or empty one.
template <class Library>
HRESULT LibraryOnly(const Vardel::CContext* ctx, const Library& library) {
    ContextImpl* context = VardelUtils::FindContextImpl(ctx);
    if (context == nullptr || context->GetBrowsingType() != Vardel::LibraryBrowsing) {
        return E_INVALIDARG;
    }
    return library(*context);
}

}  // namespace VardelBrowse
