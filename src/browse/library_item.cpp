#include "browse/library_item.h"

#include <algorithm>
#include <map>
#include <new>
#include <set>
#include <unordered_set>
#include <utility>

#include "api/browse_id_factory.h"
#include "api/context_impl.h"
#include "api/return_value_builder.h"
#include "bridge/server_proxies_provider.h"
#include "browse/property_request.h"
#include "vardel/constants.h"

namespace VardelBrowse {

template <class MergeData>
void MergedItem<MergeData>::AddEntry(std::wstring lastModTime, MergeData data) {
    const auto newer = [](const std::wstring& time, const auto& entry) {
        return VardelUtils::CompareUtf16Order(time, entry.first) > 0;
    };
    const auto at = std::upper_bound(entries_.begin(), entries_.end(), lastModTime, newer);
    entries_.emplace(at, std::move(lastModTime), std::move(data));
}

template <class MergeData>
std::vector<std::wstring> MergedItem<MergeData>::BrowseLibraries() const {
    std::vector<std::wstring> libraries;
    if (entries_.empty()) {
        if (!GetLibraries().empty()) {
            libraries.push_back(*GetLibraries().begin());
        }
        return libraries;
    }
    libraries.reserve(entries_.size());
    for (const auto& entry : entries_) {
        libraries.emplace_back(entry.second.library);
    }
    return libraries;
}

template <class MergeData>
std::optional<CBrowseIdBaseImpl::Version> MergedItem<MergeData>::NewestVersion() const {
    if (entries_.empty()) {
        return std::nullopt;
    }
    const auto& newest = *entries_.begin();
    return CBrowseIdBaseImpl::Version{newest.first, newest.second.guid};
}

template <class MergeData>
std::optional<CBrowseIdBaseImpl::Version> MergedItem<MergeData>::TakeNewestVersion() {
    if (entries_.empty()) {
        return std::nullopt;
    }
    auto& newest = entries_.front();
    return CBrowseIdBaseImpl::Version{std::move(newest.first), std::move(newest.second.guid)};
}

template class MergedItem<CCategoryMergeData>;
template class MergedItem<CFamilyMergeData>;

}  // namespace VardelBrowse

namespace {
using Builder = VardelUtils::ReturnValueBuilder;
}  // namespace

Vardel::CBrowseId CLibraryItemCategory::CreateBrowseId(const Vardel::CContext* context,
                                                       const std::wstring& /*memberId*/) const {
    return VardelUtils::CreateCategoryId(context, GetId(), BrowseLibraries(), NewestVersion());
}

Vardel::CBrowseId CLibraryItemCategory::TakeBrowseId(const Vardel::CContext* context) {
    return VardelUtils::CreateCategoryId(context, TakeId(), BrowseLibraries(), TakeNewestVersion());
}

void CLibraryItemCategory::AddMergeAnswer(Vardel::ReturnValue& lastModTime,
                                          Vardel::ReturnValue& guid, std::wstring_view library) {
    if (lastModTime.IsValid()) {
        AddEntry(Builder::TakeText(lastModTime),
                 {guid.IsValid() ? Builder::TakeText(guid) : std::wstring(), library});
    }
}

Vardel::CBrowseId CLibraryItemFamily::CreateBrowseId(const Vardel::CContext* context,
                                                     const std::wstring& memberId) const {
    if (!memberId.empty()) {
        return VardelUtils::CreateMemberId(context, GetId(), memberId, BrowseLibraries(),
                                           NewestVersion());
    }
    return VardelUtils::CreateFamilyId(context, GetId(), BrowseLibraries(), NewestVersion());
}

Vardel::CBrowseId CLibraryItemFamily::TakeBrowseId(const Vardel::CContext* context) {
    return VardelUtils::CreateFamilyId(context, TakeId(), BrowseLibraries(), TakeNewestVersion());
}

void CLibraryItemFamily::AddMergeAnswer(Vardel::ReturnValue& lastModTime, Vardel::ReturnValue& guid,
                                        std::wstring_view library) {
    if (lastModTime.IsValid() && guid.IsValid()) {
        AddEntry(Builder::TakeText(lastModTime), {Builder::TakeText(guid), library});
    }
}

