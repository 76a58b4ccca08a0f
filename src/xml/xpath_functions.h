// The XPath extensions every document of the layer offers: the prefix "ms"
// bound to its namespace, and the function ms:string-compare(a, b [, lang
// [, options]]) giving -1, 0 or 1 as `a` sorts before, equal to or after
// `b`; with "i" among the options the comparison ignores case.
#pragma once

#include <libxml/xpath.h>

namespace VardelXml {

void RegisterExtensions(xmlXPathContextPtr context);

}  // namespace VardelXml
