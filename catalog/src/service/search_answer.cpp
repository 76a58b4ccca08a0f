// The answer is written as UTF-8 into one growing buffer and decoded once at
// the end: stored texts arrive as UTF-8, so most of them are copied as they
// are.
#include "service/search_answer.h"

#include <array>
#include <utility>

#include "common/utf8.h"

namespace VardelCatalog {
namespace {

constexpr std::size_t kInitialCapacity = 16 * 1024;
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

bool InRange(wchar_t c, wchar_t low, wchar_t high) {
    return c >= low && c <= high;
}

// The name start characters of XML 1.0 without the colon.
bool IsNameStart(wchar_t c) {
    return InRange(c, L'A', L'Z') || InRange(c, L'a', L'z') || c == L'_' ||
           InRange(c, 0xC0, 0xD6) || InRange(c, 0xD8, 0xF6) || InRange(c, 0xF8, 0x2FF) ||
           InRange(c, 0x370, 0x37D) || InRange(c, 0x37F, 0x1FFF) || InRange(c, 0x200C, 0x200D) ||
           InRange(c, 0x2070, 0x218F) || InRange(c, 0x2C00, 0x2FEF) || InRange(c, 0x3001, 0xD7FF) ||
           InRange(c, 0xF900, 0xFDCF) || InRange(c, 0xFDF0, 0xFFFD) || InRange(c, 0x10000, 0xEFFFF);
}

bool IsNameChar(wchar_t c) {
    return IsNameStart(c) || InRange(c, L'0', L'9') || c == L'-' || c == L'.' || c == 0xB7 ||
           InRange(c, 0x300, 0x36F) || InRange(c, 0x203F, 0x2040);
}

// U+FFFE and U+FFFF in UTF-8: EF BF BE and EF BF BF.
bool IsNonCharacterAt(std::string_view text, std::size_t i) {
    return text.size() - i >= 3 && text[i] == '\xEF' && text[i + 1] == '\xBF' &&
           (text[i + 2] == '\xBE' || text[i + 2] == '\xBF');
}

constexpr std::array<std::pair<char, std::string_view>, 7> kEscapes{{
    {'&', "&amp;"},
    {'<', "&lt;"},
    {'>', "&gt;"},
    {'"', "&quot;"},
    // Written as references so that the parser keeps them instead of
    // turning them into spaces.
    {'\t', "&#9;"},
    {'\n', "&#10;"},
    {'\r', "&#13;"},
}};

// What stands in the answer for the character at text[i] and how many bytes
// it replaces; width 0 when the character stands for itself.
struct Escape {
    std::string_view text;
    std::size_t width = 0;
};

Escape EscapeAt(std::string_view text, std::size_t i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c > '>') {
        return IsNonCharacterAt(text, i) ? Escape{kReplacement, 3} : Escape{};
    }
    for (const auto& [plain, escaped] : kEscapes) {
        if (text[i] == plain) {
            return {escaped, 1};
        }
    }
    return c < 0x20 ? Escape{kReplacement, 1} : Escape{};
}

void AppendEscaped(std::string& xml, std::string_view text) {
    std::size_t copied = 0;
    for (std::size_t i = 0; i < text.size();) {
        const Escape escape = EscapeAt(text, i);
        if (escape.width == 0) {
            ++i;
            continue;
        }
        xml += text.substr(copied, i - copied);
        xml += escape.text;
        i += escape.width;
        copied = i;
    }
    xml += text.substr(copied);
}

}  // namespace

bool IsAnswerAttributeName(std::wstring_view name) {
    if (name.empty() || !IsNameStart(name.front()) || name == L"xmlns") {
        return false;
    }
    for (wchar_t c : name.substr(1)) {
        if (!IsNameChar(c)) {
            return false;
        }
    }
    return true;
}

SearchAnswer::SearchAnswer() {
    xml_.reserve(kInitialCapacity);
    xml_ += "<results>";
}

void SearchAnswer::BeginRow(std::string_view familyId) {
    xml_ += "<row FamilyId=\"";
    AppendEscaped(xml_, familyId);
    xml_ += '"';
}

void SearchAnswer::Attribute(std::string_view name, std::string_view value) {
    xml_ += ' ';
    xml_ += name;
    xml_ += "=\"";
    AppendEscaped(xml_, value);
    xml_ += '"';
}

void SearchAnswer::EndRow() {
    xml_ += "/>";
}

std::wstring SearchAnswer::Finish() {
    xml_ += "</results>";
    return VardelCommon::FromUtf8(std::exchange(xml_, {}));
}

}  // namespace VardelCatalog
