#include "common/text.h"

#include <locale.h>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <clocale>
#include <cstdio>
#include <cwchar>
#include <optional>

namespace VardelCommon {
namespace {

// One "C" locale object for the whole process; newlocale is thread-safe and
// the object is only read afterwards.
locale_t CLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

bool IsNumberCharacter(wchar_t c) {
    return (c >= L'0' && c <= L'9') || c == L'.' || c == L'e' || c == L'E' || c == L'+' ||
           c == L'-';
}

// A plain decimal number (optional minus, then a digit or a point) through
// std::from_chars, which reads it as wcstod does in the "C" locale, rounded
// alike, at a fraction of the cost. Anything else (white space, a plus sign,
// a hexadecimal, infinity or NaN, a value out of range, a very long text) is
// left to wcstod.
std::optional<double> ReadPlainDecimal(const wchar_t* text, std::size_t& consumed) {
    constexpr std::size_t kLongest = 64;
    char narrow[kLongest];
    std::size_t length = 0;
    for (; length < kLongest && IsNumberCharacter(text[length]); ++length)
        narrow[length] = static_cast<char>(text[length]);
    const std::size_t first = length > 0 && narrow[0] == '-' ? 1 : 0;
    const bool plain = first < length && (narrow[first] == '.' || std::isdigit(narrow[first]));
    if (!plain || length == kLongest || text[length] == L'x' || text[length] == L'X')
        return std::nullopt;
    double value = 0.0;
    const auto [end, error] = std::from_chars(narrow, narrow + length, value);
    if (error != std::errc())
        return std::nullopt;
    consumed = static_cast<std::size_t>(end - narrow);
    return value;
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
    std::size_t plainLength = 0;
    if (const auto plain = ReadPlainDecimal(text, plainLength)) {
        if (consumed != nullptr) {
            *consumed = plainLength;
        }
        return *plain;
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
