// Linking nodes into a tree. libxml2's own insert calls merge adjacent text
// nodes and free the node handed in, which would leave callers' nodes
// dangling; these helpers only relink pointers. They also keep the tree's
// record of detached nodes right.
#pragma once

#include "vardel/xml_node.h"
#include "xml/xml_tree.h"

namespace VardelXml {

/// The node to link under `parent` in place of `node`: the node itself when
/// it belongs to `tree`, else a copy made in `tree`'s document (the original
/// then leaves its own tree). Null when such a child may not go there: an
/// empty node, a document or attribute, an ancestor of `parent` or `parent`
/// itself, a second root element or text at the top of a document.
xmlNodePtr PrepareChild(XmlTree& tree, xmlNodePtr parent, const XMLNode& node);

/// Links a prepared `child` as the last child of `parent`.
void LinkLast(XmlTree& tree, xmlNodePtr parent, xmlNodePtr child);

/// Links a prepared `child` right before `next` (which has a parent).
void LinkBefore(XmlTree& tree, xmlNodePtr next, xmlNodePtr child);

/// A new element `name` of `tree`'s document with its text and attribute
/// pairs (pairs with a null name or value are skipped); null when `name`
/// is not a valid element name. The element is in no tree yet.
xmlNodePtr NewElement(XmlTree& tree, const wchar_t* name, const wchar_t* text,
                      const wchar_t* const (&attributes)[3][2]);

}  // namespace VardelXml
