// Base64 (the standard alphabet, "=" padding, no line breaks) for binary
// data carried in texts, such as images served as data URIs. The decoder
// is strict: it accepts exactly the text the encoder writes for some bytes,
// so that a text has one meaning and a damaged one is noticed.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace VardelCommon {

/// The base64 text of `bytes`.
std::string EncodeBase64(std::string_view bytes);

/// The bytes `text` encodes; none when it is not such a text (a length that
/// is not a multiple of 4, a character outside the alphabet, misplaced
/// padding, or bits left over that the encoder would have written as 0).
std::optional<std::string> DecodeBase64(std::string_view text);

}  // namespace VardelCommon
