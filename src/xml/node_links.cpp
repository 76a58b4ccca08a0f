#include "xml/node_links.h"

#include "xml/node_access.h"
#include "xml/xml_text.h"

namespace VardelXml {
namespace {

bool IsAncestorOrSelf(xmlNodePtr candidate, xmlNodePtr node) {
    for (; node != nullptr; node = node->parent) {
        if (node == candidate)
            return true;
    }
    return false;
}

bool MayGoUnder(xmlNodePtr parent, xmlNodePtr child) {
    if (!HasVisibleChildren(parent))
        return false;
    switch (child->type) {
        case XML_ELEMENT_NODE:
            return parent->type != XML_DOCUMENT_NODE ||
                   xmlDocGetRootElement(parent->doc) == nullptr;
        case XML_TEXT_NODE:
        case XML_CDATA_SECTION_NODE:
            return parent->type != XML_DOCUMENT_NODE;
        case XML_COMMENT_NODE:
        case XML_PI_NODE:
            return true;
        default:
            return false;
    }
}

void Unplug(XmlTree& tree, xmlNodePtr child) {
    if (child->parent != nullptr) {
        tree.NoteEdit(child);
        xmlUnlinkNode(child);
    } else {
        tree.Forget(child);
    }
}

void SetText(xmlNodePtr element, const wchar_t* text) {
    if (text == nullptr || *text == 0)
        return;
    const std::string utf8 = ToXml(text);
    xmlNodePtr node = xmlNewDocTextLen(element->doc, Chars(utf8), static_cast<int>(utf8.size()));
    if (node != nullptr)
        xmlAddChild(element, node);
}

}  // namespace

xmlNodePtr PrepareChild(XmlTree& tree, xmlNodePtr parent, const XMLNode& node) {
    xmlNodePtr child = NodeAccess::Node(node);
    if (child == nullptr || !MayGoUnder(parent, child))
        return nullptr;
    XmlTree& source = *NodeAccess::Tree(node);
    if (&source == &tree) {
        return IsAncestorOrSelf(child, parent) ? nullptr : child;
    }
    xmlNodePtr copy = xmlDocCopyNode(child, tree.doc(), 1);
    if (copy == nullptr)
        return nullptr;
    if (child->parent != nullptr)
        source.Detach(child);
    tree.KeepDetached(copy);
    return copy;
}

void LinkLast(XmlTree& tree, xmlNodePtr parent, xmlNodePtr child) {
    Unplug(tree, child);
    child->parent = parent;
    child->next = nullptr;
    child->prev = parent->last;
    if (parent->last != nullptr) {
        parent->last->next = child;
    } else {
        parent->children = child;
    }
    parent->last = child;
    tree.NoteEdit(child);
}

void LinkBefore(XmlTree& tree, xmlNodePtr next, xmlNodePtr child) {
    Unplug(tree, child);
    xmlNodePtr parent = next->parent;
    child->parent = parent;
    child->next = next;
    child->prev = next->prev;
    if (next->prev != nullptr) {
        next->prev->next = child;
    } else {
        parent->children = child;
    }
    next->prev = child;
    tree.NoteEdit(child);
}

xmlNodePtr NewElement(XmlTree& tree, const wchar_t* name, const wchar_t* text,
                      const wchar_t* const (&attributes)[3][2]) {
    const std::string tag = ToXml(name);
    if (name == nullptr || xmlValidateQName(Chars(tag), 0) != 0)
        return nullptr;
    xmlNodePtr element = xmlNewDocNode(tree.doc(), nullptr, Chars(tag), nullptr);
    if (element == nullptr)
        return nullptr;
    tree.KeepDetached(element);
    SetText(element, text);
    for (const auto& [attribute, value] : attributes) {
        if (attribute == nullptr || value == nullptr)
            continue;
        const std::string attributeName = ToXml(attribute);
        if (xmlValidateQName(Chars(attributeName), 0) != 0)
            continue;
        xmlSetProp(element, Chars(attributeName), Chars(ToXml(value)));
    }
    return element;
}

}  // namespace VardelXml
