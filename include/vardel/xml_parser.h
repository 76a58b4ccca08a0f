// One XML document. Copies of a parser share the same document object:
// loading new content through one copy shows in all of them, while nodes
// taken from the old content stay valid (they keep their tree alive).
//
// Parsing is hardened: nothing is fetched from the network, external
// entities and external DTDs are never read, entity expansion is bounded and
// nesting deeper than 256 elements fails the parse. Whitespace-only text
// between elements is dropped on load unless xml:space="preserve" applies.
// XPath on every document knows the prefix "ms" with the function
// `ms:string-compare`. Saves are atomic: a failed save leaves the previous
// file intact. Not thread-safe: one thread at a time per document.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "vardel/export.h"
#include "vardel/xml_node.h"
#include "vardel/xml_node_array.h"

namespace VardelXml {
struct Document;
}

/// A shared handle on the document object of one or more parsers.
using XMLDocumentPtr = std::shared_ptr<VardelXml::Document>;

class VARDEL_API XMLParser {
  public:
    /// A new empty document.
    XMLParser();
    /// A new document holding `xml` parsed; empty when it does not parse.
    explicit XMLParser(const wchar_t* xml);
    XMLParser(const XMLParser& other);
    XMLParser& operator=(const XMLParser& other);
    virtual ~XMLParser();

    /// Replaces the content by `xml` parsed (its declaration may name any
    /// encoding; the text is taken as it is). On a parse error the document
    /// is left empty and the result is false.
    bool SetXml(const wchar_t* xml);
    /// SetXml for a text already in UTF-8, without a copy as wide text;
    /// bytes that are not UTF-8 fail the parse.
    bool SetXmlUtf8(std::string_view xml);
    /// Loads a file in the encoding its byte-order mark or declaration names
    /// (UTF-8 when neither). False without touching the document when the
    /// file cannot be read; a file that does not parse leaves it empty.
    bool LoadXmlDocument(const wchar_t* path);
    /// Loads `bytes` as LoadXmlDocument loads the content of a file.
    bool LoadXmlBytes(std::string_view bytes);
    /// Why the last SetXml, LoadXmlDocument or LoadXmlBytes failed to parse:
    /// the parser's message (English) and the 1-based line it stopped at (0
    /// when unknown). False, leaving both untouched, when the last parse
    /// succeeded or there was none; a file that could not be read is no
    /// parse and changes nothing.
    bool GetParseError(int& line, std::wstring& message) const;
    /// Saves the document to `path`, or to a new GUID-named ".xml" file in
    /// the temporary folder when `path` is null. With `format` the tree is
    /// indented in place first (two spaces a level, at most 78). The file is
    /// written in the encoding the declaration names, UTF-8 without one.
    bool SaveXmlDocument(const wchar_t* path, bool format);
    /// Gives the document the declaration version 1.0 with `encoding`.
    bool CreateXmlDocument(const wchar_t* encoding);
    /// The serialised document, with its declaration when it has one.
    bool GetXml(std::wstring& xml) const;

    /// The shared document object; null when this parser has none.
    XMLDocumentPtr GetDocument() const;
    /// Shares `document` (null leaves the parser without a document, and
    /// every operation then fails).
    void SetDocument(const XMLDocumentPtr& document);

    /// The document element, or the document node when there is none; empty
    /// without a document.
    XMLNode GetRootNode() const;
    /// The root (as above) in `node`; true when it is not empty.
    bool GetNode(XMLNode& node) const;
    /// The first of the root and the top-level nodes after it whose name is
    /// `name`; the root when `name` is null. `node` is emptied first.
    bool GetNode(const wchar_t* name, XMLNode& node) const;
    /// Appends a new element to the root, as `XMLNode::AddNode` does.
    XMLNode AddNode(const wchar_t* name, const wchar_t* text = nullptr,
                    const wchar_t* attr1 = nullptr, const wchar_t* value1 = nullptr,
                    const wchar_t* attr2 = nullptr, const wchar_t* value2 = nullptr);
    /// Every element named `tag` ("*": every element) in document order;
    /// `nodes` is cleared first.
    bool GetNodesByTag(const wchar_t* tag, XMLNodeArray& nodes) const;
    /// Takes every element named `tag` out of the document.
    bool RemoveNodesByTag(const wchar_t* tag);
    /// The number of children of the document element (0 without one).
    int GetNodesCount() const;

  private:
    XMLDocumentPtr document_;
};
