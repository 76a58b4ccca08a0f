#include "source/source_values.h"

#include <array>

#include "common/case_fold.h"

namespace VardelCatalog {
namespace {

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// Advances `at` past a run of digits; false when there is none.
bool SkipDigits(std::wstring_view text, std::size_t& at) {
    const std::size_t start = at;
    while (at < text.size() && IsDigit(text[at]))
        ++at;
    return at > start;
}

void SkipSign(std::wstring_view text, std::size_t& at) {
    if (at < text.size() && (text[at] == L'+' || text[at] == L'-'))
        ++at;
}

// The number written by `count` digits at `at`, or -1 when they are not all
// digits.
int DigitsAt(std::wstring_view text, std::size_t at, std::size_t count) {
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (!IsDigit(text[i]))
            return -1;
        value = value * 10 + (text[i] - L'0');
    }
    return value;
}

int DaysInMonth(int year, int month) {
    static constexpr std::array<int, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

// Digits with an optional fraction and exponent, as strtod reads them in the
// C locale, minus the forms (blanks, inf, nan, hexadecimal) a table of
// dimensions should never hold.
bool IsDecimalNumber(std::wstring_view text) {
    std::size_t at = 0;
    SkipSign(text, at);
    const bool integral = SkipDigits(text, at);
    bool fraction = false;
    if (at < text.size() && text[at] == L'.') {
        ++at;
        fraction = SkipDigits(text, at);
    }
    if (!integral && !fraction)
        return false;
    if (at < text.size() && (text[at] == L'e' || text[at] == L'E')) {
        ++at;
        SkipSign(text, at);
        if (!SkipDigits(text, at))
            return false;
    }
    return at == text.size();
}

bool IsInteger(std::wstring_view text) {
    std::size_t at = 0;
    SkipSign(text, at);
    return SkipDigits(text, at) && at == text.size();
}

}  // namespace

std::optional<bool> ParseBoolean(std::wstring_view text) {
    if (text == L"1" || VardelCommon::EqualsNoCase(text, L"true"))
        return true;
    if (text == L"0" || VardelCommon::EqualsNoCase(text, L"false"))
        return false;
    return std::nullopt;
}

bool IsTimestamp(std::wstring_view text) {
    // YYYY-MM-DDThh:mm:ssZ
    if (text.size() != 20 || text[4] != L'-' || text[7] != L'-' || text[10] != L'T' ||
        text[13] != L':' || text[16] != L':' || text[19] != L'Z') {
        return false;
    }
    const int year = DigitsAt(text, 0, 4);
    const int month = DigitsAt(text, 5, 2);
    const int day = DigitsAt(text, 8, 2);
    const int hour = DigitsAt(text, 11, 2);
    const int minute = DigitsAt(text, 14, 2);
    const int second = DigitsAt(text, 17, 2);
    if (year < 0 || month < 1 || month > 12 || day < 1)
        return false;
    return day <= DaysInMonth(year, month) && hour >= 0 && hour <= 23 && minute >= 0 &&
           minute <= 59 && second >= 0 && second <= 59;
}

std::optional<std::wstring> CanonicalValueType(std::wstring_view text) {
    for (const wchar_t* type : {L"string", L"double", L"integer", L"boolean"}) {
        if (VardelCommon::EqualsNoCase(text, type))
            return type;
    }
    return std::nullopt;
}

std::optional<int> ParseCount(std::wstring_view text) {
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    const int value = DigitsAt(text, 0, text.size());
    return value < 0 ? std::nullopt : std::optional<int>(value);
}

std::wstring LanguageKey(std::wstring_view tag) {
    std::wstring key(tag);
    for (wchar_t& c : key) {
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return key;
}

bool IsValueOfType(std::wstring_view valueType, std::wstring_view text) {
    if (valueType == L"double")
        return IsDecimalNumber(text);
    if (valueType == L"integer")
        return IsInteger(text);
    if (valueType == L"boolean")
        return ParseBoolean(text).has_value();
    return true;
}

}  // namespace VardelCatalog