namespace VardelBrowse {
namespace {

using Ids = std::vector<std::wstring>;
using Values = std::vector<Vardel::ReturnValue>;

template <class Item>
HRESULT BuildItems(CollectedIds& collected, LibraryItems& items) {
    try {
        items.reserve(items.size() + collected.size());
        while (!collected.empty()) {
            auto entry = collected.extract(collected.begin());
            items.push_back(
                std::make_unique<Item>(std::move(entry.key()), std::move(entry.mapped())));
        }
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

PropertyRequest RequestFor(CLibraryItem::Kind kind) {
    return kind == CLibraryItem::FamilyItem ? &ServerProxiesProvider::GetFamilyPropertyValues
                                            : &ServerProxiesProvider::GetCategoryPropertyValues;
}

// Items grouped by library name, each group in item order.
using LibraryGroups = std::map<std::wstring, std::vector<CLibraryItem*>, VardelUtils::Utf16Less>;

std::vector<std::wstring_view> IdsOf(const std::vector<CLibraryItem*>& group) {
    std::vector<std::wstring_view> ids;
    ids.reserve(group.size());
    for (const CLibraryItem* item : group) {
        ids.push_back(item->GetId());
    }
    return ids;
}

// The criteria of the item filter: property key -> allowed values.
std::map<std::wstring, std::set<std::wstring>> FilterCriteria(const ContextImpl& context) {
    std::map<std::wstring, std::set<std::wstring>> criteria;
    const Vardel::FilterStruct* filter = context.GetFilter();
    if (filter == nullptr) {
        return criteria;
    }
    if (filter->usePropertyFilters) {
        criteria = filter->propertyFilters;
    }
    if (context.GetBrowsingType() == Vardel::SearchBrowsing) {
        if (filter->filterParts) {
            criteria[Vardel::Constants::FAM_DATATYPE] = {L"feature"};
        } else if (filter->filterFeatures) {
            criteria[Vardel::Constants::FAM_DATATYPE] = {L"part"};
        }
    }
    return criteria;
}

// Whether the P answers from `answer` pass every criterion, taken in key order.
bool Passes(const std::map<std::wstring, std::set<std::wstring>>& criteria,
            Values::const_iterator answer) {
    for (const auto& [key, allowed] : criteria) {
        const wchar_t* value = *answer++;
        if (allowed.count(value != nullptr ? value : L"") == 0) {
            return false;
        }
    }
    return true;
}

}  // namespace

HRESULT BuildFamilyItems(CollectedIds collected, LibraryItems& items) {
    return BuildItems<CLibraryItemFamily>(collected, items);
}

HRESULT BuildCategoryItems(CollectedIds collected, LibraryItems& items) {
    return BuildItems<CLibraryItemCategory>(collected, items);
}

void MergeItems(const ContextImpl& context, LibraryItems& items) {
    if (items.empty()) {
        return;
    }
    const CLibraryItem::Kind kind = items.front()->GetItemKind();
    const Ids keys = kind == CLibraryItem::FamilyItem
                         ? Ids{Vardel::Constants::FAM_LASTMODTIME, Vardel::Constants::FAM_REVGUID}
                         : Ids{Vardel::Constants::FLD_LASTMODTIME, Vardel::Constants::FLD_REFGUID};
    // Each item with its own copy of the library name, which its answer keeps.
    struct Group {
        std::vector<CLibraryItem*> items;
        std::vector<std::wstring_view> names;
    };
    std::map<std::wstring_view, Group, VardelUtils::Utf16Less> groups;
    for (const auto& item : items) {
        for (const std::wstring& library : item->GetLibraries()) {
            Group& group = groups[library];
            group.items.push_back(item.get());
            group.names.push_back(library);
        }
    }
    Values values;
    for (const auto& [library, group] : groups) {
        const HRESULT status =
            RequestFor(kind)(context, IdsOf(group.items), keys, std::wstring(library), values);
        if (status != S_OK || values.size() != group.items.size() * 2) {
            continue;
        }
        for (std::size_t i = 0; i < group.items.size(); ++i) {
            group.items[i]->AddMergeAnswer(values[2 * i], values[2 * i + 1], group.names[i]);
        }
    }
}

HRESULT FilterItems(const ContextImpl& context, LibraryItems& items) {
    const auto criteria = FilterCriteria(context);
    if (criteria.empty() || items.empty()) {
        return S_OK;
    }
    Ids keys;
    for (const auto& entry : criteria) {
        keys.push_back(entry.first);
    }
    LibraryGroups groups;
    for (const auto& item : items) {
        groups[item->GetPreferredLibrary()].push_back(item.get());
    }
    std::unordered_set<const CLibraryItem*> rejected;
    Values values;
    const PropertyRequest request = RequestFor(items.front()->GetItemKind());
    for (const auto& [library, group] : groups) {
        const HRESULT status = request(context, IdsOf(group), keys, library, values);
        if (status != S_OK) {
            return status;
        }
        if (values.size() != group.size() * keys.size()) {
            return E_FAIL;
        }
        for (std::size_t i = 0; i < group.size(); ++i) {
            if (!Passes(criteria, values.cbegin() + static_cast<std::ptrdiff_t>(i * keys.size()))) {
                rejected.insert(group[i]);
            }
        }
    }
    std::erase_if(items, [&](const auto& item) { return rejected.count(item.get()) != 0; });
    return S_OK;
}

}  // namespace VardelBrowse
