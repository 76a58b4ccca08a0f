// A deep copy of one element as a document of its own, made in the tree
// without writing the element out as text and parsing it again: the family
// model copies whole tables this way before filling in evaluated values.
// The source element and its document are left as they are. Internal to
// the library; no libxml2 type crosses this header.
#pragma once

#include "vardel/xml_node.h"
#include "vardel/xml_parser.h"

namespace VardelXml {

/// Replaces the content of `document` (in every parser sharing it) by a deep
/// copy of `element` as root element, without XML declaration, as SetXml
/// would with the element's text. False, with `document` unchanged, when
/// `element` is not an element or memory runs out.
bool CopyElementAsDocument(const XMLNode& element, XMLParser& document);

}  // namespace VardelXml
