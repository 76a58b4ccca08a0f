#include "common/text.h"

#include <locale.h>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cwchar>

namespace VardelCommon {
namespace {

// One "C" locale object for the whole process; newlocale is thread-safe and
// the object is only read afterwards.
locale_t CLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

}  // namespace

bool IsSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

std::wstring_view Trim(std::wstring_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsSpace(text[begin])) {
        ++begin;
    }
    while (end > begin && IsSpace(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

double ParseLeadingNumber(const wchar_t* text, std::size_t* consumed) {
    if (consumed != nullptr) {
        *consumed = 0;
    }
    if (text == nullptr) {
        return 0.0;
    }
    wchar_t* end = nullptr;
    const double value = wcstod_l(text, &end, CLocale());
    if (end == text) {
        return 0.0;
    }
    if (consumed != nullptr) {
        *consumed = static_cast<std::size_t>(end - text);
    }
    return value;
}

bool IsWholeNumber(const std::wstring& text) {
    std::size_t consumed = 0;
    ParseLeadingNumber(text.c_str(), &consumed);
    return consumed != 0 && consumed == text.size();
}

std::wstring FormatFixed(double value, int decimals) {
    const locale_t previous = uselocale(CLocale());
    char buffer[400];
    const int length = std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    uselocale(previous);
    if (length < 0) {
        return {};
    }
    const auto size = std::min(static_cast<std::size_t>(length), sizeof buffer - 1);
    return std::wstring(buffer, buffer + size);
}

}  // namespace VardelCommon
