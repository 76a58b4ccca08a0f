#include "xml/whitespace_filter.h"

#include <libxml/SAX2.h>

#include <string_view>

#include "xml/line_numbers.h"

namespace VardelXml {
namespace {

bool IsWhitespace(const xmlChar* text, int length) {
    for (int i = 0; i < length; ++i) {
        const xmlChar c = text[i];
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
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
    sax->characters = Characters;
    sax->ignorableWhitespace = Characters;
    sax->reference = Reference;
}

WhitespaceFilter& WhitespaceFilter::Of(void* context) {
    return *static_cast<WhitespaceFilter*>(static_cast<xmlParserCtxtPtr>(context)->_private);
}

// Whitespace seen while no text node is open is only held back: most of it
// lies between tags and goes without ever becoming a node. Text that follows
// it in the same run gets it first.
void WhitespaceFilter::Characters(void* context, const xmlChar* text, int length) {
    WhitespaceFilter& filter = Of(context);
    const auto parser = static_cast<xmlParserCtxtPtr>(context);
    const xmlNodePtr open = parser->node;
    const bool inText =
        open != nullptr && open->last != nullptr && open->last->type == XML_TEXT_NODE;
    const bool preserve = !filter.preserve_.empty() && filter.preserve_.back();
    if (!inText && !preserve && IsWhitespace(text, length)) {
        filter.heldBack_.append(reinterpret_cast<const char*>(text),
                                static_cast<std::size_t>(length));
        return;
    }
    filter.ReleaseHeldBack(parser);
    xmlSAX2Characters(context, text, length);
}

// The held whitespace starts a text node after all.
void WhitespaceFilter::ReleaseHeldBack(xmlParserCtxtPtr parser) {
    if (heldBack_.empty())
        return;
    xmlSAX2Characters(parser, reinterpret_cast<const xmlChar*>(heldBack_.data()),
                      static_cast<int>(heldBack_.size()));
    heldBack_.clear();
}

// Held whitespace that another node follows, or that its element ends, was
// a text node of whitespace alone.
void WhitespaceFilter::DropHeldBack(void* context) {
    Of(context).heldBack_.clear();
}

void WhitespaceFilter::StartElement(void* context, const xmlChar* localName, const xmlChar* prefix,
                                    const xmlChar* uri, int namespaceCount,
                                    const xmlChar** namespaces, int attributeCount,
                                    int defaultedCount, const xmlChar** attributes) {
    DropHeldBack(context);
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
    DropHeldBack(context);
    WhitespaceFilter& filter = Of(context);
    if (!filter.preserve_.empty())
        filter.preserve_.pop_back();
    xmlSAX2EndElementNs(context, localName, prefix, uri);
}

void WhitespaceFilter::Comment(void* context, const xmlChar* text) {
    DropHeldBack(context);
    xmlSAX2Comment(context, text);
}

void WhitespaceFilter::ProcessingInstruction(void* context, const xmlChar* target,
                                             const xmlChar* data) {
    DropHeldBack(context);
    xmlSAX2ProcessingInstruction(context, target, data);
}

void WhitespaceFilter::CdataBlock(void* context, const xmlChar* text, int length) {
    DropHeldBack(context);
    xmlSAX2CDataBlock(context, text, length);
}

// An entity left as a reference node ends no text: whitespace before it
// stays.
void WhitespaceFilter::Reference(void* context, const xmlChar* name) {
    Of(context).ReleaseHeldBack(static_cast<xmlParserCtxtPtr>(context));
    xmlSAX2Reference(context, name);
}

}  // namespace VardelXml
