#include "xml/xml_text.h"

#include <libxml/dict.h>

#include <cstring>

#include "common/utf8.h"

namespace VardelXml {
namespace {

const char* Text(const xmlChar* text) {
    return reinterpret_cast<const char*>(text);
}

std::wstring QualifiedName(const xmlNs* ns, const xmlChar* name) {
    std::wstring qualified;
    if (ns != nullptr && ns->prefix != nullptr) {
        qualified = FromXml(ns->prefix) + L":";
    }
    return qualified + FromXml(name);
}

// "prefix:name" or "name" against the two parts libxml2 keeps. A name with
// an unbound prefix is stored whole, without namespace, and matches too.
bool QualifiedNameIs(const xmlNs* ns, const xmlChar* name, std::string_view qualified) {
    const char* prefix = ns != nullptr ? Text(ns->prefix) : nullptr;
    if (prefix == nullptr)
        return qualified == Text(name);
    const std::size_t colon = qualified.find(':');
    return colon != std::string_view::npos && qualified.substr(0, colon) == prefix &&
           qualified.substr(colon + 1) == Text(name);
}

}  // namespace

std::string ToXml(const wchar_t* text) {
    return text == nullptr ? std::string() : VardelCommon::ToUtf8(text);
}

std::wstring FromXml(const xmlChar* text) {
    return text == nullptr ? std::wstring() : VardelCommon::FromUtf8(Text(text));
}

std::wstring FromXml(std::string_view text) {
    return VardelCommon::FromUtf8(text);
}

std::wstring NodeName(xmlNodePtr node) {
    switch (node->type) {
        case XML_ELEMENT_NODE:
        case XML_ATTRIBUTE_NODE:
            return QualifiedName(node->ns, node->name);
        case XML_TEXT_NODE:
            return L"#text";
        case XML_CDATA_SECTION_NODE:
            return L"#cdata-section";
        case XML_COMMENT_NODE:
            return L"#comment";
        case XML_DOCUMENT_NODE:
        case XML_HTML_DOCUMENT_NODE:
            return L"#document";
        case XML_DOCUMENT_FRAG_NODE:
            return L"#document-fragment";
        default:
            return FromXml(node->name);
    }
}

std::wstring NodeText(xmlNodePtr node) {
    if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE ||
        node->type == XML_COMMENT_NODE || node->type == XML_PI_NODE) {
        return FromXml(node->content);
    }
    if (node->type == XML_ATTRIBUTE_NODE) {
        return AttributeText(reinterpret_cast<xmlAttrPtr>(node));
    }
    xmlChar* content = xmlNodeGetContent(node);
    std::wstring text = FromXml(content);
    xmlFree(content);
    return text;
}

void ReplaceTextContent(xmlNodePtr text, const std::string& utf8) {
    xmlChar* content = text->content;
    const xmlDictPtr dict = text->doc != nullptr ? text->doc->dict : nullptr;
    const std::size_t length = std::strlen(utf8.c_str());
    // libxml2 keeps a text node's short content in the node itself, in the
    // two pointers a text node does not use, as its parser does for short
    // texts; such content is neither freed nor shared.
    auto* const inNode = reinterpret_cast<xmlChar*>(&text->properties);
    const bool ownBlock = content != nullptr && content != inNode &&
                          (dict == nullptr || xmlDictOwns(dict, content) == 0);
    if (text->type == XML_TEXT_NODE && length < 2 * sizeof(void*)) {
        if (ownBlock)
            xmlFree(content);
        std::memcpy(inNode, utf8.c_str(), length + 1);
        text->content = inNode;
        return;
    }
    if (ownBlock && length <= std::strlen(reinterpret_cast<const char*>(content))) {
        std::memcpy(content, utf8.c_str(), length + 1);
        return;
    }
    xmlNodeSetContent(text, Chars(utf8));
}

bool HasVisibleChildren(xmlNodePtr node) {
    return node->type == XML_ELEMENT_NODE || node->type == XML_DOCUMENT_NODE ||
           node->type == XML_DOCUMENT_FRAG_NODE;
}

bool HasName(xmlNodePtr node, const std::string& name) {
    if (node->type == XML_ELEMENT_NODE || node->type == XML_ATTRIBUTE_NODE) {
        return QualifiedNameIs(node->ns, node->name, name);
    }
    return VardelCommon::ToUtf8(NodeName(node)) == name;
}

xmlNodePtr NextInSubtree(xmlNodePtr node, xmlNodePtr subtree) {
    if (HasVisibleChildren(node) && node->children != nullptr)
        return node->children;
    while (node != subtree && node->next == nullptr)
        node = node->parent;
    return node == subtree ? nullptr : node->next;
}

xmlAttrPtr FindAttribute(xmlNodePtr element, std::string_view qualifiedName) {
    if (element->type != XML_ELEMENT_NODE)
        return nullptr;
    for (xmlAttrPtr attribute = element->properties; attribute != nullptr;
         attribute = attribute->next) {
        if (QualifiedNameIs(attribute->ns, attribute->name, qualifiedName))
            return attribute;
    }
    return nullptr;
}

std::wstring AttributeText(xmlAttrPtr attribute) {
    const xmlNode* child = attribute->children;
    if (child == nullptr)
        return {};
    if (child->next == nullptr && child->type == XML_TEXT_NODE)
        return FromXml(child->content);
    xmlChar* content = xmlNodeListGetString(attribute->doc, attribute->children, 1);
    std::wstring text = FromXml(content);
    xmlFree(content);
    return text;
}

}  // namespace VardelXml
