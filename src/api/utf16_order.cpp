#include "api/utf16_order.h"

#include <algorithm>
#include <cstdint>

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

int CompareUtf16Order(std::wstring_view a, std::wstring_view b) {
    const auto mismatch = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    if (mismatch.first == a.end()) {
        return mismatch.second == b.end() ? 0 : -1;
    }
    if (mismatch.second == b.end()) {
        return 1;
    }
    return SortKey(*mismatch.first) < SortKey(*mismatch.second) ? -1 : 1;
}

}  // namespace VardelUtils
