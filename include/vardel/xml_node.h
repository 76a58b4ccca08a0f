// One node of an XML document: an element, a text node, an attribute or the
// document itself, or nothing (an empty node). Copies share the node; a node
// keeps its whole document alive, so it stays valid after the document's
// parser is gone or has loaded other content. A node taken out of its tree
// (removed, cloned) stays owned by its document and is freed with it.
//
// Every operation on an empty node fails (false, 0 or an empty node) and
// nothing is ever thrown. Names and XPath expressions are case-sensitive.
// Not thread-safe: a document and all its nodes belong to one thread at a
// time.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "vardel/export.h"

struct _xmlNode;

namespace VardelXml {
class XmlTree;
struct NodeAccess;
}  // namespace VardelXml

class XMLNodeArray;

class VARDEL_API XMLNode {
  public:
    /// An empty node.
    XMLNode();
    XMLNode(const XMLNode& other);
    XMLNode(XMLNode&& other) noexcept;
    XMLNode& operator=(const XMLNode& other);
    XMLNode& operator=(XMLNode&& other) noexcept;
    virtual ~XMLNode();

    /// True when this holds a node.
    bool IsNode() const;
    /// Both empty, or both the very same node of the same document.
    bool IsSameNode(const XMLNode& other) const;

    /// The tag of an element (with its prefix), "#text", "#comment",
    /// "#cdata-section", "#document", the name of an attribute, the target of
    /// a processing instruction.
    bool GetNodeName(std::wstring& name) const;
    /// The concatenated text of all descendant text nodes.
    bool GetNodeText(std::wstring& text) const;
    /// Replaces all children by one text node holding `text`; for a text,
    /// comment or attribute node sets its value.
    bool SetNodeText(const std::wstring& text);
    /// The value of a text, comment, CDATA, processing-instruction or attribute
    /// node; empty for elements and documents (still true).
    bool GetNodeValue(std::wstring& value) const;
    /// Sets the value of a non-element node; false on elements and documents.
    bool SetNodeValue(const std::wstring& value);
    /// The serialised text of this node and its subtree.
    bool GetXml(std::wstring& xml) const;
    /// The 1-based line of the parsed text where this node stands (an
    /// attribute: its element's line); 0 for an empty node and for nodes
    /// made after parsing.
    int GetLineNumber() const;

    /// Number of children of every kind; 0 for an empty node.
    int GetChildCount() const;
    /// The parent; empty for the document, attributes and detached nodes.
    XMLNode GetParentNode() const;
    bool GetFirstChildNode(XMLNode& child) const;
    bool GetLastChildNode(XMLNode& child) const;
    bool GetNextSibling(XMLNode& sibling) const;
    /// Child number `index` (0-based, any kind); false when out of range.
    bool GetChildNodeByIdx(int index, XMLNode& child) const;
    /// All children in order; `children` is cleared first.
    bool GetChildNodes(XMLNodeArray& children) const;
    /// The children whose name equals `name`; `children` is cleared first.
    /// True also when none matched.
    bool GetChildNodes(const wchar_t* name, XMLNodeArray& children) const;
    /// The names of all children in order, text nodes included; cleared first.
    bool GetChildNames(std::vector<std::wstring>& names) const;

    /// The first node `xpath` selects relative to this node. False when
    /// nothing is selected or the expression is invalid; `node` is then left
    /// as it was. XPath 1.0 plus `ms:string-compare(a, b, lang, options)`
    /// (0 when equal; options "i" ignores case).
    bool GetChildNode(const wchar_t* xpath, XMLNode& node) const;
    /// Every node `xpath` selects, in document order; `nodes` is cleared
    /// first. False when the expression is invalid.
    bool SelectChildNodes(const wchar_t* xpath, XMLNodeArray& nodes) const;

