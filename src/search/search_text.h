// The search model takes C strings from hosts; a null pointer stands for an
// empty text so that no call of the model can fail.
#pragma once

#include <string>

namespace VardelSearch {

inline std::wstring TextOrEmpty(const wchar_t* text) {
    return text == nullptr ? std::wstring() : std::wstring(text);
}

}  // namespace VardelSearch
