// The user's locale, as the library needs it: the decimal separator that
// cells are shown with, and the numeric locale identifier that names table
// cache files. It is read once from the environment (LC_ALL, then LC_NUMERIC,
// then LANG, as the C library resolves the numeric category) and never
// changes while the process runs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace VardelCommon {

struct UserLocale {
    std::string name;               // as found in the environment, "C" when unset
    wchar_t decimalSeparator = L'.';
    std::uint32_t localeId = 1033;  // the numeric identifier; 1033 when unknown
};

/// The process's user locale, read on first use.
const UserLocale& GetUserLocale();

/// Describes the locale of the given name ("de_DE.UTF-8", "fr_FR", "C"):
/// the separator from the C library's data for it ('.' when the locale is
/// not installed), the identifier from a table of common locale names.
UserLocale DescribeLocale(std::string_view name);

}  // namespace VardelCommon
