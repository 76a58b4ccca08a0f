// UTF-8 codec for texts that cross into byte-oriented interfaces (XML
// buffers, the command line, aspect bytes from the server). Malformed
// sequences, overlong forms and encoded surrogates decode to U+FFFD; a
// byte-order mark is kept as the character U+FEFF.
#pragma once

#include <string>
#include <string_view>

namespace VardelCommon {

std::string ToUtf8(std::wstring_view text);
/// Appends the UTF-8 bytes of the scalar value `c` (which must be one).
void AppendUtf8(std::string& out, char32_t c);
std::wstring FromUtf8(std::string_view bytes);
/// The offset of the first byte of `bytes` that starts no well-formed UTF-8
/// sequence (one FromUtf8 would replace by U+FFFD); npos when there is none.
std::size_t FirstBadUtf8(std::string_view bytes);

}  // namespace VardelCommon
