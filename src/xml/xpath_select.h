// XPath selection relative to a node, shared by every selecting operation.
#pragma once

#include <optional>
#include <vector>

#include "xml/xml_tree.h"

namespace VardelXml {

/// The nodes `xpath` selects with `context` as the context node, in
/// document order (at most one when `firstOnly`). No value when the
/// expression is null, invalid, fails to evaluate or yields no node-set.
std::optional<std::vector<xmlNodePtr>> Select(XmlTree& tree, xmlNodePtr context,
                                              const wchar_t* xpath, bool firstOnly);

}  // namespace VardelXml
