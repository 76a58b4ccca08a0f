// Writes one element of a document as the text of a document of its own,
// straight into a wide string, while the caller walks the element and
// decides node by node what to write: a node as it is, an element with new
// text in place of its children, or a new element. The text is exactly what
// XMLParser::GetXml gives for a deep copy of the element (xmlDocCopyNode)
// made the root of a new document declared with the same encoding, after
// the same edits through XMLNode: the declaration, escapes as libxml2's
// serialiser makes them, a line break at the end, and on the root's start
// tag the namespaces that the copied nodes use but that are declared above
// the root, in the order the copy adds them. Comments, processing
// instructions and CDATA are written by libxml2 itself.
//
// Nodes are handed out as light handles into the element's document, valid
// while the writer lives and the document is not edited; they read as
// element_scan.h and XMLNode read. The caller hands back only nodes at or
// below the root (elements to Open and WriteWithText) and closes only what
// it opened; nothing else can fail. Internal to the library; no libxml2
// type crosses this header.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "vardel/xml_node.h"

namespace VardelXml {

/// A node of the written element's document, or none (false).
class NodeHandle {
  public:
    NodeHandle() = default;
    explicit operator bool() const { return node_ != nullptr; }

    /// None for a node that holds no children callers may see.
    NodeHandle FirstChild() const;
    NodeHandle Next() const;
    /// Whether this is an element named `name` without namespace.
    bool IsElement(const char* name) const;
    /// The attribute `name` (no "xmlns" declaration) into `value`, as
    /// XMLNode::GetProperty reads it; false, `value` empty, when missing.
    bool Attribute(const char* name, std::wstring& value) const;
    /// Whether the attribute `name` is present and Attribute would read
    /// `value`; its ASCII compares without decoding.
    bool AttributeIs(const char* name, std::wstring_view value) const;
    /// Whether the concatenated text of the descendants, as ReadText reads
    /// it, is `text`.
    bool HasText(std::wstring_view text) const;
    /// Whether this is an element without namespaces whose one attribute is
    /// `attribute`, without namespace, holding `value` as a single text, and
    /// whose content is at most one text: Write writes it as WriteNew writes
    /// an element of its name, its text, `attribute` and `value`.
    bool IsPlainLeafWith(const char* attribute, std::wstring_view value) const;

  private:
    friend class ElementWriter;
    explicit NodeHandle(void* node) : node_(node) {}
    void* node_ = nullptr;
};

class ElementWriter {
  public:
    /// Appends to `out` the declaration naming `encoding` (none named when
    /// empty); `root` is the element to write.
    ElementWriter(const XMLNode& root, const char* encoding, std::wstring& out);
    ElementWriter(const ElementWriter&) = delete;
    ElementWriter& operator=(const ElementWriter&) = delete;

    /// The element to write; none when `root` is no element.
    NodeHandle Root() const;

    /// Writes the start tag of `element`; its content follows.
    void Open(NodeHandle element);
    /// Closes the element opened last: "/>" when nothing went into it,
    /// its end tag otherwise.
    void Close();
    /// Writes `node` with everything below it, as it is.
    void Write(NodeHandle node);
    /// Writes `element` as XMLNode::SetNodeText(text) leaves it: the text,
    /// up to a NUL, in place of its children.
    void WriteWithText(NodeHandle element, std::wstring_view text);
    /// Writes the element XMLNode::AddNode(name, text, attribute, value)
    /// would append, `text` and `value` read up to a NUL as that reads them;
    /// `name` and `attribute` must be valid names.
    void WriteNew(std::wstring_view name, std::wstring_view text, std::wstring_view attribute,
                  std::wstring_view value);
    /// The tags of the elements WriteNew(name, text, attribute, value)
    /// writes with some text, made once for writing many with WriteLeaf.
    struct LeafTags {
        std::wstring start;
        std::wstring end;
    };
    static LeafTags MakeLeafTags(std::wstring_view name, std::wstring_view attribute,
                                 std::wstring_view value);
    /// Writes what WriteNew writes for the name, attribute and value of
    /// `tags` and `text`, which must not be empty up to its first NUL.
    void WriteLeaf(const LeafTags& tags, std::wstring_view text);
    /// Ends the document once the root is closed.
    void Finish();

  private:
    void StartTag(void* element);
    // A name with its prefix; an attribute with its value.
    void AppendName(const void* ns, const void* name);
    void AppendAttribute(const void* attribute);
    void EnterContent();
    void NoteNamespace(void* element, void* ns);
    void NoteNamespacesBelow(void* node);

    XMLNode root_;  // holds the document
    std::wstring& out_;
    std::vector<void*> open_;         // elements whose end tag is due
    bool startTagOpen_ = false;       // the last start tag still lacks ">"
    std::size_t declarationsAt_ = 0;  // the end of the root's own declarations
    std::vector<void*> undeclared_;   // namespaces declared above the root
    // The wide forms of the first names written, by the address of their
    // UTF-8 text: a document's names are shared by its parser's dictionary,
    // so a table's thousands of "Cell" tags convert one text once. The
    // addresses stay valid since the document is not edited meanwhile.
    static constexpr std::size_t kWideNamesKept = 16;
    std::vector<std::pair<const void*, std::wstring>> wideNames_;
};

}  // namespace VardelXml
