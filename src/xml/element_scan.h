// Direct walks over the children of one element, for the hot paths of the
// family model (a row's cells, a table's rows and columns), where an XPath
// evaluation per call would cost more than the work it selects. Element and
// attribute names are plain ASCII names compared exactly with names that
// carry no namespace, as an XPath step without prefix selects them. Results
// are XMLNode values of the parent's document; an empty parent gives empty
// results. Internal to the library; no libxml2 type crosses this header.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "vardel/xml_node.h"

namespace VardelXml {

/// The first child element `name` of `parent` whose attribute `attribute`
/// equals `value` exactly; when none does, the first whose attribute equals
/// it ignoring case (a missing attribute equals nothing). Empty when none.
/// One pass over the children.
XMLNode FindChildByAttribute(const XMLNode& parent, const char* name, const char* attribute,
                             std::wstring_view value);

/// The first child element `name` of `parent`; empty when none.
XMLNode FindChild(const XMLNode& parent, const char* name);

/// The elements the XPath path "a/b/..." of `names` selects below `parent`,
/// in document order (every child `a`, then each one's children `b`, ...).
std::vector<XMLNode> ElementsAtPath(const XMLNode& parent,
                                    std::initializer_list<const char*> names);

/// The concatenated text of `element`'s descendants into `text` (its buffer
/// reused when the element holds a single text node); false for an empty
/// node.
bool ReadText(const XMLNode& element, std::wstring& text);

}  // namespace VardelXml
