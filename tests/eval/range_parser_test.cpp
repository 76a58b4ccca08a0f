// CRangeParser: range cells "[min;max;step;default]", lenient parse and strict shape.
#include "vardel/range_parser.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct RangeCase {
    const wchar_t* text;
    bool valid;
    const wchar_t* min;
    const wchar_t* max;
    const wchar_t* step;
    const wchar_t* defaultValue;
    const wchar_t* value;
};

TEST(RangeParser, PartsValidityAndValue) {
    const RangeCase cases[] = {
        {L"[1;10;1;5]", true, L"1", L"10", L"1", L"5", L"5"},
        {L"[1;10;;]", true, L"1", L"10", L"", L"", L"1"},
        {L"[a;10;1;5]", false, L"a", L"10", L"1", L"5", L""},
        {L"[;;;]", true, L"", L"", L"", L"", L""},
        {L"[ 0,5 ; 2 ; 0.5 ; 1 ]", true, L"0,5", L"2", L"0.5", L"1", L"1"},
        {L"x[1;2;3;4]y", true, L"1", L"2", L"3", L"4", L"4"},      // lenient around the brackets
        {L"[1;2;3;4;5]", true, L"1", L"2", L"3", L"4;5", L"4;5"},  // default runs to "]"
        {L"[1;2;3]", false, L"", L"", L"", L"", L""},
        {L"1;2;3;4]", false, L"", L"", L"", L"", L""},
        {L"[1;2;3;4", false, L"", L"", L"", L"", L""},
        {L"[1;2]3;4;", false, L"", L"", L"", L"", L""},  // third ";" after "]"
        {L"", false, L"", L"", L"", L"", L""},
    };
    for (const RangeCase& c : cases) {
        const CRangeParser range(c.text);
        std::wstring value = L"stale";
        EXPECT_EQ(range.GetStrValue(value, L'\0'), c.valid) << c.text;
        EXPECT_EQ(range.getMin(), c.min) << c.text;
        EXPECT_EQ(range.getMax(), c.max) << c.text;
        EXPECT_EQ(range.getStep(), c.step) << c.text;
        EXPECT_EQ(range.getDefault(), c.defaultValue) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
        EXPECT_EQ(range.hasStep(), *c.step != L'\0') << c.text;
    }
    std::wstring value;
    EXPECT_FALSE(CRangeParser(nullptr).GetStrValue(value, L'.'));
    EXPECT_EQ(value, L"");
}

TEST(RangeParser, GetStrValueConvertsTheSeparator) {
    const CRangeParser range(L"[0.5;2.5;0.5;1.5]");
    std::wstring value;
    EXPECT_TRUE(range.GetStrValue(value, L','));
    EXPECT_EQ(value, L"1,5");
    EXPECT_TRUE(range.GetStrValue(value, L'.'));
    EXPECT_EQ(value, L"1.5");
    const CRangeParser comma(L"[0,5;2;;]");
    EXPECT_TRUE(comma.GetStrValue(value, L'.'));
    EXPECT_EQ(value, L"0.5");
}

TEST(RangeParser, CopiesAreIndependentValues) {
    CRangeParser copy(L"[1;2;;]");
    {
        const CRangeParser original(L"[3;4;1;3]");
        copy = original;
    }
    std::wstring value;
    EXPECT_TRUE(copy.GetStrValue(value, L'.'));
    EXPECT_EQ(value, L"3");
    EXPECT_EQ(CRangeParser(copy).getMax(), L"4");
}

TEST(RangeParser, IsRangeIsStrict) {
    EXPECT_TRUE(CRangeParser::IsRange(L"[1;10;1;5]"));
    EXPECT_TRUE(CRangeParser::IsRange(L"[;;;]"));
    EXPECT_FALSE(CRangeParser::IsRange(L"[1;10;1]"));
    EXPECT_FALSE(CRangeParser::IsRange(L"x[1;2;3;4]"));
    EXPECT_FALSE(CRangeParser::IsRange(L"[1;2;3;4] "));
    EXPECT_FALSE(CRangeParser::IsRange(L"[1;2;3;4;5]"));
    EXPECT_FALSE(CRangeParser::IsRange(L"[[1;2;3;4]"));
    EXPECT_FALSE(CRangeParser::IsRange(L"[1;2];3;4]"));
    EXPECT_FALSE(CRangeParser::IsRange(L"[]"));
    EXPECT_FALSE(CRangeParser::IsRange(L"]"));
    EXPECT_FALSE(CRangeParser::IsRange(L""));
}

}  // namespace
