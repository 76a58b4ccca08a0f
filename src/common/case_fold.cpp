// Locale-independent simple upper-casing and the comparisons built on it.
#include "common/case_fold.h"

#include <locale.h>
#include <wctype.h>

#include <algorithm>

namespace VardelCommon {
namespace {

// One C.UTF-8 locale object, created on first use and kept for the life of
// the process: its case tables are the Unicode simple mappings, and being a
// locale object rather than the global locale, setlocale() cannot touch it.
locale_t CaseLocale() {
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    return locale;
}

}  // namespace

wchar_t ToUpperNonAscii(wchar_t c) {
    const locale_t locale = CaseLocale();
    if (locale == static_cast<locale_t>(0)) {
        return c;  // without the locale data only ASCII is folded
    }
    return static_cast<wchar_t>(towupper_l(static_cast<wint_t>(c), locale));
}

bool IsLetter(wchar_t c) {
    if (c < 0x80) {
        return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
    }
    const locale_t locale = CaseLocale();
    return locale != static_cast<locale_t>(0) && iswalpha_l(static_cast<wint_t>(c), locale) != 0;
}

std::wstring ToUpper(std::wstring_view text) {
    std::wstring upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(), ToUpperChar);
    return upper;
}

int CompareNoCase(std::wstring_view a, std::wstring_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (a[i] == b[i]) {
            continue;
        }
        // Compared as unsigned code points so the order is the code-point order.
        const auto ua = static_cast<char32_t>(ToUpperChar(a[i]));
        const auto ub = static_cast<char32_t>(ToUpperChar(b[i]));
        if (ua != ub) {
            return ua < ub ? -1 : 1;
        }
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() < b.size() ? -1 : 1;
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

}  // namespace VardelCommon
