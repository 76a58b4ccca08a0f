// Trimming and "C"-locale number conversion.
#include "common/text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cwchar>
#include <limits>

namespace {

using VardelCommon::FormatFixed;
using VardelCommon::ParseLeadingNumber;

TEST(Text, TrimRemovesAsciiWhiteSpaceAtBothEnds) {
    EXPECT_EQ(VardelCommon::Trim(L" \t\r\na b\v\f "), L"a b");
    EXPECT_EQ(VardelCommon::Trim(L"   "), L"");
    EXPECT_EQ(VardelCommon::Trim(L""), L"");
    EXPECT_EQ(VardelCommon::Trim(L"\u00A0x"), L"\u00A0x");  // no-break space is content
}

TEST(Text, ParseLeadingNumberReportsWhatItRead) {
    std::size_t consumed = 99;
    EXPECT_DOUBLE_EQ(ParseLeadingNumber(L" 2.5mm", &consumed), 2.5);
    EXPECT_EQ(consumed, 4u);
    EXPECT_DOUBLE_EQ(ParseLeadingNumber(L"2,5", &consumed), 2.0);
    EXPECT_EQ(consumed, 1u);
    EXPECT_DOUBLE_EQ(ParseLeadingNumber(L"mm", &consumed), 0.0);
    EXPECT_EQ(consumed, 0u);
    EXPECT_DOUBLE_EQ(ParseLeadingNumber(nullptr, &consumed), 0.0);
    EXPECT_EQ(consumed, 0u);
    EXPECT_TRUE(std::isinf(ParseLeadingNumber(L"1e999")));
}

// Every form of number reads exactly as wcstod reads it in the "C" locale,
// the value to the last bit and the length read.
TEST(Text, ParseLeadingNumberReadsAsWcstod) {
    const std::wstring digits70(70, L'7');
    const wchar_t* const texts[] = {
        L"0",
        L"-0",
        L"8",
        L"12.5",
        L".5",
        L"5.",
        L"-.5",
        L"-",
        L"-.",
        L".",
        L"1e5",
        L"1E-5",
        L"1e",
        L"1e+",
        L"2.5e+3mm",
        L"1-2",
        L"0.1",
        L"0.30000000000000004",
        L"9007199254740993",
        L"1e400",
        L"-1e400",
        L"1e-400",
        L"4.9e-324",
        L"0x1A",
        L"-0x1p3",
        L"0X10",
        L"+3",
        L" 7",
        L"\t-7",
        L"inf",
        L"-inf",
        L"nan",
        L"-nan",
        L"1,5",
        L"\u0661",
        L"e5",
        digits70.c_str(),
        L"1.000000000000000000000000000000000000000000000000000000000000001"};
    for (const wchar_t* text : texts) {
        SCOPED_TRACE(testing::Message() << std::wstring(text).size() << " characters");
        wchar_t* end = nullptr;
        const double expected = std::wcstod(text, &end);
        std::size_t consumed = 99;
        const double value = ParseLeadingNumber(text, &consumed);
        EXPECT_EQ(consumed, static_cast<std::size_t>(end - text)) << testing::PrintToString(text);
        if (std::isnan(expected))
            EXPECT_TRUE(std::isnan(value));
        else
            EXPECT_EQ(std::bit_cast<std::uint64_t>(value), std::bit_cast<std::uint64_t>(expected));
    }
}

TEST(Text, IsWholeNumber) {
    EXPECT_TRUE(VardelCommon::IsWholeNumber(L"-1.5e3"));
    EXPECT_FALSE(VardelCommon::IsWholeNumber(L"1.5 "));
    EXPECT_FALSE(VardelCommon::IsWholeNumber(L""));
}

TEST(Text, FormatFixedUsesAPointAndTheGivenDecimals) {
    EXPECT_EQ(FormatFixed(2.5, 12), L"2.500000000000");
    EXPECT_EQ(FormatFixed(-0.125, 2), L"-0.12");
    EXPECT_EQ(FormatFixed(3, 0), L"3");
    EXPECT_EQ(FormatFixed(1e300, 12).size(), 301u + 13u);
    EXPECT_EQ(FormatFixed(std::numeric_limits<double>::max(), 12).back(), L'0');
}

}  // namespace
