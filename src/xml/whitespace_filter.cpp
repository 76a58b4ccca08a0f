#include "xml/whitespace_filter.h"

#include <libxml/SAX2.h>

#include <cstring>
#include <string_view>

#include "xml/line_numbers.h"

namespace VardelXml {
namespace {

bool IsWhitespaceText(xmlNodePtr node) {
    if (node->type != XML_TEXT_NODE)
        return false;
    for (const xmlChar* c = node->content; c != nullptr && *c != 0; ++c) {
        if (*c != ' ' && *c != '\t' && *c != '\n' && *c != '\r')
            return false;
    }
    return true;
}

std::string_view View(const xmlChar* text) {
    return text == nullptr ? std::string_view()
                           : std::string_view(reinterpret_cast<const char*>(text));
}

// The xml:space state of a new element: its own attribute, else inherited.
// Attributes come as (local name, prefix, URI, value begin, value end).
bool PreservesSpace(int attributeCount, const xmlChar** attributes, bool inherited) {
    for (int i = 0; i < attributeCount; ++i) {
        const xmlChar** attribute = attributes + 5 * i;
        if (View(attribute[0]) != "space" || View(attribute[1]) != "xml")
            continue;
        const std::string_view value(reinterpret_cast<const char*>(attribute[3]),
                                     static_cast<std::size_t>(attribute[4] - attribute[3]));
        if (value == "preserve")
            return true;
        if (value == "default")
            return false;
    }
    return inherited;
}

}  // namespace

WhitespaceFilter::WhitespaceFilter(xmlParserCtxtPtr context) {
    context->_private = this;
    xmlSAXHandlerPtr sax = context->sax;
    sax->startElementNs = StartElement;
    sax->endElementNs = EndElement;
    sax->comment = Comment;
    sax->processingInstruction = ProcessingInstruction;
    sax->cdataBlock = CdataBlock;
}

WhitespaceFilter& WhitespaceFilter::Of(void* context) {
    return *static_cast<WhitespaceFilter*>(static_cast<xmlParserCtxtPtr>(context)->_private);
}

// The last child of the open element is a finished text node when another
// node is about to follow it or the element closes.
void WhitespaceFilter::DropTrailingWhitespace(void* context) {
    const WhitespaceFilter& filter = Of(context);
    xmlNodePtr parent = static_cast<xmlParserCtxtPtr>(context)->node;
    if (parent == nullptr || filter.preserve_.empty() || filter.preserve_.back())
        return;
    xmlNodePtr last = parent->last;
    if (last != nullptr && IsWhitespaceText(last)) {
        xmlUnlinkNode(last);
        xmlFreeNode(last);
    }
}

void WhitespaceFilter::StartElement(void* context, const xmlChar* localName, const xmlChar* prefix,
                                    const xmlChar* uri, int namespaceCount,
                                    const xmlChar** namespaces, int attributeCount,
                                    int defaultedCount, const xmlChar** attributes) {
    DropTrailingWhitespace(context);
    WhitespaceFilter& filter = Of(context);
    const bool inherited = !filter.preserve_.empty() && filter.preserve_.back();
    filter.preserve_.push_back(PreservesSpace(attributeCount, attributes, inherited));
    xmlSAX2StartElementNs(context, localName, prefix, uri, namespaceCount, namespaces,
                          attributeCount, defaultedCount, attributes);
    const auto parser = static_cast<xmlParserCtxtPtr>(context);
    if (parser->input != nullptr)
        RecordLongLine(parser->node, parser->input->line);
}

void WhitespaceFilter::EndElement(void* context, const xmlChar* localName, const xmlChar* prefix,
                                  const xmlChar* uri) {
    DropTrailingWhitespace(context);
    WhitespaceFilter& filter = Of(context);
    if (!filter.preserve_.empty())
        filter.preserve_.pop_back();
    xmlSAX2EndElementNs(context, localName, prefix, uri);
}

void WhitespaceFilter::Comment(void* context, const xmlChar* text) {
    DropTrailingWhitespace(context);
    xmlSAX2Comment(context, text);
}

void WhitespaceFilter::ProcessingInstruction(void* context, const xmlChar* target,
                                             const xmlChar* data) {
    DropTrailingWhitespace(context);
    xmlSAX2ProcessingInstruction(context, target, data);
}

void WhitespaceFilter::CdataBlock(void* context, const xmlChar* text, int length) {
    DropTrailingWhitespace(context);
    xmlSAX2CDataBlock(context, text, length);
}

}  // namespace VardelXml
