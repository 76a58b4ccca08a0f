// UTF-16 code-unit codec between 32-bit wchar_t code points and char16_t units.
#include "common/utf16.h"

namespace VardelCommon {

std::size_t Utf16Length(std::wstring_view text) {
    std::size_t length = 0;
    EncodeUtf16(text, [&](char16_t) { ++length; });
    return length;
}

std::u16string ToUtf16(std::wstring_view text) {
    std::u16string units;
    units.reserve(text.size());
    EncodeUtf16(text, [&](char16_t unit) { units.push_back(unit); });
    return units;
}

std::wstring FromUtf16(std::u16string_view units) {
    std::wstring text;
    AppendFromUtf16(
        units.size(), [&](std::size_t i) { return units[i]; }, text);
    return text;
}

}  // namespace VardelCommon
