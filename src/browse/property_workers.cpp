#include "browse/property_workers.h"

#include <algorithm>
#include <iterator>
#include <memory_resource>
#include <string_view>
#include <unordered_map>

#include "api/browse_id_impl.h"
#include "api/return_value_builder.h"
#include "api/utf16_order.h"
#include "bridge/server_proxies_provider.h"
#include "browse/synthetic_roots.h"
#include "vardel/constants.h"

namespace VardelBrowse {
namespace {

using Builder = VardelUtils::ReturnValueBuilder;

bool Takes(NodeKinds kinds, Vardel::EBrowseItemType type) {
    switch (kinds) {
        case NodeKinds::Folders:
            return type == Vardel::BrowseCategory;
        case NodeKinds::Items:
            return type == Vardel::BrowseFamily || type == Vardel::BrowseFamilyMember;
        case NodeKinds::CategoryParameters:
            return type == Vardel::BrowseCategoryParameter;
    }
    return false;
}

// The distinct nodes of one library, in first-seen order (views of the
// internal names that the request's ids hold), how many input slots ask for
// each, and the answers the library gave for them (P per node, node-major).
struct LibraryGroup {
    std::wstring library;
    std::vector<std::wstring_view> names;
    std::vector<std::size_t> uses;
    std::pmr::unordered_map<const CBrowseIdBaseImpl*, std::size_t> index;
    Values answers;
};

// Where an input node's answers are: its group and its place in the group.
struct Slot {
    std::size_t group;
    std::size_t node;
};
constexpr std::size_t kNoGroup = static_cast<std::size_t>(-1);

// Appends the answers of `slot` (up to P of them), or P ItemNotFound when
// there are none. The last slot asking for a node takes its answers over.
void AppendAnswers(std::vector<LibraryGroup>& groups, const Slot& slot, std::size_t keys,
                   Values& values) {
    if (slot.group != kNoGroup) {
        LibraryGroup& group = groups[slot.group];
        Values& answers = group.answers;
        const std::size_t from = std::min(slot.node * keys, answers.size());
        const auto first = answers.begin() + static_cast<std::ptrdiff_t>(from);
        const auto last =
            first + static_cast<std::ptrdiff_t>(std::min(keys, answers.size() - from));
        if (first < last) {
            if (--group.uses[slot.node] == 0) {
                values.insert(values.end(), std::make_move_iterator(first),
                              std::make_move_iterator(last));
            } else {
                values.insert(values.end(), first, last);
            }
            return;
        }
    }
    values.insert(values.end(), keys, Builder::Make(Vardel::ItemNotFound));
}

}  // namespace

HRESULT LibraryProperties(const ContextImpl& context, const std::vector<Vardel::CBrowseId>& ids,
                          const Keys& keys, NodeKinds kinds, PropertyRequest request,
                          Values& values) {
    values.clear();
    // The look-ups last only as long as the call: their entries come from one arena.
    std::pmr::monotonic_buffer_resource arena;
    std::vector<LibraryGroup> groups;
    std::pmr::unordered_map<std::wstring_view, std::size_t> groupOf(&arena);
    std::vector<Slot> slots;
    slots.reserve(ids.size());
    for (const Vardel::CBrowseId& id : ids) {
        const CBrowseIdBaseImpl* node = VardelUtils::BrowseIdAccess::GetImpl(id);
        if (node == nullptr || !Takes(kinds, node->GetBrowseItemType())) {
            slots.push_back({kNoGroup, 0});
            continue;
        }
        const std::wstring& library = node->GetLibraryName();
        const auto [found, added] = groupOf.try_emplace(library, groups.size());
        if (added) {
            groups.push_back({library, {}, {}, decltype(LibraryGroup::index)(&arena), {}});
        }
        LibraryGroup& group = groups[found->second];
        const auto [place, isNew] = group.index.try_emplace(node, group.names.size());
        if (isNew) {
            group.names.push_back(node->GetInternalName());
            group.uses.push_back(0);
        }
        ++group.uses[place->second];
        slots.push_back({found->second, place->second});
    }
    std::vector<LibraryGroup*> byName;
    for (LibraryGroup& group : groups) {
        byName.push_back(&group);
    }
    std::sort(byName.begin(), byName.end(), [](const LibraryGroup* a, const LibraryGroup* b) {
        return VardelUtils::CompareUtf16Order(a->library, b->library) < 0;
    });
    for (LibraryGroup* group : byName) {
        // A failing library leaves its nodes without answers: they are not found.
        (void)request(context, group->names, keys, group->library, group->answers);
    }
    values.reserve(ids.size() * keys.size());
    for (const Slot& slot : slots) {
        AppendAnswers(groups, slot, keys.size(), values);
    }
    return values.size() == ids.size() * keys.size() ? S_OK : E_FAIL;
}

HRESULT LibraryFolderProperties(const ContextImpl& context,
                                const std::vector<Vardel::CBrowseId>& ids, const Keys& keys,
                                Values& values) {
    return LibraryProperties(context, ids, keys, NodeKinds::Folders,
                             &ServerProxiesProvider::GetCategoryPropertyValues, values);
}

HRESULT LibraryItemProperties(const ContextImpl& context, const std::vector<Vardel::CBrowseId>& ids,
                              const Keys& keys, Values& values) {
    return LibraryProperties(context, ids, keys, NodeKinds::Items,
                             &ServerProxiesProvider::GetFamilyPropertyValues, values);
}

HRESULT SearchItemProperties(const ContextImpl& context, const std::vector<Vardel::CBrowseId>& ids,
                             const Keys& keys, Values& values) {
    Values answers;
    (void)LibraryItemProperties(context, ids, keys, answers);
    values.clear();
    values.reserve(ids.size() * keys.size());
    for (std::size_t i = 0; i < ids.size(); ++i) {
        auto* family = VardelUtils::BrowseIdAccess::As<CBrowseFamilyIdImpl>(ids[i]);
        if (family == nullptr) {
            values.insert(values.end(), keys.size(), Builder::Make(Vardel::ItemNotFound));
            continue;
        }
        std::map<std::wstring, std::wstring>& cache = family->CachedProperties();
        const bool member = family->GetBrowseItemType() == Vardel::BrowseFamilyMember;
        for (std::size_t k = 0; k < keys.size(); ++k) {
            if (member && keys[k] == Vardel::Constants::FAM_DESCRIPTION &&
                cache.contains(keys[k])) {
                continue;
            }
            // ItemNotFound marks a node its library did not answer: its cache stays.
            const std::size_t at = i * keys.size() + k;
            if (at >= answers.size() || answers[at].GetErrorCode() == Vardel::ItemNotFound) {
                continue;
            }
            cache[keys[k]] = answers[at].IsValid() ? static_cast<const wchar_t*>(answers[at]) : L"";
        }
        for (const std::wstring& key : keys) {
            const auto cached = cache.find(key);
            values.push_back(cached != cache.end()
                                 ? Builder::Make(cached->second.c_str(), Vardel::NoError)
                                 : Builder::Make(Vardel::NoValue));
        }
    }
    return S_OK;
}

HRESULT CategoryParameterProperties(const ContextImpl& context,
                                    const std::vector<Vardel::CBrowseId>& ids, const Keys& keys,
                                    Values& values) {
    return LibraryProperties(context, ids, keys, NodeKinds::CategoryParameters,
                             &ServerProxiesProvider::GetCategoryParameterPropertyValues, values);
}

HRESULT RootFolderProperties(ContextImpl& context, const Keys& keys, Values& values) {
    using namespace Vardel::Constants;
    const bool search = context.GetBrowsingType() == Vardel::SearchBrowsing;
    const RootItemSource* store = RootItemsOf(context);
    const bool hasChild = store != nullptr && !store->IsEmpty();
    values.clear();
    values.reserve(keys.size());
    for (const std::wstring& key : keys) {
        const wchar_t* text = nullptr;
        if (key == FLD_DISPLAYNAME) {
            text = search ? L"SearchRootFolder" : L"HistoryRootFolder";
        } else if (key == FLD_ISVISIBLE) {
            text = L"true";
        } else if (key == FLD_REFGUID) {
            text = search ? SEARCH_ROOT_ID : HISTORY_ROOT_ID;
        } else if (key == FLD_HASANYCHILD) {
            text = hasChild ? L"true" : L"false";
        }
        values.push_back(text != nullptr ? Builder::Make(text, Vardel::NoError)
                                         : Builder::Make(Vardel::NoValue));
    }
    return S_OK;
}

}  // namespace VardelBrowse
