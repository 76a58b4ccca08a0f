// The case-insensitive helper: simple Unicode upper-casing, ordinal order,
// and independence from the process's global locale.
#include "common/case_fold.h"

#include <gtest/gtest.h>

#include <clocale>
#include <map>
#include <string>

namespace {

using VardelCommon::CompareNoCase;
using VardelCommon::EqualsNoCase;
using VardelCommon::LessNoCase;
using VardelCommon::ToUpper;
using VardelCommon::ToUpperChar;

// Restores the global locale a test changed.
class GlobalLocaleGuard {
  public:
    GlobalLocaleGuard() : saved_(std::setlocale(LC_ALL, nullptr)) {}
    ~GlobalLocaleGuard() { std::setlocale(LC_ALL, saved_.c_str()); }

  private:
    std::string saved_;
};

void ExpectUnicodeMappings() {
    EXPECT_EQ(ToUpperChar(L'a'), L'A');
    EXPECT_EQ(ToUpperChar(L'\u00E4'), L'\u00C4');  // a with diaeresis
    EXPECT_EQ(ToUpperChar(L'\u00DF'), L'\u00DF');  // sharp s has no simple upper case
    EXPECT_EQ(ToUpperChar(L'\u03B1'), L'\u0391');  // Greek alpha
    EXPECT_EQ(ToUpperChar(L'\u03C2'), L'\u03A3');  // Greek final sigma
    EXPECT_EQ(ToUpperChar(L'\u0436'), L'\u0416');  // Cyrillic zhe
    EXPECT_EQ(ToUpperChar(L'\u00FF'), L'\u0178');  // y with diaeresis leaves Latin-1
    EXPECT_EQ(ToUpper(L"stra\u00DFe \u00F6l"), L"STRA\u00DFE \u00D6L");
}

TEST(CaseFold, LeavesNonLettersAndOddValuesAlone) {
    EXPECT_EQ(ToUpper(L"0-9_{}@[`"), L"0-9_{}@[`");
    EXPECT_EQ(ToUpperChar(L'\u4E2D'), L'\u4E2D');
    EXPECT_EQ(ToUpperChar(static_cast<wchar_t>(0x1F600)), static_cast<wchar_t>(0x1F600));
    EXPECT_EQ(ToUpperChar(static_cast<wchar_t>(-1)), static_cast<wchar_t>(-1));
    EXPECT_EQ(ToUpperChar(static_cast<wchar_t>(0x110000)), static_cast<wchar_t>(0x110000));
}

TEST(CaseFold, UpperCasesWithSimpleUnicodeMappingInAnyGlobalLocale) {
    GlobalLocaleGuard guard;
    for (const char* name : {"C", "POSIX", "C.UTF-8"}) {
        SCOPED_TRACE(name);
        ASSERT_NE(std::setlocale(LC_ALL, name), nullptr);
        ExpectUnicodeMappings();
        EXPECT_TRUE(EqualsNoCase(L"\u00C4rger", L"\u00E4RGER"));
    }
}

TEST(CaseFold, ComparesAndEqualsByUpperCasedCodePointsThenLength) {
    EXPECT_EQ(CompareNoCase(L"abc", L"ABC"), 0);
    EXPECT_LT(CompareNoCase(L"abc", L"ABD"), 0);
    EXPECT_LT(CompareNoCase(L"ab", L"ABC"), 0);
    EXPECT_GT(CompareNoCase(L"abc", L"AB"), 0);
    EXPECT_LT(CompareNoCase(L"", L"a"), 0);
    // '_' (5F) sorts after 'Z' (5A) once 'z' is upper-cased, not before it as in raw order.
    EXPECT_LT(CompareNoCase(L"z", L"_"), 0);
    // Code-point order: U+00C4 after 'Z', a supplementary character after both.
    EXPECT_GT(CompareNoCase(L"\u00E4", L"z"), 0);
    EXPECT_GT(CompareNoCase(L"\U0001F600", L"\u00E4"), 0);
    // Equality needs the same length; no character expands.
    EXPECT_FALSE(EqualsNoCase(L"Row", L"Row1"));
    EXPECT_FALSE(EqualsNoCase(L"stra\u00DFe", L"STRASSE"));
}

TEST(CaseFold, MapKeyedWithoutCaseFindsAnySpelling) {
    std::map<std::wstring, int, LessNoCase> map;
    map[L"Diameter"] = 1;
    map[L"DIAMETER"] = 2;
    map[L"\u0434\u043B\u0438\u043D\u0430"] = 3;
    EXPECT_EQ(map.size(), 2u);
    EXPECT_EQ(map.find(std::wstring_view(L"\u0414\u041B\u0418\u041D\u0410"))->second, 3);
}

}  // namespace
