// CStringUtil: the number and logical-value vocabulary of table cells, the
// decimal-separator rewrites and the formula splitters.
#include "vardel/string_util.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using Pieces = std::vector<std::wstring>;

TEST(StringUtil, NewGuidIsLowerCaseGroupedAndUnique) {
    std::set<std::wstring> seen;
    for (int i = 0; i < 100; ++i) {
        const std::wstring guid = CStringUtil::NewGuid();
        ASSERT_EQ(guid.size(), 36u);
        for (std::size_t k = 0; k < guid.size(); ++k) {
            const bool dash = k == 8 || k == 13 || k == 18 || k == 23;
            EXPECT_EQ(guid[k] == L'-', dash) << k;
            EXPECT_FALSE(guid[k] >= L'A' && guid[k] <= L'Z');
        }
        seen.insert(guid);
    }
    EXPECT_EQ(seen.size(), 100u);
}

TEST(StringUtil, LegalizeForFileNameReplacesTheNineCharactersThenTrims) {
    std::wstring name = L" a:b*c ";
    EXPECT_TRUE(CStringUtil::LegalizeForFileName(name));
    EXPECT_EQ(name, L"a_b_c");
    name = L"?\\/<>:*|\"x";
    CStringUtil::LegalizeForFileName(name);
    EXPECT_EQ(name, L"_________x");
    name = L"\t \n";
    CStringUtil::LegalizeForFileName(name);
    EXPECT_EQ(name, L"");
}

TEST(StringUtil, IsNumericValueFollowsTheCharacterRules) {
    for (const wchar_t* yes :
         {L"", L"1", L"1e", L"-,5", L"1,5", L"1.5", L"+1E-3", L"-1e+10", L"12.", L".5"}) {
        EXPECT_TRUE(CStringUtil::IsNumericValue(yes)) << yes;
    }
    for (const wchar_t* no : {L"+", L".", L"1.5.2", L"1,5.2", L"1e5.0", L"e5", L"1ee5", L"1-2",
                              L"1e5e", L"1 ", L"abc", L"--1", L".e5"}) {
        EXPECT_FALSE(CStringUtil::IsNumericValue(no)) << no;
    }
    EXPECT_TRUE(CStringUtil::IsNumericValue(nullptr));
}

TEST(StringUtil, IsNumberStrNeedsTheWholeText) {
    EXPECT_TRUE(CStringUtil::IsNumberStr(L""));
    EXPECT_TRUE(CStringUtil::IsNumberStr(L"2.5"));
    EXPECT_TRUE(CStringUtil::IsNumberStr(L"-1e3"));
    EXPECT_FALSE(CStringUtil::IsNumberStr(L"2,5"));  // the point is the separator
    EXPECT_FALSE(CStringUtil::IsNumberStr(L"2.5mm"));
    EXPECT_FALSE(CStringUtil::IsNumberStr(L"mm"));
}

TEST(StringUtil, ToDoubleReadsTheLeadingNumber) {
    EXPECT_DOUBLE_EQ(CStringUtil::ToDouble(L"2.5mm"), 2.5);
    EXPECT_DOUBLE_EQ(CStringUtil::ToDouble(L"2,5"), 2.0);
    EXPECT_DOUBLE_EQ(CStringUtil::ToDouble(L"  -3e2"), -300.0);
    EXPECT_DOUBLE_EQ(CStringUtil::ToDouble(L"x1"), 0.0);
    EXPECT_DOUBLE_EQ(CStringUtil::ToDouble(L""), 0.0);
    EXPECT_DOUBLE_EQ(CStringUtil::ToDouble(nullptr), 0.0);
}

TEST(StringUtil, IsIntegerValueUsesAStrictToleranceOnBothSides) {
    EXPECT_TRUE(CStringUtil::IsIntegerValue(3.0, 1e-9));
    EXPECT_TRUE(CStringUtil::IsIntegerValue(-3.05, 0.1));
    EXPECT_FALSE(CStringUtil::IsIntegerValue(3.5, 0.5));  // strictly inside
    EXPECT_FALSE(CStringUtil::IsIntegerValue(-3.5, 0.5));
    EXPECT_FALSE(CStringUtil::IsIntegerValue(2.0, 0.0));  // zero tolerance accepts nothing
    // 2.9999 truncates to 2, so its fraction is 0.9999, not -0.0001.
    EXPECT_FALSE(CStringUtil::IsIntegerValue(2.9999, 0.001));
}

TEST(StringUtil, LogicalValues) {
    for (const wchar_t* text :
         {L"TRUE", L" false ", L"t", L"F", L"Yes", L"NO", L"y", L"n", L"1", L"0"}) {
        EXPECT_TRUE(CStringUtil::IsLogicalValue(text)) << text;
    }
    for (const wchar_t* text : {L"", L"on", L"2", L"truee", L"10"}) {
        EXPECT_FALSE(CStringUtil::IsLogicalValue(text)) << text;
    }
    EXPECT_FALSE(CStringUtil::IsLogicalValue(nullptr));

    EXPECT_TRUE(CStringUtil::IsRawLogicalValue(L"1"));
    EXPECT_TRUE(CStringUtil::IsRawLogicalValue(L"0"));
    EXPECT_FALSE(CStringUtil::IsRawLogicalValue(L" 1"));
    EXPECT_FALSE(CStringUtil::IsRawLogicalValue(L"TRUE"));
    EXPECT_FALSE(CStringUtil::IsRawLogicalValue(nullptr));

    for (const wchar_t* text : {L"TRUE", L" t", L"yes ", L"Y", L"1"}) {
        EXPECT_TRUE(CStringUtil::GetRawLogicalValue(text)) << text;
    }
    for (const wchar_t* text : {L"FALSE", L"F", L"no", L"N", L"0", L"", L"maybe"}) {
        EXPECT_FALSE(CStringUtil::GetRawLogicalValue(text)) << text;
    }
    EXPECT_FALSE(CStringUtil::GetRawLogicalValue(nullptr));
}

