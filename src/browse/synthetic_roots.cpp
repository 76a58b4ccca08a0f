#include "browse/synthetic_roots.h"

#include "api/browse_id_factory.h"
#include "browse/library_navigation.h"
#include "stores/history_store.h"
#include "stores/search_results_store.h"
#include "vardel/constants.h"

namespace VardelBrowse {

const RootItemSource* RootItemsOf(ContextImpl& context) {
    switch (context.GetBrowsingType()) {
        case Vardel::HistoryBrowsing:
            return context.GetHistoryData();
        case Vardel::SearchBrowsing:
            return context.GetSearchResultsData();
        default:
            return nullptr;
    }
}

Vardel::CBrowseId MakeRoot(const ContextImpl& context, const Vardel::CContext* ctx) {
    if (context.GetBrowsingType() == Vardel::SearchBrowsing) {
        return VardelUtils::CreateSearchRootId(ctx, Vardel::Constants::SEARCH_ROOT_ID);
    }
    return VardelUtils::CreateHistoryRootId(ctx, Vardel::Constants::HISTORY_ROOT_ID);
}

HRESULT RootFolders(const Vardel::CContext* ctx, ContextImpl& context,
                    std::vector<Vardel::CBrowseId>& roots) {
    roots.clear();
    roots.push_back(MakeRoot(context, ctx));
    return S_OK;
}

HRESULT RootFoldersByItem(const Vardel::CContext* ctx, ContextImpl& context,
                          const Vardel::CBrowseId& item, std::vector<Vardel::CBrowseId>& folders) {
    folders.clear();
    const RootItemSource* store = RootItemsOf(context);
    if (store != nullptr && store->ContainsItem(item.GetInternalName())) {
        folders.push_back(MakeRoot(context, ctx));
    }
    return S_OK;
}

HRESULT RootChildItems(const Vardel::CContext* ctx, ContextImpl& context,
                       std::vector<Vardel::CBrowseId>& items) {
    const RootItemSource* store = RootItemsOf(context);
    if (store == nullptr) {
        return E_FAIL;
    }
    return ConvertItemIds(ctx, PairWithLibraries(store->ItemIds(), context.GetLibraries()), items);
}

}  // namespace VardelBrowse
