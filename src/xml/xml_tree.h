// The owner of one libxml2 document and of every node that was ever taken
// out of it. Nodes handed to callers may outlive their place in the tree
// (a removed node, a clone, an element whose children were replaced), so
// nothing is freed while the tree lives: detached nodes are remembered and
// freed, if still detached, together with the document. Attaching a node
// again forgets it. Also holds the document's declaration, its XPath context
// and a cache of compiled expressions.
#pragma once

#include <libxml/tree.h>
#include <libxml/xpath.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace VardelXml {

class XmlTree {
  public:
    /// A tree over `doc`, which it owns from now on.
    explicit XmlTree(xmlDocPtr doc);
    ~XmlTree();
    XmlTree(const XmlTree&) = delete;
    XmlTree& operator=(const XmlTree&) = delete;

    /// A tree holding a new empty document.
    static std::shared_ptr<XmlTree> NewEmpty();

    xmlDocPtr doc() const { return doc_; }

    /// Unlinks `node` from wherever it is and keeps it until the tree dies.
    void Detach(xmlNodePtr node);

    /// Notes an edit of `node`: it is about to leave its parent, was just
    /// put under one, or its attributes (or, for an attribute, its value)
    /// change. The element whose children it touches (the parent of an
    /// element or text, the parent of the element an attribute belongs to)
    /// gets a new ChildrenStamp. Replacing the text of a leaf element is not
    /// an edit: it changes no element and no attribute.
    void NoteEdit(xmlNodePtr node);
    /// A number that changes whenever a child of `parent` is added, moved or
    /// removed or an attribute of one changes. Lists of an element's
    /// children kept across calls (element_scan.h) are valid while it stays.
    /// Kept in the node's application field, so reading it costs no lookup.
    static std::uintptr_t ChildrenStamp(xmlNodePtr parent) {
        return reinterpret_cast<std::uintptr_t>(parent->_private);
    }
    /// The count of edits noted so far: while it stays, no ChildrenStamp of
    /// the tree has changed.
    std::uint64_t EditCount() const { return edits_; }
    /// Remembers a node made for this document that is in no tree yet.
    void KeepDetached(xmlNodePtr node);
    /// Forgets a detached node that is about to be linked into a tree.
    void Forget(xmlNodePtr node) { detached_.erase(node); }

    /// The XML declaration: whether there is one and the encoding it names
    /// (empty: none named).
    bool hasDeclaration = false;
    std::string declaredEncoding;

    /// The compiled form of `expression` (UTF-8), or null when it is not a
    /// valid XPath expression. Compiled forms are cached per tree.
    xmlXPathCompExprPtr Compile(const std::string& expression);
    /// The evaluation context, with the "ms" prefix and its functions bound.
    xmlXPathContextPtr XPathContext();

  private:
    xmlDocPtr doc_;
    std::unordered_set<xmlNodePtr> detached_;
    xmlXPathContextPtr xpathContext_ = nullptr;
    std::unordered_map<std::string, xmlXPathCompExprPtr> compiled_;
    std::uint64_t edits_ = 0;
};

/// Why a parse failed: libxml2's message and the line it stopped at (0 when
/// unknown).
struct ParseFailure {
    int line = 0;
    std::string message;
};

/// The document object that copies of a parser share: the tree it holds now
/// and, when the last parse into it failed, why.
struct Document {
    std::shared_ptr<XmlTree> tree;
    std::optional<ParseFailure> parseFailure;
};

}  // namespace VardelXml
