// Line numbers of parsed nodes. libxml2 keeps an element's line in 16 bits,
// 65535 standing for that line or any later one; the parse hook records the
// real line of such elements in the node's psvi field (unused without schema
// validation, which the layer never runs), and LineOf reads either.
#pragma once

#include <libxml/tree.h>

#include <cstdint>

namespace VardelXml {

inline constexpr long kLongLine = 65535;

/// Called as `element` is made while parsing line `line`.
inline void RecordLongLine(xmlNodePtr element, long line) {
    if (element != nullptr && line >= kLongLine)
        element->psvi = reinterpret_cast<void*>(static_cast<std::intptr_t>(line));
}

/// The 1-based line of a parsed node (an attribute: its element's), 0 when
/// unknown.
inline long LineOf(xmlNodePtr node) {
    if (node->type == XML_ATTRIBUTE_NODE)
        node = node->parent;
    if (node == nullptr)
        return 0;
    if (node->type == XML_ELEMENT_NODE && node->line == kLongLine && node->psvi != nullptr)
        return static_cast<long>(reinterpret_cast<std::intptr_t>(node->psvi));
    const long line = xmlGetLineNo(node);
    return line > 0 ? line : 0;
}

}  // namespace VardelXml
