// XPath expressions over family and strings documents that carry names the
// caller gives (ids, languages, template names, property names). Every such
// name goes into the expression as a quoted literal, so no name can change
// the expression it is put into. Also the small node helpers that every
// part of the family document shares.
#pragma once

#include <string>
#include <string_view>

#include "vardel/xml_node.h"
#include "vardel/xml_parser.h"

namespace VardelFamily {

/// "@attribute = 'value'" with `value` quoted.
std::wstring AttributeIs(std::wstring_view attribute, std::wstring_view value);
/// "path[@attribute = 'value']".
std::wstring WhereAttribute(std::wstring_view path, std::wstring_view attribute,
                            std::wstring_view value);
/// "path[@first = 'a' and @second = 'b']".
std::wstring WhereAttributes(std::wstring_view path, std::wstring_view first, std::wstring_view a,
                             std::wstring_view second, std::wstring_view b);
/// "path[test]".
std::wstring Where(std::wstring_view path, std::wstring_view test);
/// "*[name() = 'name']": the child elements named `name`, whatever the name
/// holds.
std::wstring ChildNamed(std::wstring_view name);

/// The document element; empty when the document has none (it did not
/// parse), so that nothing is ever added to a document without root.
XMLNode DocumentElement(const XMLParser& document);
/// Removes every node that `xpath` selects below `node`.
void RemoveAll(const XMLNode& node, const std::wstring& xpath);
/// The text of a C-string argument; empty for null.
inline std::wstring TextOf(const wchar_t* text) {
    return text != nullptr ? std::wstring(text) : std::wstring();
}

}  // namespace VardelFamily
