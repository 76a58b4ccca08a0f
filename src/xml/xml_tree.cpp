#include "xml/xml_tree.h"

#include "xml/xpath_functions.h"

namespace VardelXml {
namespace {

// Expressions are mostly built from a few patterns with changing names; the
// cap keeps a long session with many distinct names from growing the cache.
constexpr std::size_t kMaxCompiledExpressions = 1024;

}  // namespace

XmlTree::XmlTree(xmlDocPtr doc) : doc_(doc) {}

XmlTree::~XmlTree() {
    for (xmlNodePtr node : detached_) {
        if (node->parent != nullptr)
            continue;
        if (node->type == XML_ATTRIBUTE_NODE) {
            xmlFreeProp(reinterpret_cast<xmlAttrPtr>(node));
        } else {
            xmlFreeNode(node);
        }
    }
    for (auto& [text, compiled] : compiled_) {
        xmlXPathFreeCompExpr(compiled);
    }
    if (xpathContext_ != nullptr)
        xmlXPathFreeContext(xpathContext_);
    xmlFreeDoc(doc_);
}

std::shared_ptr<XmlTree> XmlTree::NewEmpty() {
    xmlDocPtr doc = xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
    if (doc == nullptr)
        return nullptr;
    return std::make_shared<XmlTree>(doc);
}

void XmlTree::NoteEdit(xmlNodePtr node) {
    xmlNodePtr owner = node->parent;
    if (node->type == XML_ATTRIBUTE_NODE) {
        owner = owner != nullptr ? owner->parent : nullptr;
    } else if (owner != nullptr && owner->type == XML_ATTRIBUTE_NODE) {
        owner = owner->parent != nullptr ? owner->parent->parent : nullptr;
    }
    if (owner != nullptr)
        owner->_private = reinterpret_cast<void*>(++edits_);
}

void XmlTree::Detach(xmlNodePtr node) {
    NoteEdit(node);
    xmlUnlinkNode(node);
    detached_.insert(node);
}

void XmlTree::KeepDetached(xmlNodePtr node) {
    detached_.insert(node);
}

xmlXPathContextPtr XmlTree::XPathContext() {
    if (xpathContext_ == nullptr) {
        xpathContext_ = xmlXPathNewContext(doc_);
        if (xpathContext_ != nullptr)
            RegisterExtensions(xpathContext_);
    }
    return xpathContext_;
}

xmlXPathCompExprPtr XmlTree::Compile(const std::string& expression) {
    if (const auto found = compiled_.find(expression); found != compiled_.end()) {
        return found->second;
    }
    xmlXPathContextPtr context = XPathContext();
    if (context == nullptr)
        return nullptr;
    xmlXPathCompExprPtr compiled =
        xmlXPathCtxtCompile(context, reinterpret_cast<const xmlChar*>(expression.c_str()));
    if (compiled == nullptr)
        return nullptr;
    if (compiled_.size() >= kMaxCompiledExpressions) {
        for (auto& [text, old] : compiled_) {
            xmlXPathFreeCompExpr(old);
        }
        compiled_.clear();
    }
    compiled_.emplace(expression, compiled);
    return compiled;
}

}  // namespace VardelXml