    /// Appends a new element `name` as the last child, with `text` when it is
    /// neither null nor empty, and each attribute pair whose name and value
    /// are both non-null. Empty when `name` is not a valid element name.
    XMLNode AddNode(const wchar_t* name, const wchar_t* text = nullptr,
                    const wchar_t* attr1 = nullptr, const wchar_t* value1 = nullptr,
                    const wchar_t* attr2 = nullptr, const wchar_t* value2 = nullptr,
                    const wchar_t* attr3 = nullptr, const wchar_t* value3 = nullptr);
    /// Inserts a new element (text, two attribute pairs as in `AddNode`)
    /// into this node's parent right before this node; empty without parent.
    XMLNode AddNodeBefore(const wchar_t* name, const wchar_t* text = nullptr,
                          const wchar_t* attr1 = nullptr, const wchar_t* value1 = nullptr,
                          const wchar_t* attr2 = nullptr, const wchar_t* value2 = nullptr);
    /// The first node `path` selects, or a new last child element named
    /// `path` when none; empty when `path` is not a valid expression.
    XMLNode GetOrAddNode(const wchar_t* path);
    /// Appends `node` as the last child, moving it out of its current place.
    /// A node of another document is copied here and removed there. Returns
    /// the appended node; empty when the node cannot go there (a document,
    /// an attribute, one of this node's ancestors, a second root element).
    XMLNode AppendChild(const XMLNode& node);
    /// Inserts `node` before child number `index`, or appends it when there is
    /// no such child. `node` becomes the inserted node, which is returned.
    XMLNode InsertChild(XMLNode& node, int index);
    /// A copy of this node (with its subtree when `deep`), in no tree yet.
    XMLNode CloneNode(bool deep) const;
    /// Copies the element `source` (of any document) as a new last child:
    /// name and attributes; when `deep` also its child elements, and its text
    /// when it has no child elements. Empty for text, comments and documents.
    XMLNode ImportNode(const XMLNode& source, bool deep);
    /// Takes this node out of its parent. This then holds the detached node,
    /// or nothing when `release`. False when the node has no parent.
    bool RemoveThisNode(bool release);
    /// Removes the first node `xpath` selects; true also when none is.
    bool RemoveChildNode(const wchar_t* xpath);

    /// The names of all attributes in order; cleared first.
    bool GetProperties(std::vector<std::wstring>& names) const;
    /// Removes the attribute; removing a missing one succeeds. False on
    /// anything but an element.
    bool RemoveProperty(const wchar_t* name);

    // Typed attribute access; elements only, everything else fails.
    /// Stores `value` as it is; false when it is null.
    bool SetProperty(const wchar_t* name, const wchar_t* value);
    bool SetProperty(const wchar_t* name, const std::wstring& value);
    /// Decimal integer.
    bool SetProperty(const wchar_t* name, int value);
    bool SetProperty(const wchar_t* name, long value);
    /// Twelve decimals with a point ("1.500000000000"), whatever the locale.
    bool SetProperty(const wchar_t* name, double value);
    /// "true" or "false".
    bool SetProperty(const wchar_t* name, bool value);
    /// "true" or "false".
    bool SetStrBoolProperty(const wchar_t* name, bool value);

    /// The text (emptied first); true when the attribute exists.
    bool GetProperty(const wchar_t* name, std::wstring& value) const;
    /// The leading decimal number of the text ("2,5" gives 2, text without a
    /// number 0); true when the attribute exists.
    bool GetProperty(const wchar_t* name, double& value) const;
    /// The text as one number rounded half to even, when it fits the type;
    /// false (value 0) when the attribute is missing or does not convert.
    bool GetProperty(const wchar_t* name, int& value) const;
    bool GetProperty(const wchar_t* name, short& value) const;
    bool GetProperty(const wchar_t* name, long& value) const;
    /// A number (non-zero is true) or "true"/"false" in any case; anything
    /// else is false. True when the attribute exists.
    bool GetProperty(const wchar_t* name, bool& value) const;
    /// True exactly when the text is "true" in any case; the result tells
    /// whether the attribute exists.
    bool GetStrBoolProperty(const wchar_t* name, bool& value) const;

  private:
    friend struct VardelXml::NodeAccess;

    std::shared_ptr<VardelXml::XmlTree> tree_;
    _xmlNode* node_ = nullptr;
};
