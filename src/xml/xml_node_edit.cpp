// Selection and editing of XMLNode: XPath, new elements, moves, copies and
// removals.
#include <string>
#include <utility>
#include <vector>

#include "vardel/xml_node.h"
#include "vardel/xml_node_array.h"
#include "xml/node_access.h"
#include "xml/node_links.h"
#include "xml/xml_text.h"
#include "xml/xpath_select.h"

using VardelXml::NodeAccess;

namespace {

// Appends to `parent` an element with the name and the attributes of
// `source`; empty for text, comments, CDATA and documents.
XMLNode CopyNameAndAttributes(XMLNode& parent, const XMLNode& source) {
    std::wstring name;
    if (!source.GetNodeName(name) || name.empty() || name.front() == L'#')
        return {};
    XMLNode copy = parent.AddNode(name.c_str());
    std::vector<std::wstring> attributes;
    source.GetProperties(attributes);
    for (const std::wstring& attribute : attributes) {
        std::wstring value;
        source.GetProperty(attribute.c_str(), value);
        copy.SetProperty(attribute.c_str(), value);
    }
    return copy;
}

}  // namespace

bool XMLNode::GetChildNode(const wchar_t* xpath, XMLNode& node) const {
    if (node_ == nullptr)
        return false;
    const auto selected = VardelXml::Select(*tree_, node_, xpath, true);
    if (!selected || selected->empty())
        return false;
    node = NodeAccess::Wrap(tree_, selected->front());
    return true;
}

bool XMLNode::SelectChildNodes(const wchar_t* xpath, XMLNodeArray& nodes) const {
    nodes.RemoveAll();
    if (node_ == nullptr)
        return false;
    const auto selected = VardelXml::Select(*tree_, node_, xpath, false);
    if (!selected)
        return false;
    for (xmlNodePtr node : *selected)
        nodes.Add(NodeAccess::Wrap(tree_, node));
    return true;
}

XMLNode XMLNode::AddNode(const wchar_t* name, const wchar_t* text, const wchar_t* attr1,
                         const wchar_t* value1, const wchar_t* attr2, const wchar_t* value2,
                         const wchar_t* attr3, const wchar_t* value3) {
    if (node_ == nullptr)
        return {};
    xmlNodePtr element = VardelXml::NewElement(*tree_, name, text,
                                               {{attr1, value1}, {attr2, value2}, {attr3, value3}});
    if (element == nullptr)
        return {};
    return AppendChild(NodeAccess::Wrap(tree_, element));
}

XMLNode XMLNode::AddNodeBefore(const wchar_t* name, const wchar_t* text, const wchar_t* attr1,
                               const wchar_t* value1, const wchar_t* attr2, const wchar_t* value2) {
    if (node_ == nullptr || node_->parent == nullptr || node_->type == XML_ATTRIBUTE_NODE)
        return {};
    xmlNodePtr element = VardelXml::NewElement(
        *tree_, name, text, {{attr1, value1}, {attr2, value2}, {nullptr, nullptr}});
    if (element == nullptr)
        return {};
    const XMLNode created = NodeAccess::Wrap(tree_, element);
    xmlNodePtr child = VardelXml::PrepareChild(*tree_, node_->parent, created);
    if (child == nullptr)
        return {};
    VardelXml::LinkBefore(*tree_, node_, child);
    return created;
}

XMLNode XMLNode::GetOrAddNode(const wchar_t* path) {
    if (node_ == nullptr)
        return {};
    const auto selected = VardelXml::Select(*tree_, node_, path, true);
    if (!selected)
        return {};
    if (!selected->empty())
        return NodeAccess::Wrap(tree_, selected->front());
    return AddNode(path);
}

XMLNode XMLNode::AppendChild(const XMLNode& node) {
    if (node_ == nullptr)
        return {};
    xmlNodePtr child = VardelXml::PrepareChild(*tree_, node_, node);
    if (child == nullptr)
        return {};
    VardelXml::LinkLast(*tree_, node_, child);
    return NodeAccess::Wrap(tree_, child);
}

XMLNode XMLNode::InsertChild(XMLNode& node, int index) {
    if (node_ == nullptr)
        return {};
    XMLNode place;
    if (!GetChildNodeByIdx(index, place))
        return node = AppendChild(node);
    xmlNodePtr child = VardelXml::PrepareChild(*tree_, node_, node);
    if (child == nullptr)
        return {};
    VardelXml::LinkBefore(*tree_, NodeAccess::Node(place), child);
    return node = NodeAccess::Wrap(tree_, child);
}

XMLNode XMLNode::CloneNode(bool deep) const {
    if (node_ == nullptr)
        return {};
    if (node_->type == XML_DOCUMENT_NODE) {
        xmlDocPtr copy = xmlCopyDoc(tree_->doc(), deep ? 1 : 0);
        if (copy == nullptr)
            return {};
        auto tree = std::make_shared<VardelXml::XmlTree>(copy);
        tree->hasDeclaration = tree_->hasDeclaration;
        tree->declaredEncoding = tree_->declaredEncoding;
        return NodeAccess::Wrap(tree, reinterpret_cast<xmlNodePtr>(copy));
    }
    xmlNodePtr copy = node_->type == XML_ATTRIBUTE_NODE
                          ? reinterpret_cast<xmlNodePtr>(
                                xmlCopyProp(nullptr, reinterpret_cast<xmlAttrPtr>(node_)))
                          : xmlDocCopyNode(node_, tree_->doc(), deep ? 1 : 2);
    if (copy == nullptr)
        return {};
    tree_->KeepDetached(copy);
    return NodeAccess::Wrap(tree_, copy);
}

XMLNode XMLNode::ImportNode(const XMLNode& source, bool deep) {
    XMLNode copy = CopyNameAndAttributes(*this, source);
    if (!copy.IsNode() || !deep)
        return copy;
    // (source element, its copy): a stack rather than recursion, so a deep
    // source cannot exhaust the C stack.
    std::vector<std::pair<XMLNode, XMLNode>> pending{{source, copy}};
    while (!pending.empty()) {
        auto [from, to] = std::move(pending.back());
        pending.pop_back();
        XMLNodeArray children;
        from.GetChildNodes(children);
        bool hasChildElement = false;
        for (int i = 0; i < children.GetSize(); ++i) {
            hasChildElement = hasChildElement || children[i].node_->type == XML_ELEMENT_NODE;
            XMLNode childCopy = CopyNameAndAttributes(to, children[i]);
            if (childCopy.IsNode())
                pending.emplace_back(children[i], std::move(childCopy));
        }
        if (!hasChildElement) {
            std::wstring text;
            from.GetNodeText(text);
            to.SetNodeText(text);
        }
    }
    return copy;
}

bool XMLNode::RemoveThisNode(bool release) {
    if (node_ == nullptr || node_->parent == nullptr || node_->type == XML_ATTRIBUTE_NODE)
        return false;
    tree_->Detach(node_);
    if (release)
        *this = XMLNode();
    return true;
}

bool XMLNode::RemoveChildNode(const wchar_t* xpath) {
    if (node_ == nullptr)
        return false;
    XMLNode selected;
    if (!GetChildNode(xpath, selected))
        return true;
    return selected.RemoveThisNode(true);
}
