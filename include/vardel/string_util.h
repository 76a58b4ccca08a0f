// Text helpers shared by family tables and the evaluator: what counts as a
// number or a logical value in a cell, decimal-separator normalisation
// between the user's locale and the stored point form, file-name cleaning and
// a few splitters used on formulas. Every function is static, keeps no state
// and may be called from any thread. Numbers are read in the "C" locale
// (point as decimal separator) whatever the process's locale is.
#pragma once

#include <string>
#include <vector>

#include "vardel/export.h"

class VARDEL_API CStringUtil {
  public:
    CStringUtil() = default;
    CStringUtil(const CStringUtil&) = default;
    CStringUtil& operator=(const CStringUtil&) = default;
    ~CStringUtil() = default;

    /// A new GUID as lower-case 8-4-4-4-12 text without braces; empty when the
    /// system gave the nil GUID.
    static std::wstring NewGuid();

    /// Replaces each of ? \ / < > : * | " by an underscore, then trims white
    /// space at both ends. Always true.
    static bool LegalizeForFileName(std::wstring& name);

    /// The decimal separator of the user's locale.
    static wchar_t GetDecimalSeparator();

    /// True when the whole text is one floating-point number; empty is true.
    static bool IsNumberStr(const std::wstring& text);

    /// Character-level number check accepting "," or "." as the one decimal
    /// separator and one exponent right after a digit; needs at least one
    /// digit. Null or empty is true.
    static bool IsNumericValue(const wchar_t* text);

    /// The leading number of the text; 0 when there is none or `text` is null.
    static double ToDouble(const wchar_t* text);

    /// True when the fractional part of `x` lies strictly within ±tolerance.
    static bool IsIntegerValue(double x, double tolerance);

    /// True when the trimmed text is, ignoring case, one of TRUE, FALSE, T, F,
    /// yes, no, Y, N, 1, 0. Null is false.
    static bool IsLogicalValue(const wchar_t* text);

    /// True when the untrimmed text is exactly "1" or "0".
    static bool IsRawLogicalValue(const wchar_t* text);

    /// True when the trimmed text is, ignoring case, TRUE, T, yes, Y or 1;
    /// false for everything else.
    static bool GetRawLogicalValue(const wchar_t* text);

    /// When `cell` is numeric (IsNumericValue), turns every comma of it into a
    /// point. Changes the argument and returns its new value.
    static std::wstring ReplaceDecimalPointOfCell(std::wstring& cell);

    /// Normalises the decimal separators of a formula outside braces (column
    /// references stay untouched): with `toPoint` every comma becomes a point,
    /// otherwise every point or comma becomes the user's decimal separator.
    /// Changes the argument and returns its new value.
    static std::wstring ReplaceDecimalPointOfColumnExpression(std::wstring& expression,
                                                              bool toPoint);

    /// Removes every trailing "0", then trailing points. Always true.
    static bool TrimDoubleString(std::wstring& text);

    /// Appends to `out` the pieces of `text` between non-overlapping
    /// occurrences of `separator`, an empty piece as `emptyValue`. Appends
    /// nothing when `text` or `separator` is empty or `out` is null.
    static void Split(const std::wstring& text, const std::wstring& separator,
                      std::vector<std::wstring>* out, const std::wstring& emptyValue);

    /// Splits `text` at any character of `delimiters` (empty tokens skipped)
    /// and appends, for each token containing `bracket`, the trimmed part
    /// before its first occurrence when that is not empty. False when an
    /// argument is empty or `out` is null.
    static bool ExtractByBracket(const std::wstring& text, const std::wstring& delimiters,
                                 const std::wstring& bracket, std::vector<std::wstring>* out);

    /// Joins a "&"-concatenation of string literals: each piece is trimmed and
    /// loses its enclosing double quotes. `"ab" & "cd"` gives abcd.
    static std::wstring TranslateStringSymbol(const std::wstring& expression);
};
