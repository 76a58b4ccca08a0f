// The pretty printer applied before a formatted save. It inserts whitespace
// text nodes into the live tree: before every non-text child a line feed and
// two spaces per level below the document element (plus two), after the last
// child a line feed and the parent's own indentation, never more than 78
// spaces. Text children are left alone, so an element holding only text
// stays on one line, and indentation from an earlier formatting is kept, so
// formatting twice doubles the line breaks.
#pragma once

#include "xml/xml_tree.h"

namespace VardelXml {

void FormatXml(XmlTree& tree);

}  // namespace VardelXml
