#include "api/browse_id_factory.h"

#include <utility>

namespace VardelUtils {
namespace {

// The favorites counterpart of a node, or null for a kind without one.
CBrowseIdBaseImpl* NewFavoriteCounterpart(const CBrowseIdBaseImpl& node,
                                          const std::wstring& favoriteId) {
    const Vardel::CContext* context = node.GetContext();
    const std::wstring& name = node.GetInternalName();
    const auto version = node.GetVersion();
    if (const auto* member = dynamic_cast<const CBrowseFamilyMemberIdImpl*>(&node)) {
        return new CBrowseFavoriteMemberIdImpl(context, name, member->GetLibraryName(),
                                               member->GetMemberId(), favoriteId, version);
    }
    if (const auto* family = dynamic_cast<const CBrowseFamilyIdImpl*>(&node)) {
        return new CBrowseFavoriteFamilyIdImpl(context, name, family->GetLibraryName(), favoriteId,
                                               version);
    }
    if (const auto* category = dynamic_cast<const CBrowseCategoryIdImpl*>(&node)) {
        return new CBrowseFavoriteCategoryIdImpl(context, name, category->GetLibraries(),
                                                 favoriteId, version);
    }
    if (node.GetBrowseItemType() == Vardel::BrowseFavoriteFolder) {
        return new CBrowseFavoriteFolderIdImpl(context, name, favoriteId, version);
    }
    return nullptr;
}

}  // namespace

Vardel::CBrowseId CreateHistoryRootId(const Vardel::CContext* context,
                                      const std::wstring& internalName) {
    return BrowseIdAccess::Wrap(new CBrowseHistoryIdImpl(context, internalName));
}

Vardel::CBrowseId CreateSearchRootId(const Vardel::CContext* context,
                                     const std::wstring& internalName) {
    return BrowseIdAccess::Wrap(new CBrowseSearchIdImpl(context, internalName));
}

Vardel::CBrowseId CreateCategoryId(const Vardel::CContext* context, std::wstring internalName,
                                   std::vector<std::wstring> libraries, OptionalVersion version) {
    if (libraries.empty()) {
        return {};
    }
    return BrowseIdAccess::Wrap(new CBrowseCategoryIdImpl(
        context, std::move(internalName), std::move(libraries), std::move(version)));
}

Vardel::CBrowseId CreateCategoryParameterId(const Vardel::CContext* context,
                                            const std::wstring& internalName,
                                            const std::vector<std::wstring>& libraries) {
    return BrowseIdAccess::Wrap(
        new CBrowseCategoryParameterIdImpl(context, internalName, libraries));
}

Vardel::CBrowseId CreateFamilyId(const Vardel::CContext* context, std::wstring internalName,
                                 std::vector<std::wstring> libraries, OptionalVersion version) {
    if (libraries.empty()) {
        return {};
    }
    return BrowseIdAccess::Wrap(new CBrowseFamilyIdImpl(
        context, std::move(internalName), std::move(libraries.front()), std::move(version)));
}

Vardel::CBrowseId CreateMemberId(const Vardel::CContext* context, const std::wstring& internalName,
                                 const std::wstring& memberId, std::vector<std::wstring> libraries,
                                 OptionalVersion version) {
    if (libraries.empty()) {
        return {};
    }
    return BrowseIdAccess::Wrap(new CBrowseFamilyMemberIdImpl(
        context, internalName, std::move(libraries.front()), memberId, std::move(version)));
}

Vardel::CBrowseId CreateFavoriteId(const Vardel::CContext* context,
                                   const std::wstring& internalName, const std::wstring& favoriteId,
                                   Vardel::EBrowseItemType kind,
                                   const std::vector<std::wstring>& libraries,
                                   const std::wstring& memberId) {
    switch (kind) {
        case Vardel::BrowseCategory:
            return BrowseIdAccess::Wrap(new CBrowseFavoriteCategoryIdImpl(
                context, internalName, libraries, favoriteId, std::nullopt));
        case Vardel::BrowseFamily:
            return BrowseIdAccess::Wrap(new CBrowseFavoriteFamilyIdImpl(
                context, internalName, FirstLibrary(libraries), favoriteId, std::nullopt));
        case Vardel::BrowseFamilyMember:
            return BrowseIdAccess::Wrap(
                new CBrowseFavoriteMemberIdImpl(context, internalName, FirstLibrary(libraries),
                                                memberId, favoriteId, std::nullopt));
        case Vardel::BrowseFavoriteFolder:
            return BrowseIdAccess::Wrap(
                new CBrowseFavoriteFolderIdImpl(context, internalName, favoriteId, std::nullopt));
        default:
            return {};
    }
}

void ConvertToFavoriteId(Vardel::CBrowseId& id, const std::wstring& favoriteId) {
    const CBrowseIdBaseImpl* node = BrowseIdAccess::GetImpl(id);
    if (node == nullptr) {
        return;
    }
    if (CBrowseIdBaseImpl* counterpart = NewFavoriteCounterpart(*node, favoriteId)) {
        id = BrowseIdAccess::Wrap(counterpart);
    }
}

}  // namespace VardelUtils
