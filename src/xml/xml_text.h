// Conversions between the library's wide strings and libxml2's UTF-8
// xmlChar strings, plus the node facts every part of the layer asks.
#pragma once

#include <libxml/tree.h>

#include <string>
#include <string_view>

namespace VardelXml {

std::string ToXml(const wchar_t* text);
std::wstring FromXml(const xmlChar* text);
std::wstring FromXml(std::string_view text);

inline const xmlChar* Chars(const std::string& text) {
    return reinterpret_cast<const xmlChar*>(text.c_str());
}

/// Replaces the content of the text node `text` by `utf8` (up to a NUL):
/// a short text in the node itself, as libxml2's parser keeps short texts
/// (a table cell's number then needs no block of its own, nor a visit to
/// one); a longer one over the old bytes when it fits there, which spares an
/// allocation and a free, else through libxml2. Texts the document's
/// dictionary owns are shared and never written over.
void ReplaceTextContent(xmlNodePtr text, const std::string& utf8);

/// The DOM name of a node: qualified tag, "#text", "#comment", ...
std::wstring NodeName(xmlNodePtr node);
/// The concatenated text of the node's descendants (the value of a text
/// or attribute node).
std::wstring NodeText(xmlNodePtr node);

/// Whether callers may see the node's children: only elements, documents
/// and fragments have any (libxml2 hangs entity content and attribute
/// values below other kinds).
bool HasVisibleChildren(xmlNodePtr node);

/// Whether the node's DOM name is `name` (UTF-8), compared exactly.
bool HasName(xmlNodePtr node, const std::string& name);

/// The next node after `node` in document order that lies within
/// `subtree`, descending only into visible children; null at the end.
xmlNodePtr NextInSubtree(xmlNodePtr node, xmlNodePtr subtree);

/// The attribute `qualifiedName` ("name" or "prefix:name") of an element.
xmlAttrPtr FindAttribute(xmlNodePtr element, std::string_view qualifiedName);
/// The text of an attribute.
std::wstring AttributeText(xmlAttrPtr attribute);

}  // namespace VardelXml
