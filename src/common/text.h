// Small text helpers shared by every subsystem: white-space trimming and
// number conversion in the fixed "C" locale. Stored family data, attribute
// values and query tolerances always use a point as decimal separator, so
// these never follow the process's global locale.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace VardelCommon {

/// True for space, tab, line feed, vertical tab, form feed and carriage return.
bool IsSpace(wchar_t c);

/// The text without white space at both ends.
std::wstring_view Trim(std::wstring_view text);

/// The leading floating-point number of a null-terminated text, read in the
/// "C" locale after optional leading white space. `consumed` receives the
/// number of characters read (0 when there is no number, and the result is 0).
double ParseLeadingNumber(const wchar_t* text, std::size_t* consumed = nullptr);

/// True when the whole text is one floating-point number in the "C" locale
/// (leading white space allowed, nothing after the number).
bool IsWholeNumber(const std::wstring& text);

/// `value` printed like printf's "%.<decimals>f" in the "C" locale.
std::wstring FormatFixed(double value, int decimals);

}  // namespace VardelCommon
