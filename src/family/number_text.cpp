// to_chars with a precision gives exactly printf's "%g" text in the "C"
// locale, without touching any locale.
#include "family/number_text.h"

#include <charconv>

namespace VardelFamily {

void AppendNumber(std::wstring& out, double number, int precision) {
    char buffer[64];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::general, precision)
            .ptr;
    out.append(buffer, end);
}

std::wstring FormatNumber(double number, int precision) {
    std::wstring text;
    AppendNumber(text, number, precision);
    return text;
}

}  // namespace VardelFamily
