#include "vardel/range_parser.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "common/text.h"
#include "vardel/string_util.h"

CRangeParser::CRangeParser(const wchar_t* text) : source_(text == nullptr ? L"" : text) {
    Parse();
}

bool CRangeParser::IsRange(const std::wstring& text) {
    if (text.size() < 2 || text.front() != L'[' || text.back() != L']') {
        return false;
    }
    const std::wstring_view inner = std::wstring_view(text).substr(1, text.size() - 2);
    // The ";" lie between the brackets by construction once both brackets are
    // the only ones.
    return inner.find_first_of(L"[]") == std::wstring_view::npos &&
           std::count(inner.begin(), inner.end(), L';') == 3;
}

void CRangeParser::Parse() {
    const std::wstring_view text = source_;
    const std::size_t open = text.find(L'[');
    if (open == std::wstring_view::npos) {
        return;
    }
    const std::size_t close = text.find(L']', open);
    std::array<std::size_t, 3> semicolons{};
    std::size_t from = open;
    for (std::size_t& at : semicolons) {
        at = text.find(L';', from);
        if (at == std::wstring_view::npos) {
            return;
        }
        from = at + 1;
    }
    if (close == std::wstring_view::npos || semicolons[2] > close) {
        return;
    }
    const auto part = [&](std::size_t after, std::size_t before) {
        return std::wstring(VardelCommon::Trim(text.substr(after + 1, before - after - 1)));
    };
    min_ = part(open, semicolons[0]);
    max_ = part(semicolons[0], semicolons[1]);
    step_ = part(semicolons[1], semicolons[2]);
    default_ = part(semicolons[2], close);
    valid_ = CStringUtil::IsNumericValue(min_.c_str()) && CStringUtil::IsNumericValue(max_.c_str());
    if (valid_) {
        value_ = hasDefault() ? default_ : min_;
    }
}

bool CRangeParser::GetStrValue(std::wstring& out, wchar_t separator) const {
    out = value_;
    if (separator == L'.') {
        std::replace(out.begin(), out.end(), L',', L'.');
    } else if (separator == L',') {
        std::replace(out.begin(), out.end(), L'.', L',');
    }
    return valid_;
}
