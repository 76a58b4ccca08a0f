#include "vardel/context.h"

#include <memory>

#include "api/context_impl.h"

namespace Vardel {

void FilterStruct::SetEmptyFilter() {
    categoriesContent.clear();
    propertyFilters.clear();
    usePropertyFilters = false;
    filterParts = false;
    filterFeatures = false;
    filterInvisibleCategories = false;
    filterEmptyCategories = false;
}

CContext::CContext() : impl_(nullptr) {}

CContext::CContext(ContextImpl* impl) : impl_(RetainShared(impl)) {}

CContext::CContext(const CContext& other) : CContext(other.impl_) {}

CContext& CContext::operator=(const CContext& other) {
    AssignShared(impl_, other.impl_);
    return *this;
}

CContext::~CContext() {
    Release();
}

void CContext::Release() {
    ReleaseShared(impl_);
}

bool CContext::IsNULL() const {
    return impl_ == nullptr;
}

bool CContext::operator!() const {
    return !IsNULL();
}

HRESULT CContext::Initialize(BrowsingStructureType type, const std::list<std::wstring>* libraries,
                             const FilterStruct* filter, const std::wstring& language,
                             const SSecurityContext* security, const wchar_t* storagePath) {
    if (impl_ != nullptr) {
        return E_UNEXPECTED;
    }
    auto impl = std::make_unique<ContextImpl>();
    const HRESULT status =
        impl->Initialize(type, libraries, filter, language, security, storagePath);
    if (status != S_OK) {
        return status;
    }
    impl_ = impl.release();
    impl_->AddRef();
    return S_OK;
}

void CContext::CloneContext(CContext& target) const {
    if (impl_ == nullptr) {
        return;
    }
    const std::wstring& path = impl_->GetStoragePath();
    // A target that already holds state answers E_UNEXPECTED and stays as it
    // was, which is all a clone promises; nothing else can fail here.
    (void)target.Initialize(impl_->GetBrowsingType(), &impl_->GetLibraries(), impl_->GetFilter(),
                            impl_->GetLanguage(), impl_->GetSecurityContext(), path.c_str());
}

FilterStruct* CContext::GetFilter() {
    return impl_ != nullptr ? impl_->GetFilter() : nullptr;
}

void CContext::SetFilter(const FilterStruct* filter) {
    if (impl_ != nullptr) {
        impl_->SetFilter(filter);
    }
}

const std::list<std::wstring>& GetLibraries(const CContext* ctx) {
    static const std::list<std::wstring> kNone;
    const ContextImpl* impl = VardelUtils::GetContextImpl(ctx);
    return impl != nullptr ? impl->GetLibraries() : kNone;
}

const FilterStruct* GetFilters(const CContext* ctx) {
    const ContextImpl* impl = VardelUtils::GetContextImpl(ctx);
    return impl != nullptr ? impl->GetFilter() : nullptr;
}

}  // namespace Vardel
