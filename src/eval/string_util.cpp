#include "vardel/string_util.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "common/case_fold.h"
#include "common/text.h"
#include "common/user_locale.h"
#include "vardel/guid.h"

namespace {

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

bool EqualsAnyNoCase(std::wstring_view text, std::initializer_list<std::wstring_view> words) {
    for (std::wstring_view word : words) {
        if (VardelCommon::EqualsNoCase(text, word)) {
            return true;
        }
    }
    return false;
}

std::wstring_view TrimmedOrEmpty(const wchar_t* text) {
    return text == nullptr ? std::wstring_view{} : VardelCommon::Trim(text);
}

}  // namespace

std::wstring CStringUtil::NewGuid() {
    const Vardel::Guid guid = Vardel::Guid::New();
    return guid.IsNil() ? std::wstring{} : guid.ToString();
}

bool CStringUtil::LegalizeForFileName(std::wstring& name) {
    constexpr std::wstring_view kIllegal = L"?\\/<>:*|\"";
    for (wchar_t& c : name) {
        if (kIllegal.find(c) != std::wstring_view::npos) {
            c = L'_';
        }
    }
    name = VardelCommon::Trim(name);
    return true;
}

wchar_t CStringUtil::GetDecimalSeparator() {
    return VardelCommon::GetUserLocale().decimalSeparator;
}

bool CStringUtil::IsNumberStr(const std::wstring& text) {
    return text.empty() || VardelCommon::IsWholeNumber(text);
}

bool CStringUtil::IsNumericValue(const wchar_t* text) {
    if (text == nullptr || *text == L'\0') {
        return true;
    }
    bool sawDigit = false;
    bool sawSeparator = false;
    bool sawExponent = false;
    wchar_t previous = L'\0';
    for (const wchar_t* p = text; *p != L'\0'; previous = *p, ++p) {
        const wchar_t c = *p;
        if (IsDigit(c)) {
            sawDigit = true;
        } else if (c == L'+' || c == L'-') {
            if (p != text && previous != L'E' && previous != L'e') {
                return false;
            }
        } else if (c == L',' || c == L'.') {
            if (sawSeparator || sawExponent) {
                return false;
            }
            sawSeparator = true;
        } else if (c == L'E' || c == L'e') {
            if (sawExponent || !IsDigit(previous)) {
                return false;
            }
            sawExponent = true;
        } else {
            return false;
        }
    }
    return sawDigit;
}

double CStringUtil::ToDouble(const wchar_t* text) {
    return VardelCommon::ParseLeadingNumber(text);
}

bool CStringUtil::IsIntegerValue(double x, double tolerance) {
    const double fraction = x - std::trunc(x);
    return -tolerance < fraction && fraction < tolerance;
}

bool CStringUtil::IsLogicalValue(const wchar_t* text) {
    if (text == nullptr) {
        return false;
    }
    return EqualsAnyNoCase(TrimmedOrEmpty(text),
                           {L"TRUE", L"FALSE", L"T", L"F", L"yes", L"no", L"Y", L"N", L"1", L"0"});
}

bool CStringUtil::IsRawLogicalValue(const wchar_t* text) {
    if (text == nullptr) {
        return false;
    }
    const std::wstring_view value = text;
    return value == L"1" || value == L"0";
}

bool CStringUtil::GetRawLogicalValue(const wchar_t* text) {
    return EqualsAnyNoCase(TrimmedOrEmpty(text), {L"TRUE", L"T", L"yes", L"Y", L"1"});
}

std::wstring CStringUtil::ReplaceDecimalPointOfCell(std::wstring& cell) {
    if (IsNumericValue(cell.c_str())) {
        for (wchar_t& c : cell) {
            if (c == L',') {
                c = L'.';
            }
        }
    }
    return cell;
}

std::wstring CStringUtil::ReplaceDecimalPointOfColumnExpression(std::wstring& expression,
                                                                bool toPoint) {
    if (expression.find_first_of(L".,") == std::wstring::npos) {
        return expression;
    }
    const wchar_t target = toPoint ? L'.' : GetDecimalSeparator();
    bool outsideBraces = true;
    for (wchar_t& c : expression) {
        if (c == L'{') {
            outsideBraces = false;
        } else if (c == L'}') {
            outsideBraces = true;
        } else if (outsideBraces && (c == L',' || c == L'.') && c != target) {
            // With toPoint the target is ".", so only commas are replaced.
            c = target;
        }
    }
    return expression;
}

bool CStringUtil::TrimDoubleString(std::wstring& text) {
    const std::size_t lastNonZero = text.find_last_not_of(L'0');
    text.erase(lastNonZero == std::wstring::npos ? 0 : lastNonZero + 1);
    const std::size_t lastNonPoint = text.find_last_not_of(L'.');
    text.erase(lastNonPoint == std::wstring::npos ? 0 : lastNonPoint + 1);
    return true;
}

void CStringUtil::Split(const std::wstring& text, const std::wstring& separator,
                        std::vector<std::wstring>* out, const std::wstring& emptyValue) {
    if (text.empty() || separator.empty() || out == nullptr) {
        return;
    }
    const auto append = [&](std::wstring_view piece) {
        out->emplace_back(piece.empty() ? std::wstring_view{emptyValue} : piece);
    };
    const std::wstring_view all = text;
    std::size_t start = 0;
    for (std::size_t found = all.find(separator); found != std::wstring_view::npos;
         found = all.find(separator, start)) {
        append(all.substr(start, found - start));
        start = found + separator.size();
    }
    append(all.substr(start));
}

bool CStringUtil::ExtractByBracket(const std::wstring& text, const std::wstring& delimiters,
                                   const std::wstring& bracket, std::vector<std::wstring>* out) {
    if (text.empty() || delimiters.empty() || bracket.empty() || out == nullptr) {
        return false;
    }
    const std::wstring_view all = text;
    std::size_t start = all.find_first_not_of(delimiters);
    while (start != std::wstring_view::npos) {
        const std::size_t end = std::min(all.find_first_of(delimiters, start), all.size());
        const std::wstring_view token = all.substr(start, end - start);
        const std::size_t at = token.find(bracket);
        if (at != std::wstring_view::npos) {
            const std::wstring_view name = VardelCommon::Trim(token.substr(0, at));
            if (!name.empty()) {
                out->emplace_back(name);
            }
        }
        start = all.find_first_not_of(delimiters, end);
    }
    return true;
}

std::wstring CStringUtil::TranslateStringSymbol(const std::wstring& expression) {
    std::vector<std::wstring> pieces;
    Split(expression, L"&", &pieces, L"");
    std::wstring joined;
    for (const std::wstring& piece : pieces) {
        std::wstring_view part = VardelCommon::Trim(piece);
        if (part.size() >= 2 && part.front() == L'"' && part.back() == L'"') {
            part = part.substr(1, part.size() - 2);
        }
        joined += part;
    }
    return joined;
}
