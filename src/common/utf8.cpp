// UTF-8 codec; bad input gives one U+FFFD per maximal ill-formed subpart, the
// practice Unicode recommends, so a single stray byte never swallows the
// valid characters after it.
#include "common/utf8.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace VardelCommon {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsScalarValue(char32_t c) {
    return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

// How a lead byte continues: the number of continuation bytes and the range
// allowed for the first of them. The narrowed ranges after E0, ED, F0 and F4
// are what rule out overlong forms, encoded surrogates and values past
// U+10FFFF.
struct LeadInfo {
    int continuations = -1;  // -1: not a lead byte
    std::uint8_t low = 0x80;
    std::uint8_t high = 0xBF;
};

LeadInfo DescribeLead(std::uint8_t b) {
    if (b < 0x80) {
        return {0};
    }
    if (b >= 0xC2 && b <= 0xDF) {
        return {1};
    }
    if (b >= 0xE0 && b <= 0xEF) {
        if (b == 0xE0) {
            return {2, 0xA0, 0xBF};
        }
        return b == 0xED ? LeadInfo{2, 0x80, 0x9F} : LeadInfo{2};
    }
    if (b == 0xF0) {
        return {3, 0x90, 0xBF};
    }
    if (b >= 0xF1 && b <= 0xF3) {
        return {3};
    }
    return b == 0xF4 ? LeadInfo{3, 0x80, 0x8F} : LeadInfo{};
}

// Decodes one character at `pos` and advances past it, or past the maximal
// ill-formed subpart when the sequence is bad.
char32_t DecodeOne(std::string_view bytes, std::size_t& pos) {
    const auto lead = static_cast<std::uint8_t>(bytes[pos++]);
    const LeadInfo info = DescribeLead(lead);
    if (info.continuations < 0) {
        return kReplacement;
    }
    // The lead byte keeps 7, 5, 4 or 3 payload bits.
    char32_t c = info.continuations == 0 ? lead : lead & (0x3Fu >> info.continuations);
    std::uint8_t low = info.low;
    std::uint8_t high = info.high;
    for (int i = 0; i < info.continuations; ++i) {
        if (pos >= bytes.size()) {
            return kReplacement;
        }
        const auto b = static_cast<std::uint8_t>(bytes[pos]);
        if (b < low || b > high) {
            return kReplacement;
        }
        c = (c << 6) | (b & 0x3Fu);
        ++pos;
        low = 0x80;
        high = 0xBF;
    }
    return c;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
    auto put = [&out](char32_t byte) { out.push_back(static_cast<char>(byte)); };
    if (c < 0x80) {
        put(c);
    } else if (c < 0x800) {
        put(0xC0 | (c >> 6));
        put(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        put(0xE0 | (c >> 12));
        put(0x80 | ((c >> 6) & 0x3F));
        put(0x80 | (c & 0x3F));
    } else {
        put(0xF0 | (c >> 18));
        put(0x80 | ((c >> 12) & 0x3F));
        put(0x80 | ((c >> 6) & 0x3F));
        put(0x80 | (c & 0x3F));
    }
}

std::string ToUtf8(std::wstring_view text) {
    // A leading ASCII run, often the whole text, narrows in place.
    const auto ascii = std::find_if(
        text.begin(), text.end(), [](wchar_t c) { return static_cast<std::uint32_t>(c) >= 0x80; });
    std::string out(static_cast<std::size_t>(ascii - text.begin()), '\0');
    std::transform(text.begin(), ascii, out.begin(),
                   [](wchar_t c) { return static_cast<char>(c); });
    if (ascii == text.end())
        return out;
    out.reserve(text.size() + static_cast<std::size_t>(text.end() - ascii) * 3);
    for (auto at = ascii; at != text.end(); ++at) {
        const auto c = static_cast<char32_t>(*at);
        AppendUtf8(out, IsScalarValue(c) ? c : kReplacement);
    }
    return out;
}

std::wstring FromUtf8(std::string_view bytes) {
    // A leading ASCII run, often the whole text, widens byte by byte.
    const auto ascii = std::find_if(bytes.begin(), bytes.end(),
                                    [](char b) { return static_cast<std::uint8_t>(b) >= 0x80; });
    std::wstring text(bytes.begin(), ascii);
    if (ascii == bytes.end()) {
        return text;
    }
    text.reserve(bytes.size());
    std::size_t pos = static_cast<std::size_t>(ascii - bytes.begin());
    while (pos < bytes.size()) {
        text.push_back(static_cast<wchar_t>(DecodeOne(bytes, pos)));
    }
    return text;
}

std::size_t FirstBadUtf8(std::string_view bytes) {
    constexpr std::string_view kEncodedReplacement = "\xEF\xBF\xBD";
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        // ASCII goes eight bytes at a time.
        std::uint64_t word = 0;
        if (bytes.size() - pos >= sizeof word) {
            std::memcpy(&word, bytes.data() + pos, sizeof word);
            if ((word & 0x8080808080808080U) == 0) {
                pos += sizeof word;
                continue;
            }
        }
        if (static_cast<std::uint8_t>(bytes[pos]) < 0x80) {
            ++pos;
            continue;
        }
        const std::size_t start = pos;
        // U+FFFD itself is the one well-formed sequence decoding to it.
        if (DecodeOne(bytes, pos) == kReplacement &&
            bytes.substr(start, kEncodedReplacement.size()) != kEncodedReplacement) {
            return start;
        }
    }
    return std::string_view::npos;
}

}  // namespace VardelCommon
