#include "vardel/browse_id.h"

#include "api/browse_id_impl.h"
#include "api/utf16_order.h"

namespace Vardel {
CBrowseId::CBrowseId() : impl_(nullptr) {}

CBrowseId::CBrowseId(CBrowseIdBaseImpl* impl) : impl_(RetainShared(impl)) {}

CBrowseId::CBrowseId(const CBrowseId& other) : CBrowseId(other.impl_) {}

CBrowseId& CBrowseId::operator=(const CBrowseId& other) {
    AssignShared(impl_, other.impl_);
    return *this;
}

CBrowseId::~CBrowseId() {
    Release();
}

void CBrowseId::Release() {
    ReleaseShared(impl_);
}

bool CBrowseId::IsNULL() const {
    return impl_ == nullptr;
}

bool CBrowseId::operator!() const {
    return !IsNULL();
}

bool CBrowseId::IsTheSameItem(const CBrowseId& other) const {
    return impl_ != nullptr && other.impl_ != nullptr && impl_->IsSameItem(other.impl_);
}

const std::wstring& CBrowseId::GetInternalName() const {
    return impl_ != nullptr ? impl_->GetInternalName() : VardelUtils::EmptyText();
}

const std::wstring& CBrowseId::GetRevisionId() const {
    return impl_ != nullptr ? impl_->GetRevisionId() : VardelUtils::EmptyText();
}

const std::wstring& CBrowseId::GetLastModTime() const {
    return impl_ != nullptr ? impl_->GetLastModTime() : VardelUtils::EmptyText();
}

HRESULT GetInternalName(const CBrowseId& id, std::wstring& out) {
    if (id.IsNULL()) {
        return E_INVALIDARG;
    }
    out = id.GetInternalName();
    return S_OK;
}

HRESULT GetMemberID(const CBrowseId& id, std::wstring& out) {
    // Only families and members carry a member id; every other kind, like an
    // empty handle, is an argument the call does not accept.
    const auto* family = VardelUtils::BrowseIdAccess::As<const CBrowseFamilyIdImpl>(id);
    if (family == nullptr) {
        return E_INVALIDARG;
    }
    out = family->GetMemberId();
    return S_OK;
}

HRESULT GetBrowseIdType(const CBrowseId& id, EBrowseItemType& out) {
    const CBrowseIdBaseImpl* impl = VardelUtils::BrowseIdAccess::GetImpl(id);
    if (impl == nullptr) {
        return E_INVALIDARG;
    }
    out = impl->GetBrowseItemType();
    return S_OK;
}

namespace Utils {

bool _BrId_less::operator()(const CBrowseId& a, const CBrowseId& b) const {
    const CBrowseIdBaseImpl* left = VardelUtils::BrowseIdAccess::GetImpl(a);
    const CBrowseIdBaseImpl* right = VardelUtils::BrowseIdAccess::GetImpl(b);
    if (left == nullptr || right == nullptr) {
        return left == nullptr && right != nullptr;
    }
    const std::wstring leftFavorite = left->GetFavoriteId();
    const std::wstring rightFavorite = right->GetFavoriteId();
    if (leftFavorite.empty() && rightFavorite.empty()) {
        return VardelUtils::CompareUtf16Order(left->GetInternalName(), right->GetInternalName()) <
               0;
    }
    return VardelUtils::CompareUtf16Order(leftFavorite, rightFavorite) < 0;
}

}  // namespace Utils
}  // namespace Vardel
