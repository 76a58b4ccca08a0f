// Direct walks over the children of one element, for the hot paths of the
// family model (a row's cells, a table's rows and columns), where an XPath
// evaluation per call would cost more than the work it selects. Element and
// attribute names are plain ASCII names compared exactly with names that
// carry no namespace, as an XPath step without prefix selects them. Results
// are XMLNode values of the parent's document; an empty parent gives empty
// results. Internal to the library; no libxml2 type crosses this header.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "vardel/xml_node.h"

namespace VardelXml {

class XmlTree;

/// The first child element `name` of `parent` whose attribute `attribute`
/// equals `value` exactly; when none does, the first whose attribute equals
/// it ignoring case (a missing attribute equals nothing). Empty when none.
/// One pass over the children.
XMLNode FindChildByAttribute(const XMLNode& parent, const char* name, const char* attribute,
                             std::wstring_view value);

/// FindChildByAttribute for an element whose children are looked up again
/// and again (a table row's cells, read one column after another): the
/// children `name` and their values of `attribute` are listed on the first
/// lookup, and again on the first lookup after the element's children or
/// their attributes changed (XmlTree::ChildrenStamp; replacing a cell's text
/// keeps the list), so a lookup scans a short list rather than the tree and
/// answers exactly what FindChildByAttribute would.
class alignas(64) ChildIndex {
  public:
    ChildIndex(const char* name, const char* attribute) : name_(name), attribute_(attribute) {}
    ChildIndex(const ChildIndex&) = delete;
    ChildIndex& operator=(const ChildIndex&) = delete;

    /// The child whose attribute equals `value`, listing the children first
    /// when the list is stale.
    XMLNode Find(const XMLNode& parent, std::wstring_view value);
    /// The same, trying first the children at `hint` and after it, and
    /// setting `hint` to where the child was found. Rows of one table list
    /// their cells alike, so a hint kept across rows turns reading a column,
    /// or a row's columns in order, into one comparison per cell.
    XMLNode Find(const XMLNode& parent, std::wstring_view value, std::size_t& hint);

  private:
    // Small, so that a row's list stays in few cache lines; a short value
    // (a column id) is kept in the entry, so that matching it touches
    // neither the element nor its attribute, a long one is read from the
    // element when the hash matches.
    static constexpr std::uint8_t kLongValue = 0xFF;
    struct Entry {
        std::uint32_t foldedHash;  // of the value's upper-cased characters
        std::uint8_t length;       // of shortValue, or kLongValue
        char shortValue[11];       // the value's UTF-8 bytes and a NUL
        void* child;               // the element
    };
    bool IsCurrent(const XMLNode& parent);
    void List(const XMLNode& parent);

    // What a lookup reads comes first and fits one cache line, so that a
    // row visited for one cell costs one line here besides its entry.
    std::vector<Entry> entries_;
    // What the list was made of: the element and its document (held, so
    // that the listed elements stay valid); and the document's edit count
    // when the element's children stamp was last seen unchanged, so that
    // while the document is not edited the element is not read.
    void* parent_ = nullptr;
    std::shared_ptr<XmlTree> tree_;
    std::uint64_t checkedAtEdit_ = 0;
    // Where the last lookup found its child, to tell lookups in order.
    std::uint32_t lastFound_ = 0;
    // No two values are equal even ignoring case (their folded hashes all
    // differ), so the entry a hint finds is the only candidate.
    bool valuesDistinct_ = false;

    // The element's children stamp when listed.
    std::uintptr_t stamp_ = 0;
    const char* name_;
    const char* attribute_;
};

/// The first child element `name` of `parent`; empty when none.
XMLNode FindChild(const XMLNode& parent, const char* name);

/// The elements the XPath path "a/b/..." of `names` selects below `parent`,
/// in document order (every child `a`, then each one's children `b`, ...).
std::vector<XMLNode> ElementsAtPath(const XMLNode& parent,
                                    std::initializer_list<const char*> names);

/// The descendant elements `name` of `element`, in document order (the
/// XPath step ".//name").
std::vector<XMLNode> DescendantsNamed(const XMLNode& element, const char* name);

/// The concatenated text of `element`'s descendants into `text` (its buffer
/// reused when the element holds a single text node); false for an empty
/// node.
bool ReadText(const XMLNode& element, std::wstring& text);

}  // namespace VardelXml
