// The one case-insensitive comparison of the library. Identifiers, names and
// map keys are compared by their upper-cased code points, using Unicode simple
// case mapping that does not depend on the process's global locale, so a host
// that calls setlocale() never changes which keys match.
#pragma once

#include <string>
#include <string_view>

namespace VardelCommon {

/// The upper case of a character beyond ASCII.
wchar_t ToUpperNonAscii(wchar_t c);

/// ASCII is folded inline: ids and names are ASCII almost always, and map
/// lookups fold every character they compare.
inline wchar_t ToUpperChar(wchar_t c) {
    if (c >= L'a' && c <= L'z') {
        return static_cast<wchar_t>(c - L'a' + L'A');
    }
    return c < 0x80 ? c : ToUpperNonAscii(c);
}

/// Whether `c` is a letter, by the same locale-independent Unicode tables.
bool IsLetter(wchar_t c);
std::wstring ToUpper(std::wstring_view text);

/// Negative, zero or positive as `a` sorts before, equal to or after `b`
/// when both are upper-cased.
int CompareNoCase(std::wstring_view a, std::wstring_view b);
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);

/// Ordering for maps and sets keyed without regard to case.
struct LessNoCase {
    using is_transparent = void;
    bool operator()(std::wstring_view a, std::wstring_view b) const {
        return CompareNoCase(a, b) < 0;
    }
};

}  // namespace VardelCommon
