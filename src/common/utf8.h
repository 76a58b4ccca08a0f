// UTF-8 codec for texts that cross into byte-oriented interfaces (XML
// buffers, the command line, aspect bytes from the server). Malformed
// sequences, overlong forms and encoded surrogates decode to U+FFFD; a
// byte-order mark is kept as the character U+FEFF.
#pragma once

#include <string>
#include <string_view>

namespace VardelCommon {

std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view bytes);

}  // namespace VardelCommon
