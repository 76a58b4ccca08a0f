// Serialisation of nodes and documents through libxml2's writer into memory.
#pragma once

#include <optional>
#include <string>

#include "xml/xml_tree.h"

namespace VardelXml {

/// The node with its subtree as UTF-8 text, without any declaration.
std::string SerializeNode(xmlNodePtr node);

/// The bytes of the whole document as a file: encoded as its declaration
/// names and starting with that declaration, or UTF-8 without a declaration
/// when it has none. No value when the encoding is unknown.
std::optional<std::string> SerializeDocumentFile(const XmlTree& tree);

/// The declaration text that the document's text form starts with; empty
/// when it has none.
std::string DeclarationText(const XmlTree& tree);

}  // namespace VardelXml