TEST(StringUtil, ReplaceDecimalPointOfCellOnlyTouchesNumbers) {
    std::wstring cell = L"2,5";
    EXPECT_EQ(CStringUtil::ReplaceDecimalPointOfCell(cell), L"2.5");
    EXPECT_EQ(cell, L"2.5");
    cell = L"a,b";
    EXPECT_EQ(CStringUtil::ReplaceDecimalPointOfCell(cell), L"a,b");
    cell = L"1,5,2";  // two separators: not a number
    EXPECT_EQ(CStringUtil::ReplaceDecimalPointOfCell(cell), L"1,5,2");
}

TEST(StringUtil, ReplaceDecimalPointOfColumnExpressionSkipsBraces) {
    std::wstring expression = L"{Len,1} + 2,5";
    EXPECT_EQ(CStringUtil::ReplaceDecimalPointOfColumnExpression(expression, true),
              L"{Len,1} + 2.5");
    EXPECT_EQ(expression, L"{Len,1} + 2.5");

    expression = L"max(1,5; {a.b}) + 0.5";
    CStringUtil::ReplaceDecimalPointOfColumnExpression(expression, true);
    EXPECT_EQ(expression, L"max(1.5; {a.b}) + 0.5");

    // Towards the user's separator every point or comma outside braces changes.
    const wchar_t separator = CStringUtil::GetDecimalSeparator();
    expression = L"1.5 + {x.y} + 2,5";
    CStringUtil::ReplaceDecimalPointOfColumnExpression(expression, false);
    const std::wstring s(1, separator);
    EXPECT_EQ(expression, L"1" + s + L"5 + {x.y} + 2" + s + L"5");

    expression = L"{a} + 2";
    EXPECT_EQ(CStringUtil::ReplaceDecimalPointOfColumnExpression(expression, true), L"{a} + 2");
}

TEST(StringUtil, TrimDoubleString) {
    const auto trimmed = [](std::wstring text) {
        EXPECT_TRUE(CStringUtil::TrimDoubleString(text));
        return text;
    };
    EXPECT_EQ(trimmed(L"1.500000000000"), L"1.5");
    EXPECT_EQ(trimmed(L"100.000000000000"), L"100");
    EXPECT_EQ(trimmed(L"100"), L"1");
    EXPECT_EQ(trimmed(L"0.000"), L"0");
    EXPECT_EQ(trimmed(L"000"), L"");
    EXPECT_EQ(trimmed(L""), L"");
}

TEST(StringUtil, SplitKeepsEmptyPiecesAsTheEmptyValue) {
    Pieces out{L"kept"};
    CStringUtil::Split(L"a;;b", L";", &out, L"x");
    EXPECT_EQ(out, (Pieces{L"kept", L"a", L"x", L"b"}));

    out.clear();
    CStringUtil::Split(L";a;", L";", &out, L"");
    EXPECT_EQ(out, (Pieces{L"", L"a", L""}));

    out.clear();
    CStringUtil::Split(L"a<>b<><>c", L"<>", &out, L"-");
    EXPECT_EQ(out, (Pieces{L"a", L"b", L"-", L"c"}));

    out.clear();
    CStringUtil::Split(L"aaa", L"aa", &out, L"-");  // non-overlapping, left to right
    EXPECT_EQ(out, (Pieces{L"-", L"a"}));

    out.clear();
    CStringUtil::Split(L"", L";", &out, L"x");
    CStringUtil::Split(L"a", L"", &out, L"x");
    CStringUtil::Split(L"a", L";", nullptr, L"x");
    EXPECT_TRUE(out.empty());
}

TEST(StringUtil, ExtractByBracket) {
    Pieces out;
    EXPECT_TRUE(
        CStringUtil::ExtractByBracket(L"sin( x ) + , len (3) ,,noBracket, (y)", L"+,", L"(", &out));
    EXPECT_EQ(out, (Pieces{L"sin", L"len"}));
    EXPECT_FALSE(CStringUtil::ExtractByBracket(L"", L",", L"(", &out));
    EXPECT_FALSE(CStringUtil::ExtractByBracket(L"a(", L"", L"(", &out));
    EXPECT_FALSE(CStringUtil::ExtractByBracket(L"a(", L",", L"", &out));
    EXPECT_FALSE(CStringUtil::ExtractByBracket(L"a(", L",", L"(", nullptr));
    EXPECT_EQ(out.size(), 2u);
}

TEST(StringUtil, TranslateStringSymbolJoinsLiterals) {
    EXPECT_EQ(CStringUtil::TranslateStringSymbol(L"\"ab\" & \"cd\""), L"abcd");
    EXPECT_EQ(CStringUtil::TranslateStringSymbol(L"\"M\" & 8 & \"x\"&\"\""), L"M8x");
    EXPECT_EQ(CStringUtil::TranslateStringSymbol(L"plain"), L"plain");
    EXPECT_EQ(CStringUtil::TranslateStringSymbol(L"\"a"), L"\"a");
    EXPECT_EQ(CStringUtil::TranslateStringSymbol(L"\""), L"\"");
    EXPECT_EQ(CStringUtil::TranslateStringSymbol(L"a&&b"), L"ab");
}

}  // namespace
