#include "api/utf16_order.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace VardelUtils {
namespace {

// A key whose numeric order is the order of the character's first UTF-16 code
// unit; for two supplementary characters it is their code-point order, which
// equals the order of their surrogate pairs.
std::uint64_t SortKey(wchar_t c) {
    const auto point = static_cast<std::uint32_t>(c);
    const bool upperBmp = point >= 0xE000 && point <= 0xFFFF;
    return upperBmp ? point + (std::uint64_t{1} << 32) : point;
}

}  // namespace

// Identifiers often share long prefixes, so blocks of characters are
// compared at once first.
std::size_t CommonPrefixLength(std::wstring_view a, std::wstring_view b) {
    constexpr std::size_t kBlock = 4;
    const std::size_t length = std::min(a.size(), b.size());
    std::size_t i = 0;
    while (i + kBlock <= length &&
           std::memcmp(a.data() + i, b.data() + i, kBlock * sizeof(wchar_t)) == 0) {
        i += kBlock;
    }
    while (i < length && a[i] == b[i]) {
        ++i;
    }
    return i;
}

int CompareUtf16Order(std::wstring_view a, std::wstring_view b) {
    const std::size_t common = CommonPrefixLength(a, b);
    if (common == a.size()) {
        return common == b.size() ? 0 : -1;
    }
    if (common == b.size()) {
        return 1;
    }
    return SortKey(a[common]) < SortKey(b[common]) ? -1 : 1;
}

// Characters below U+D800 sort before every other code unit: each takes 16
// bits, plus one so that the end of a text sorts before any character. The
// first other character fills the rest of the key with the largest value.
std::uint64_t Utf16OrderKey(std::wstring_view text) {
    constexpr std::size_t kCharacters = 4;
    constexpr std::uint32_t kFirstOther = 0xD800;
    std::uint64_t key = 0;
    bool other = false;
    for (std::size_t i = 0; i < kCharacters; ++i) {
        std::uint64_t part = 0;
        if (other || (i < text.size() && static_cast<std::uint32_t>(text[i]) >= kFirstOther)) {
            other = true;
            part = 0xFFFF;
        } else if (i < text.size()) {
            part = static_cast<std::uint32_t>(text[i]) + 1;
        }
        key = key << 16 | part;
    }
    return key;
}

}  // namespace VardelUtils
