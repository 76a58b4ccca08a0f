// Escaping for XML that is composed as text rather than built as a tree (the
// family documents rendered on the import's hot path). One function serves
// attribute values and element content alike, from wide text straight to
// UTF-8, so what a reader gets back is exactly the text that went in.
#pragma once

#include <string>
#include <string_view>

namespace VardelCatalog {

/// Whether an XML 1.0 document can hold the character, even as a character
/// reference: tab, line feed, carriage return, U+0020-U+D7FF,
/// U+E000-U+FFFD and U+10000-U+10FFFF.
bool IsXmlCharacter(char32_t c);

/// Appends `text` to `out` in UTF-8, with & < > " as entity references and
/// tab, line feed and carriage return as character references (attribute
/// normalisation and line-end handling would change them otherwise). A
/// character XML cannot hold is written as U+FFFD; callers that must not
/// lose text check IsXmlCharacter first.
void AppendEscaped(std::string& out, std::wstring_view text);

}  // namespace VardelCatalog
