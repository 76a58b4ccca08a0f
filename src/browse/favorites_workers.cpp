#include "browse/favorites_workers.h"

#include "api/browse_id_impl.h"
#include "api/return_value_builder.h"
#include "browse/property_workers.h"
#include "common/case_fold.h"
#include "stores/favorites_store.h"
#include "vardel/constants.h"
#include "vardel/xml_parser.h"

namespace VardelBrowse {
namespace {

using Builder = VardelUtils::ReturnValueBuilder;
using Access = VardelUtils::BrowseIdAccess;
using namespace Vardel::Constants;

constexpr std::uint32_t kOwnNames =
    VardelFavorites::kFamilyNode | VardelFavorites::kMemberNode | VardelFavorites::kRenamed;

Vardel::ReturnValue Text(const wchar_t* text) {
    return Builder::Make(text, Vardel::NoError);
}

// The favorite's own display name for `id`, or empty.
std::wstring OwnName(const CFavoritesData& store, const Vardel::CBrowseId& id) {
    const SFavoriteEntry* entry = store.FindEntry(id, kOwnNames);
    return entry == nullptr ? std::wstring() : entry->displayName;
}

// Answers the keys folders and categories share: FLD_HASANYCHILD (whether
// `id` lists any child item; a failing listing gives its status) and
// FLD_ISVISIBLE. False, with nothing appended, for any other key.
bool AnswerSharedKey(const Vardel::CContext* ctx, CFavoritesData& store,
                     const Vardel::CBrowseId& id, const std::wstring& key,
                     std::vector<Vardel::ReturnValue>& values, HRESULT& status) {
    status = S_OK;
    if (VardelCommon::EqualsNoCase(key, FLD_ISVISIBLE)) {
        values.push_back(Text(L"true"));
        return true;
    }
    if (!VardelCommon::EqualsNoCase(key, FLD_HASANYCHILD)) {
        return false;
    }
    std::vector<Vardel::CBrowseId> items;
    status = store.GetChildItems(ctx, id, items);
    values.push_back(Text(items.empty() ? L"false" : L"true"));
    return true;
}

// The answers of one favorites folder.
HRESULT AnswerFolder(const Vardel::CContext* ctx, CFavoritesData& store,
                     const Vardel::CBrowseId& id, const std::vector<std::wstring>& keys,
                     std::vector<Vardel::ReturnValue>& values) {
    if (!store.IsLoaded()) {
        values.insert(values.end(), keys.size(), Builder::Make(Vardel::ItemNotFound));
        return S_OK;
    }
    for (const std::wstring& key : keys) {
        HRESULT status = S_OK;
        if (AnswerSharedKey(ctx, store, id, key, values, status)) {
            if (status != S_OK) {
                return status;
            }
        } else if (VardelCommon::EqualsNoCase(key, FLD_DISPLAYNAME)) {
            const auto name = store.DisplayNames().find(
                VardelFavorites::LastComponent(Access::GetImpl(id)->GetFavoriteId()));
            if (name == store.DisplayNames().end()) {
                return E_INVALIDARG;
            }
            values.push_back(Builder::FromText(name->second));
        } else {
            values.push_back(Builder::Make(Vardel::NoValue));
        }
    }
    return S_OK;
}

// The answers of one favorite category, from the library's answers `library`
// (one per key).
HRESULT AnswerCategory(const Vardel::CContext* ctx, CFavoritesData& store,
                       const Vardel::CBrowseId& id, const std::vector<std::wstring>& keys,
                       const Vardel::ReturnValue* library,
                       std::vector<Vardel::ReturnValue>& values) {
    for (std::size_t k = 0; k < keys.size(); ++k) {
        const std::wstring& key = keys[k];
        HRESULT status = S_OK;
        if (AnswerSharedKey(ctx, store, id, key, values, status)) {
            if (status != S_OK) {
                return status;
            }
        } else if (VardelCommon::EqualsNoCase(key, FLD_DISPLAYNAME)) {
            const std::wstring own = OwnName(store, id);
            values.push_back(own.empty() ? library[k] : Text(own.c_str()));
        } else if (VardelCommon::EqualsNoCase(key, FLD_ICON)) {
            values.push_back(library[k]);
        } else {
            values.push_back(Builder::Make(Vardel::NoValue));
        }
    }
    return S_OK;
}

}  // namespace

HRESULT FavoritesFolderProperties(const Vardel::CContext* ctx, ContextImpl& context,
                                  const std::vector<Vardel::CBrowseId>& ids,
                                  const std::vector<std::wstring>& keys,
                                  std::vector<Vardel::ReturnValue>& values) {
    CFavoritesData* store = context.GetFavoritesData();
    if (store == nullptr) {
        return E_INVALIDARG;
    }
    for (const Vardel::CBrowseId& id : ids) {
        if (!Access::As<CBrowseFavoriteFolderIdImpl>(id) &&
            !Access::As<CBrowseFavoriteCategoryIdImpl>(id)) {
            return E_INVALIDARG;
        }
    }
    std::vector<Vardel::ReturnValue> library;
    (void)LibraryFolderProperties(context, ids, keys, library);
    values.clear();
    values.reserve(ids.size() * keys.size());
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const HRESULT status = Access::As<CBrowseFavoriteFolderIdImpl>(ids[i])
                                   ? AnswerFolder(ctx, *store, ids[i], keys, values)
                                   : AnswerCategory(ctx, *store, ids[i], keys,
                                                    library.data() + i * keys.size(), values);
        if (status != S_OK) {
            return status;
        }
    }
    return S_OK;
}

HRESULT FavoritesItemProperties(ContextImpl& context, const std::vector<Vardel::CBrowseId>& ids,
                                const std::vector<std::wstring>& keys,
                                std::vector<Vardel::ReturnValue>& values) {
    const CFavoritesData* store = context.GetFavoritesData();
    if (store == nullptr) {
        return E_INVALIDARG;
    }
    for (const Vardel::CBrowseId& id : ids) {
        if (!Access::As<CBrowseFamilyIdImpl>(id)) {
            return E_INVALIDARG;
        }
    }
    const HRESULT status = LibraryItemProperties(context, ids, keys, values);
    if (status != S_OK) {
        return status;
    }
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const std::wstring own = OwnName(*store, ids[i]);
        for (std::size_t k = 0; k < keys.size() && !own.empty(); ++k) {
            if (keys[k] == FAM_DISPLAYNAME) {
                values[i * keys.size() + k] = Text(own.c_str());
            }
        }
    }
    return S_OK;
}

HRESULT FavoritesCustomValues(ContextImpl& context, const Vardel::CBrowseId& id,
                              std::wstring& xml) {
    const CFavoritesData* store = context.GetFavoritesData();
    const SFavoriteEntry* member =
        store == nullptr ? nullptr : store->FindEntry(id, VardelFavorites::kMemberNode);
    if (member == nullptr) {
        return E_INVALIDARG;
    }
    XMLParser document;
    if (!document.CreateXmlDocument(L"UTF-16")) {
        return E_FAIL;
    }
    XMLNode root = document.AddNode(L"CustomValues");
    for (const auto& [column, value] : member->customValues) {
        root.AddNode(L"Column", nullptr, L"Id", column.c_str(), L"Value", value.c_str());
    }
    return document.GetXml(xml) ? S_OK : E_FAIL;
}

}  // namespace VardelBrowse
