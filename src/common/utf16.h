// UTF-16 code-unit codec. wchar_t holds a whole code point here, while the
// binary stores and strings files keep UTF-16; every conversion between the
// two goes through these functions. Code points above U+FFFF become surrogate
// pairs and pairs are joined again; an unpaired surrogate or a value outside
// Unicode becomes U+FFFD instead of failing.
#pragma once

#include <string>
#include <string_view>

namespace VardelCommon {

std::u16string ToUtf16(std::wstring_view text);
std::wstring FromUtf16(std::u16string_view units);

}  // namespace VardelCommon
