// The XML layer's own door into XMLNode: wraps a libxml2 node of a tree into
// a node value and reads both back. Used only inside src/xml.
#pragma once

#include <memory>
#include <utility>

#include "vardel/xml_node.h"
#include "xml/xml_tree.h"

namespace VardelXml {

struct NodeAccess {
    static XMLNode Wrap(std::shared_ptr<XmlTree> tree, xmlNodePtr node) {
        XMLNode wrapped;
        if (node != nullptr) {
            wrapped.tree_ = std::move(tree);
            wrapped.node_ = node;
        }
        return wrapped;
    }
    static xmlNodePtr Node(const XMLNode& node) { return node.node_; }
    static const std::shared_ptr<XmlTree>& Tree(const XMLNode& node) { return node.tree_; }
};

}  // namespace VardelXml
