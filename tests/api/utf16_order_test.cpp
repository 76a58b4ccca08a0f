// The UTF-16 order helpers: the shared prefix found block by block, and the
// sort key that must never contradict the full comparison.
#include "api/utf16_order.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using VardelUtils::CommonPrefixLength;
using VardelUtils::CompareUtf16Order;
using VardelUtils::Utf16OrderKey;

TEST(Utf16Order, FindsTheFirstDifferenceAtEveryPositionOfBlockAndTail) {
    const std::wstring base = L"0123456789";
    for (std::size_t at = 0; at < base.size(); ++at) {
        std::wstring other = base;
        other[at] = L'x';
        SCOPED_TRACE(at);
        EXPECT_EQ(CommonPrefixLength(base, other), at);
        EXPECT_LT(CompareUtf16Order(base, other), 0);
        EXPECT_GT(CompareUtf16Order(other, base), 0);
        EXPECT_EQ(CommonPrefixLength(base, base.substr(0, at)), at);
        EXPECT_GT(CompareUtf16Order(base, base.substr(0, at)), 0);
    }
    EXPECT_EQ(CommonPrefixLength(base, base), base.size());
    EXPECT_EQ(CommonPrefixLength(L"", base), 0u);
}

TEST(Utf16Order, SortKeysNeverContradictTheComparison) {
    const std::vector<std::wstring> texts = {L"",
                                             L"a",
                                             std::wstring(L"a\0", 2),
                                             L"ab",
                                             L"abcd",
                                             L"abcde",
                                             L"abcdf",
                                             L"abce",
                                             L"\uD7FF",
                                             L"a\uD7FF",
                                             L"a\uE000",
                                             L"a\uFFFF",
                                             L"a\U00010000",
                                             L"a\U0010FFFF",
                                             L"ab\uE000z",
                                             L"ab\U0001F600",
                                             std::wstring(1, static_cast<wchar_t>(-1)),
                                             std::wstring(L"a") + static_cast<wchar_t>(0xDC00)};
    for (const std::wstring& a : texts) {
        for (const std::wstring& b : texts) {
            SCOPED_TRACE(testing::PrintToString(a) + " " + testing::PrintToString(b));
            const int order = CompareUtf16Order(a, b);
            if (Utf16OrderKey(a) < Utf16OrderKey(b)) {
                EXPECT_LT(order, 0);
            } else if (Utf16OrderKey(a) > Utf16OrderKey(b)) {
                EXPECT_GT(order, 0);
            }
        }
    }
    // Plain texts are told apart by their first four characters alone.
    EXPECT_LT(Utf16OrderKey(L"abc"), Utf16OrderKey(L"abd"));
    EXPECT_LT(Utf16OrderKey(L"ab"), Utf16OrderKey(std::wstring(L"ab\0", 3)));
    EXPECT_EQ(Utf16OrderKey(L"abcdX"), Utf16OrderKey(L"abcdY"));
}

}  // namespace
