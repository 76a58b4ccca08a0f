#include "api/browse_id_impl.h"

#include <utility>

namespace VardelUtils {

const std::wstring& EmptyText() {
    static const std::wstring kNone;
    return kNone;
}

const std::wstring& FirstLibrary(const std::vector<std::wstring>& libraries) {
    return libraries.empty() ? EmptyText() : libraries.front();
}

}  // namespace VardelUtils

CBrowseIdBaseImpl::CBrowseIdBaseImpl(const Vardel::CContext* context, std::wstring internalName,
                                     std::optional<Version> version)
    : context_(context), internalName_(std::move(internalName)) {
    if (version) {
        revisionId_ = std::move(version->revisionId);
        lastModTime_ = std::move(version->lastModTime);
    }
}

bool CBrowseIdBaseImpl::IsSameItem(const CBrowseIdBaseImpl* other) const {
    // A favorites entry is a different item from the library node it stands for.
    return other == this ||
           (other->GetFavoriteId().empty() && other->GetInternalName() == internalName_);
}

std::wstring CBrowseIdBaseImpl::GetFavoriteId() const {
    return {};
}

bool CBrowseIdBaseImpl::IsSameFavorite(const CBrowseIdBaseImpl* other) const {
    return other == this || other->GetFavoriteId() == GetFavoriteId();
}

CBrowseCategoryIdImpl::CBrowseCategoryIdImpl(const Vardel::CContext* context,
                                             std::wstring internalName,
                                             std::vector<std::wstring> libraries,
                                             std::optional<Version> version)
    : CBrowseIdBaseImpl(context, std::move(internalName), std::move(version)),
      libraries_(std::move(libraries)) {}

const std::wstring& CBrowseCategoryIdImpl::GetLibraryName() const {
    return VardelUtils::FirstLibrary(libraries_);
}

CBrowseCategoryParameterIdImpl::CBrowseCategoryParameterIdImpl(const Vardel::CContext* context,
                                                               std::wstring internalName,
                                                               std::vector<std::wstring> libraries)
    : CBrowseIdBaseImpl(context, std::move(internalName), std::nullopt),
      libraries_(std::move(libraries)) {}

const std::wstring& CBrowseCategoryParameterIdImpl::GetLibraryName() const {
    return VardelUtils::FirstLibrary(libraries_);
}

CBrowseFamilyIdImpl::CBrowseFamilyIdImpl(const Vardel::CContext* context, std::wstring internalName,
                                         std::wstring library, std::optional<Version> version)
    : CBrowseIdBaseImpl(context, std::move(internalName), std::move(version)),
      library_(std::move(library)) {}

const std::wstring& CBrowseFamilyIdImpl::GetMemberId() const {
    return VardelUtils::EmptyText();
}

CBrowseFamilyMemberIdImpl::CBrowseFamilyMemberIdImpl(const Vardel::CContext* context,
                                                     std::wstring internalName,
                                                     std::wstring library, std::wstring memberId,
                                                     std::optional<Version> version)
    : CBrowseFamilyIdImpl(context, std::move(internalName), std::move(library), std::move(version)),
      memberId_(std::move(memberId)) {}

CBrowseHistoryIdImpl::CBrowseHistoryIdImpl(const Vardel::CContext* context,
                                           std::wstring internalName)
    : CBrowseIdBaseImpl(context, std::move(internalName), std::nullopt) {}

CBrowseSearchIdImpl::CBrowseSearchIdImpl(const Vardel::CContext* context, std::wstring internalName)
    : CBrowseIdBaseImpl(context, std::move(internalName), std::nullopt) {}

CBrowseFavoriteFolderIdImpl::CBrowseFavoriteFolderIdImpl(const Vardel::CContext* context,
                                                         std::wstring internalName,
                                                         std::wstring favoriteId,
                                                         std::optional<Version> version)
    : CBrowseIdBaseImpl(context, std::move(internalName), std::move(version)),
      favoriteId_(std::move(favoriteId)) {}

CBrowseFavoriteCategoryIdImpl::CBrowseFavoriteCategoryIdImpl(const Vardel::CContext* context,
                                                             std::wstring internalName,
                                                             std::vector<std::wstring> libraries,
                                                             std::wstring favoriteId,
                                                             std::optional<Version> version)
    : CBrowseCategoryIdImpl(context, std::move(internalName), std::move(libraries),
                            std::move(version)),
      favoriteId_(std::move(favoriteId)) {}

CBrowseFavoriteFamilyIdImpl::CBrowseFavoriteFamilyIdImpl(const Vardel::CContext* context,
                                                         std::wstring internalName,
                                                         std::wstring library,
                                                         std::wstring favoriteId,
                                                         std::optional<Version> version)
    : CBrowseFamilyIdImpl(context, std::move(internalName), std::move(library), std::move(version)),
      favoriteId_(std::move(favoriteId)) {}

CBrowseFavoriteMemberIdImpl::CBrowseFavoriteMemberIdImpl(
    const Vardel::CContext* context, std::wstring internalName, std::wstring library,
    std::wstring memberId, std::wstring favoriteId, std::optional<Version> version)
    : CBrowseFamilyMemberIdImpl(context, std::move(internalName), std::move(library),
                                std::move(memberId), std::move(version)),
      favoriteId_(std::move(favoriteId)) {}
