// The value grammars of the source files: booleans, times, value types, key
// weights, language tags and the cell values of typed columns. Each check is
// exact: text that is not in the grammar is refused, never half-read, so a
// typo in a source becomes an error instead of a silent default.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace VardelCatalog {

/// "true" / "false" in any case, "1" or "0".
std::optional<bool> ParseBoolean(std::wstring_view text);

/// A UTC time written exactly YYYY-MM-DDThh:mm:ssZ with a real date, hours
/// 00-23, minutes and seconds 00-59.
bool IsTimestamp(std::wstring_view text);

/// "string", "double", "integer" or "boolean" in any case, lower-cased.
std::optional<std::wstring> CanonicalValueType(std::wstring_view text);

/// A decimal number without sign, at most 9 digits.
std::optional<int> ParseCount(std::wstring_view text);

/// A language tag as the catalogue keys it: ASCII letters lower-cased.
std::wstring LanguageKey(std::wstring_view tag);

/// Whether `text` is a value of a column of `valueType` (canonical): for
/// "double" a decimal number in the C locale ("8", "-0.35", "1.5e3"; no
/// blanks, no "inf" or "nan", no hexadecimal), for "integer" an optional sign
/// and digits, for "boolean" what ParseBoolean takes; any text for "string".
bool IsValueOfType(std::wstring_view valueType, std::wstring_view text);

}  // namespace VardelCatalog
