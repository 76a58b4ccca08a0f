#include "vardel/return_value.h"

#include <utility>

#include "api/utf16_order.h"

namespace Vardel {
namespace {

// The other side counts as empty text when it has no value.
int Compare(const std::wstring& own, const wchar_t* other) {
    return VardelUtils::CompareUtf16Order(own, other != nullptr ? other : L"");
}

}  // namespace

ReturnValue::ReturnValue() : code_(NoValue) {}

ReturnValue::ReturnValue(const wchar_t* value, ErrorCodes code)
    : value_(value != nullptr ? value : L""), code_(code) {}

ReturnValue::ReturnValue(std::wstring&& value, ErrorCodes code)
    : value_(std::move(value)), code_(code) {}

ReturnValue::ReturnValue(ErrorCodes code) : code_(code) {}

ReturnValue::ReturnValue(const ReturnValue& other) = default;
ReturnValue& ReturnValue::operator=(const ReturnValue& other) = default;

ReturnValue::ReturnValue(ReturnValue&& other) noexcept
    : value_(std::move(other.value_)), code_(std::exchange(other.code_, NoValue)) {
    other.value_.clear();
}

ReturnValue& ReturnValue::operator=(ReturnValue&& other) noexcept {
    value_ = std::move(other.value_);
    other.value_.clear();
    code_ = std::exchange(other.code_, NoValue);
    return *this;
}
ReturnValue::~ReturnValue() = default;

bool ReturnValue::IsValid() const {
    return code_ == NoError;
}

ErrorCodes ReturnValue::GetErrorCode() const {
    return code_;
}

bool ReturnValue::operator!() const {
    return !IsValid();
}

ReturnValue::operator const wchar_t*() const {
    return IsValid() ? value_.c_str() : nullptr;
}

bool ReturnValue::operator<(const ReturnValue& other) const {
    return Compare(value_, other) < 0;
}

bool ReturnValue::operator>(const ReturnValue& other) const {
    return Compare(value_, other) > 0;
}

}  // namespace Vardel
