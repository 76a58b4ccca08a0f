// The library's only way to make property results that carry a value or a
// "not found" code; a host can construct only the default "no value" result.
#pragma once

#include <string>
#include <utility>

#include "vardel/return_value.h"

namespace VardelUtils {

struct ReturnValueBuilder {
    /// A result with the given code and text; a null text stores an empty value.
    static Vardel::ReturnValue Make(const wchar_t* value, Vardel::ErrorCodes code) {
        return Vardel::ReturnValue(value, code);
    }
    /// A result with the given code and an empty value.
    static Vardel::ReturnValue Make(Vardel::ErrorCodes code) { return Vardel::ReturnValue(code); }
    /// The answer for a property of a known node: NoError with `text`, or
    /// NoValue when `text` is empty.
    static Vardel::ReturnValue FromText(std::wstring text) {
        return text.empty() ? Make(Vardel::NoValue)
                            : Vardel::ReturnValue(std::move(text), Vardel::NoError);
    }
    /// The value text of `result` as a host reads it (up to its first null
    /// character), moved out; `result` is left a "no value" result.
    static std::wstring TakeText(Vardel::ReturnValue& result) {
        std::wstring text = std::move(result.value_);
        result = Vardel::ReturnValue();
        text.resize(std::char_traits<wchar_t>::length(text.c_str()));
        return text;
    }
};

}  // namespace VardelUtils
