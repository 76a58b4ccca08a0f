// One answer of a multi-property reader: the property's value as text, or the
// reason there is none. Readers answer node-major: for N nodes and P property
// names they return N * P results, entry k * P + j answering node k, name j.
// Only the library builds results that carry a value; a host can only make the
// default "no value" result, copy results and compare them. Plain values: a
// result never fails and may be copied between threads like a string.
#pragma once

#include <cstdint>
#include <string>

#include "vardel/export.h"

namespace VardelUtils {
struct ReturnValueBuilder;
}

namespace Vardel {

/// Why a result has or has not a value. The value 1 is never produced.
enum ErrorCodes : std::int32_t {
    NoError = 0,       ///< The node exists and the property has a non-empty value.
    NoValue = 2,       ///< The property is unknown for the node, or its value is empty.
    ItemNotFound = 3,  ///< The node itself was not found.
};

class VARDEL_API ReturnValue {
  public:
    /// No value: code NoValue, empty text.
    ReturnValue();
    ReturnValue(const ReturnValue& other);
    ReturnValue& operator=(const ReturnValue& other);
    /// Takes the other's code and text; the other is left as a "no value" result.
    ReturnValue(ReturnValue&& other) noexcept;
    /// Takes the other's code and text; the other is left as a "no value" result.
    ReturnValue& operator=(ReturnValue&& other) noexcept;
    virtual ~ReturnValue();

    /// True exactly when the code is NoError.
    bool IsValid() const;
    /// The code of this result.
    ErrorCodes GetErrorCode() const;
    /// True when the result is NOT valid (the negation of IsValid).
    bool operator!() const;
    /// The value text when valid, a null pointer otherwise.
    operator const wchar_t*() const;

    /// Orders this value text before the other's text (empty when the other is
    /// invalid); ordinal and case-sensitive, in UTF-16 code-unit order. This
    /// side's own code is not consulted.
    bool operator<(const ReturnValue& other) const;
    /// The reverse ordering of operator<, with the same rules.
    bool operator>(const ReturnValue& other) const;

  private:
    friend struct VardelUtils::ReturnValueBuilder;

    // A null text stores an empty value.
    ReturnValue(const wchar_t* value, ErrorCodes code);
    ReturnValue(std::wstring&& value, ErrorCodes code);
    explicit ReturnValue(ErrorCodes code);

    std::wstring value_;
    ErrorCodes code_;
};

}  // namespace Vardel
