// Ordinal, case-sensitive ordering of wide strings as sequences of UTF-16 code
// units. wchar_t holds whole code points here, and code-point order differs
// from UTF-16 order in one place: characters U+E000..U+FFFF sort AFTER the
// supplementary characters, whose UTF-16 form starts with a surrogate
// (U+D800..U+DBFF). Identifiers and property values are ordered this way so
// that sets and sorted columns keep the order the stored UTF-16 files and the
// server use. Unpaired surrogates compare by their own value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace VardelUtils {

/// Negative, zero or positive as `a` sorts before, equal to or after `b`.
int CompareUtf16Order(std::wstring_view a, std::wstring_view b);

/// How many leading characters `a` and `b` share.
std::size_t CommonPrefixLength(std::wstring_view a, std::wstring_view b);

/// A number that orders texts as CompareUtf16Order does by their first four
/// characters, for sorting many texts: when the keys of two texts differ,
/// they give the texts' order; equal keys need the full comparison.
std::uint64_t Utf16OrderKey(std::wstring_view text);

/// Ascending UTF-16 order, for maps and sets of identifiers and names.
struct Utf16Less {
    using is_transparent = void;
    bool operator()(std::wstring_view a, std::wstring_view b) const {
        return CompareUtf16Order(a, b) < 0;
    }
};

/// Descending UTF-16 order.
struct Utf16Greater {
    using is_transparent = void;
    bool operator()(std::wstring_view a, std::wstring_view b) const {
        return CompareUtf16Order(a, b) > 0;
    }
};

}  // namespace VardelUtils
