// DescribeLocale: identifier table, name stripping, and the separator's
// fallback for locales that are not installed.
#include "common/user_locale.h"

#include <gtest/gtest.h>

#include <locale.h>

#include <cstdlib>

namespace {

using VardelCommon::DescribeLocale;
using VardelCommon::GetUserLocale;

TEST(UserLocale, IdentifierKeepsTheRegionThenFallsBackToLanguageThenDefault) {
    // Regional variants of one language must not collapse onto its main entry.
    EXPECT_EQ(DescribeLocale("en_GB").localeId, 2057u);
    EXPECT_EQ(DescribeLocale("fr_CH").localeId, 4108u);
    EXPECT_EQ(DescribeLocale("zh_TW").localeId, 1028u);
    // Codeset and modifier are stripped for the lookup but kept in the name.
    EXPECT_EQ(DescribeLocale("fr_CA.ISO-8859-1").localeId, 3084u);
    EXPECT_EQ(DescribeLocale("de_AT@euro").localeId, 3079u);
    EXPECT_EQ(DescribeLocale("de_DE.UTF-8@euro").name, "de_DE.UTF-8@euro");
    EXPECT_EQ(DescribeLocale("de_LU.UTF-8").localeId, 1031u);
    EXPECT_EQ(DescribeLocale("pt").localeId, 1046u);
    EXPECT_EQ(DescribeLocale("zh_SG").localeId, 2052u);
    EXPECT_EQ(DescribeLocale("xx_YY").localeId, 1033u);
    EXPECT_EQ(DescribeLocale("C.UTF-8").localeId, 1033u);
}

TEST(UserLocale, SeparatorComesFromInstalledLocaleDataOrFallsBack) {
    EXPECT_EQ(DescribeLocale("C.UTF-8").decimalSeparator, L'.');
    EXPECT_EQ(DescribeLocale("no_SUCH.locale").decimalSeparator, L'.');
    // An empty name does not consult the environment.
    const auto empty = DescribeLocale("");
    EXPECT_EQ(empty.name, "C");
    EXPECT_EQ(empty.decimalSeparator, L'.');
    EXPECT_EQ(empty.localeId, 1033u);

    const locale_t probe = newlocale(LC_NUMERIC_MASK, "de_DE.UTF-8", static_cast<locale_t>(0));
    if (probe == static_cast<locale_t>(0)) {
        EXPECT_EQ(DescribeLocale("de_DE.UTF-8").decimalSeparator, L'.');
        return;
    }
    freelocale(probe);
    EXPECT_EQ(DescribeLocale("de_DE.UTF-8").decimalSeparator, L',');
}

// GetUserLocale() caches its answer for the whole process, so each case runs
// in a freshly started copy of this program with the environment it sets.
class UserLocaleFromEnvironment : public ::testing::Test {
  protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }

    static void ExitWithMatch(std::string_view name, std::uint32_t id) {
        const auto& locale = GetUserLocale();
        std::exit(locale.name == name && locale.localeId == id ? 0 : 1);
    }
};

TEST_F(UserLocaleFromEnvironment, SkipsEmptyVariablesInResolutionOrderAndDefaultsToC) {
    EXPECT_EXIT(
        {
            setenv("LC_ALL", "", 1);
            setenv("LC_NUMERIC", "fr_CA.UTF-8", 1);
            setenv("LANG", "de_DE.UTF-8", 1);
            ExitWithMatch("fr_CA.UTF-8", 3084);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            setenv("LC_ALL", "ja_JP", 1);
            setenv("LC_NUMERIC", "fr_CA.UTF-8", 1);
            ExitWithMatch("ja_JP", 1041);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            unsetenv("LC_ALL");
            unsetenv("LC_NUMERIC");
            setenv("LANG", "", 1);
            ExitWithMatch("C", 1033);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(UserLocaleFromEnvironment, LaterChangesAreNotSeen) {
    EXPECT_EXIT(
        {
            setenv("LC_ALL", "sv_SE", 1);
            static_cast<void>(GetUserLocale());
            setenv("LC_ALL", "ko_KR", 1);
            ExitWithMatch("sv_SE", 1053);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
