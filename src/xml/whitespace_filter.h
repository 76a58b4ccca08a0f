// Drops whitespace-only text nodes while the parser builds the tree, so
// child positions count only significant nodes. Whitespace that would start
// a text node is held back until the run is complete: other text in the
// same run takes it in front, the next tag, comment, processing instruction
// or CDATA section drops it, so the whitespace between tags never becomes a
// node, which costs far less than a pass over the finished tree.
// xml:space="preserve" keeps it below its element.
// The same hook records the lines of elements past libxml2's 16-bit range.
#pragma once

#include <libxml/parser.h>

#include <string>
#include <vector>

namespace VardelXml {

class WhitespaceFilter {
  public:
    /// Hooks the filter into `context`'s SAX handlers for one parse; the
    /// filter must outlive the parse.
    explicit WhitespaceFilter(xmlParserCtxtPtr context);

  private:
    static WhitespaceFilter& Of(void* context);
    static void DropHeldBack(void* context);
    void ReleaseHeldBack(xmlParserCtxtPtr parser);
    static void Characters(void* context, const xmlChar* text, int length);
    static void Reference(void* context, const xmlChar* name);
    static void StartElement(void* context, const xmlChar* localName, const xmlChar* prefix,
                             const xmlChar* uri, int namespaceCount, const xmlChar** namespaces,
                             int attributeCount, int defaultedCount, const xmlChar** attributes);
    static void EndElement(void* context, const xmlChar* localName, const xmlChar* prefix,
                           const xmlChar* uri);
    static void Comment(void* context, const xmlChar* text);
    static void ProcessingInstruction(void* context, const xmlChar* target, const xmlChar* data);
    static void CdataBlock(void* context, const xmlChar* text, int length);

    // Whether whitespace is preserved, per open element.
    std::vector<bool> preserve_;
    // Whitespace not yet in a text node.
    std::string heldBack_;
};

}  // namespace VardelXml
