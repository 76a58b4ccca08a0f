#include "source/xml_escape.h"

#include "common/utf8.h"

namespace VardelCatalog {

bool IsXmlCharacter(char32_t c) {
    if (c < 0x20)
        return c == 0x9 || c == 0xA || c == 0xD;
    return c <= 0xD7FF || (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

void AppendEscaped(std::string& out, std::wstring_view text) {
    for (const wchar_t w : text) {
        const auto c = static_cast<char32_t>(w);
        switch (c) {
            case U'&':
                out += "&amp;";
                break;
            case U'<':
                out += "&lt;";
                break;
            case U'>':
                out += "&gt;";
                break;
            case U'"':
                out += "&quot;";
                break;
            case U'\t':
                out += "&#9;";
                break;
            case U'\n':
                out += "&#10;";
                break;
            case U'\r':
                out += "&#13;";
                break;
            default:
                if (c >= 0x20 && c < 0x80)
                    out.push_back(static_cast<char>(c));
                else
                    VardelCommon::AppendUtf8(out, IsXmlCharacter(c) ? c : U'\uFFFD');
        }
    }
}

}  // namespace VardelCatalog
