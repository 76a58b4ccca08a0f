// Identity, names, text and navigation of XMLNode.
#include "vardel/xml_node.h"

#include <climits>

#include "common/utf8.h"
#include "vardel/xml_node_array.h"
#include "xml/line_numbers.h"
#include "xml/node_access.h"
#include "xml/xml_serialize.h"
#include "xml/xml_text.h"

using VardelXml::NodeAccess;

namespace {

xmlNodePtr FirstChild(xmlNodePtr node) {
    return VardelXml::HasVisibleChildren(node) ? node->children : nullptr;
}

bool IsValueNode(xmlNodePtr node) {
    return node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE ||
           node->type == XML_COMMENT_NODE || node->type == XML_PI_NODE ||
           node->type == XML_ATTRIBUTE_NODE;
}

}  // namespace

XMLNode::XMLNode() = default;
XMLNode::XMLNode(const XMLNode& other) = default;
XMLNode::XMLNode(XMLNode&& other) noexcept = default;
XMLNode& XMLNode::operator=(const XMLNode& other) = default;
XMLNode& XMLNode::operator=(XMLNode&& other) noexcept = default;
XMLNode::~XMLNode() = default;

bool XMLNode::IsNode() const {
    return node_ != nullptr;
}

bool XMLNode::IsSameNode(const XMLNode& other) const {
    return node_ == other.node_;
}

bool XMLNode::GetNodeName(std::wstring& name) const {
    if (node_ == nullptr)
        return false;
    name = VardelXml::NodeName(node_);
    return true;
}

int XMLNode::GetLineNumber() const {
    if (node_ == nullptr || node_->type == XML_DOCUMENT_NODE)
        return 0;
    const long line = VardelXml::LineOf(node_);
    return line <= INT_MAX ? static_cast<int>(line) : 0;
}

bool XMLNode::GetNodeText(std::wstring& text) const {
    if (node_ == nullptr)
        return false;
    text = VardelXml::NodeText(node_);
    return true;
}

bool XMLNode::SetNodeText(const std::wstring& text) {
    if (node_ == nullptr)
        return false;
    const std::string utf8 = VardelCommon::ToUtf8(text);
    if (IsValueNode(node_)) {
        // The node may be an attribute or the text of one.
        tree_->NoteEdit(node_);
        xmlNodeSetContent(node_, VardelXml::Chars(utf8));
        return true;
    }
    if (node_->type != XML_ELEMENT_NODE)
        return false;
    xmlNodePtr only = node_->children;
    if (only != nullptr && only->next == nullptr && only->type == XML_TEXT_NODE) {
        // The common case of a leaf element: reuse its text node.
        VardelXml::ReplaceTextContent(only, utf8);
        return true;
    }
    while (node_->children != nullptr)
        tree_->Detach(node_->children);
    if (utf8.empty())
        return true;
    xmlNodePtr textNode =
        xmlNewDocTextLen(tree_->doc(), VardelXml::Chars(utf8), static_cast<int>(utf8.size()));
    if (textNode == nullptr)
        return false;
    xmlAddChild(node_, textNode);
    tree_->NoteEdit(textNode);
    return true;
}

bool XMLNode::GetNodeValue(std::wstring& value) const {
    if (node_ == nullptr)
        return false;
    value = IsValueNode(node_) ? VardelXml::NodeText(node_) : std::wstring();
    return true;
}

bool XMLNode::SetNodeValue(const std::wstring& value) {
    if (node_ == nullptr || !IsValueNode(node_))
        return false;
    tree_->NoteEdit(node_);
    xmlNodeSetContent(node_, VardelXml::Chars(VardelCommon::ToUtf8(value)));
    return true;
}

bool XMLNode::GetXml(std::wstring& xml) const {
    if (node_ == nullptr)
        return false;
    xml = VardelXml::FromXml(VardelXml::SerializeNode(node_));
    return true;
}

int XMLNode::GetChildCount() const {
    if (node_ == nullptr)
        return 0;
    int count = 0;
    for (xmlNodePtr child = FirstChild(node_); child != nullptr; child = child->next)
        ++count;
    return count;
}

XMLNode XMLNode::GetParentNode() const {
    if (node_ == nullptr || node_->type == XML_ATTRIBUTE_NODE)
        return {};
    return NodeAccess::Wrap(tree_, node_->parent);
}

bool XMLNode::GetFirstChildNode(XMLNode& child) const {
    if (node_ == nullptr || FirstChild(node_) == nullptr)
        return false;
    child = NodeAccess::Wrap(tree_, node_->children);
    return true;
}

bool XMLNode::GetLastChildNode(XMLNode& child) const {
    if (node_ == nullptr || FirstChild(node_) == nullptr)
        return false;
    child = NodeAccess::Wrap(tree_, node_->last);
    return true;
}

bool XMLNode::GetNextSibling(XMLNode& sibling) const {
    if (node_ == nullptr || node_->next == nullptr)
        return false;
    sibling = NodeAccess::Wrap(tree_, node_->next);
    return true;
}

bool XMLNode::GetChildNodeByIdx(int index, XMLNode& child) const {
    if (node_ == nullptr || index < 0)
        return false;
    xmlNodePtr current = FirstChild(node_);
    for (; current != nullptr && index > 0; --index)
        current = current->next;
    if (current == nullptr)
        return false;
    child = NodeAccess::Wrap(tree_, current);
    return true;
}

bool XMLNode::GetChildNodes(XMLNodeArray& children) const {
    children.RemoveAll();
    if (node_ == nullptr)
        return false;
    for (xmlNodePtr child = FirstChild(node_); child != nullptr; child = child->next) {
        children.Add(NodeAccess::Wrap(tree_, child));
    }
    return true;
}

bool XMLNode::GetChildNodes(const wchar_t* name, XMLNodeArray& children) const {
    children.RemoveAll();
    if (node_ == nullptr || name == nullptr)
        return false;
    const std::string wanted = VardelXml::ToXml(name);
    for (xmlNodePtr child = FirstChild(node_); child != nullptr; child = child->next) {
        if (VardelXml::HasName(child, wanted))
            children.Add(NodeAccess::Wrap(tree_, child));
    }
    return true;
}

bool XMLNode::GetChildNames(std::vector<std::wstring>& names) const {
    names.clear();
    if (node_ == nullptr)
        return false;
    for (xmlNodePtr child = FirstChild(node_); child != nullptr; child = child->next) {
        names.push_back(VardelXml::NodeName(child));
    }
    return true;
}
