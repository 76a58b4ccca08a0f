// Hardened parsing into a new tree. No network access, no external entity or
// external DTD is ever read (a refusing loader answers for every parse of
// the layer), libxml2's entity-amplification and depth limits stay on, and
// errors are never printed but handed back in `failure` (libxml2's message
// and line). Whitespace-only text nodes are dropped while parsing (except
// under xml:space="preserve"). Elements remember the line they stand on.
#pragma once

#include <memory>
#include <string_view>

#include "xml/xml_tree.h"

namespace VardelXml {

/// Parses a document given as text; a declaration's encoding is recorded but
/// does not change how the text is read. Null when it does not parse.
std::shared_ptr<XmlTree> ParseText(std::wstring_view text, ParseFailure& failure);

/// ParseText for a text already in UTF-8 (a leading byte-order mark
/// skipped), without a round trip through wide text; bytes that are not
/// UTF-8 fail the parse.
std::shared_ptr<XmlTree> ParseUtf8Text(std::string_view text, ParseFailure& failure);

/// Parses the bytes of a file, in the encoding their byte-order mark or
/// declaration names (UTF-8 when neither). Null when they do not parse.
std::shared_ptr<XmlTree> ParseBytes(std::string_view bytes, ParseFailure& failure);

}  // namespace VardelXml
