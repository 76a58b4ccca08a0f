// Quoting of a text as an XPath 1.0 string literal, for every place that
// formats a name into an expression. XPath has no escape character: a text
// without apostrophes goes between apostrophes, one without double quotes
// between double quotes, and a text holding both kinds becomes a concat() of
// apostrophe-quoted pieces joined by "'". No text can end the literal early,
// so no name can change the expression it is put into.
#pragma once

#include <string>
#include <string_view>

namespace VardelXml {

/// `text` as one XPath string expression that evaluates to exactly `text`.
inline std::wstring XPathLiteral(std::wstring_view text) {
    if (text.find(L'\'') == std::wstring_view::npos) {
        return L"'" + std::wstring(text) + L"'";
    }
    if (text.find(L'"') == std::wstring_view::npos) {
        return L"\"" + std::wstring(text) + L"\"";
    }
    std::wstring out = L"concat(";
    std::size_t start = 0;
    for (std::size_t quote = text.find(L'\''); quote != std::wstring_view::npos;
         quote = text.find(L'\'', start)) {
        out += L"'" + std::wstring(text.substr(start, quote - start)) + L"', \"'\", ";
        start = quote + 1;
    }
    out += L"'" + std::wstring(text.substr(start)) + L"')";
    return out;
}

}  // namespace VardelXml
