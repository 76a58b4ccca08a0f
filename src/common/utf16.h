// UTF-16 code-unit codec. wchar_t holds a whole code point here, while the
// binary stores and strings files keep UTF-16; every conversion between the
// two goes through these functions. Code points above U+FFFF become surrogate
// pairs and pairs are joined again; an unpaired surrogate or a value outside
// Unicode becomes U+FFFD instead of failing.
//
// The templates serve readers and writers of encoded bytes (the archive
// codec), which convert in place instead of through a unit string.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace VardelCommon {

namespace Utf16Detail {
constexpr char32_t kReplacement = 0xFFFD;
constexpr bool IsHighSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
constexpr bool IsLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}
}  // namespace Utf16Detail

/// The number of UTF-16 units `text` encodes into.
std::size_t Utf16Length(std::wstring_view text);

/// Calls `emit(char16_t)` for every UTF-16 unit of `text`, in order.
template <typename Emit>
void EncodeUtf16(std::wstring_view text, Emit&& emit) {
    using namespace Utf16Detail;
    for (const wchar_t wc : text) {
        auto c = static_cast<char32_t>(wc);
        if (IsHighSurrogate(c) || IsLowSurrogate(c) || c > 0x10FFFF) {
            emit(static_cast<char16_t>(kReplacement));
        } else if (c > 0xFFFF) {
            c -= 0x10000;
            emit(static_cast<char16_t>(0xD800 + (c >> 10)));
            emit(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            emit(static_cast<char16_t>(c));
        }
    }
}

/// Appends to `text` the code points of the `count` UTF-16 units that
/// `unitAt(i)` answers for i = 0 .. count - 1.
template <typename UnitAt>
void AppendFromUtf16(std::size_t count, UnitAt&& unitAt, std::wstring& text) {
    using namespace Utf16Detail;
    // Room for one character per unit, filled in place and trimmed to what
    // pairs left: a call per character would check capacity each time.
    const std::size_t start = text.size();
    text.resize(start + count);
    wchar_t* out = text.data() + start;
    for (std::size_t i = 0; i < count; ++i) {
        char32_t c = unitAt(i);
        if (IsHighSurrogate(c) && i + 1 < count && IsLowSurrogate(unitAt(i + 1))) {
            c = 0x10000 + ((c - 0xD800) << 10) + (char32_t{unitAt(i + 1)} - 0xDC00);
            ++i;
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            c = kReplacement;
        }
        *out++ = static_cast<wchar_t>(c);
    }
    text.resize(static_cast<std::size_t>(out - text.data()));
}

std::u16string ToUtf16(std::wstring_view text);
std::wstring FromUtf16(std::u16string_view units);

}  // namespace VardelCommon
