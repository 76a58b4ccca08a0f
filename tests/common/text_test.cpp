// Trimming and "C"-locale number conversion.
#include "common/text.h"

#include <gtest/gtest.h>

#include <cmath>
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
