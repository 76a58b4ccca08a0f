// A quick look at one attribute of a document's root element, without
// parsing the document: for estimates made over many files before they are
// read in earnest (the table a CSV description names). It reads only what
// may precede the root (a byte-order mark, an XML declaration, processing
// instructions, comments, white space) and the root's start tag, and gives
// up, leaving the answer to a real parser, on anything else: a document
// type declaration, a character or entity reference or white-space
// character in a value (which a parser would replace), a malformed tag.
#pragma once

#include <optional>
#include <string_view>

namespace VardelCatalog {

struct RootAttribute {
    bool decided = false;                   ///< False: parse the document instead.
    std::optional<std::string_view> value;  ///< When decided: the value, if present.
};

/// The attribute `name` of the root element of the XML document `bytes`;
/// the value is a view into `bytes`.
RootAttribute ScanRootAttribute(std::string_view bytes, std::string_view name);

}  // namespace VardelCatalog
