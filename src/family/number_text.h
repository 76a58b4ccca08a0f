// Numbers as text in the form printf's "%g" gives in the "C" locale (a point
// as decimal separator), whatever the process's locale is. Numbers travel in
// this form between the family model and the evaluator provider, and
// computed cell values are written in it before any localisation.
#pragma once

#include <string>

namespace VardelFamily {

/// Appends `number` as "%.<precision>g" would print it.
void AppendNumber(std::wstring& out, double number, int precision);

/// `number` as "%.<precision>g" would print it; "%g" by default.
std::wstring FormatNumber(double number, int precision = 6);

}  // namespace VardelFamily
