#include "xml/xml_serialize.h"

#include <libxml/xmlsave.h>

#include "xml/quiet_errors.h"

namespace VardelXml {
namespace {

int AppendToString(void* context, const char* bytes, int length) {
    static_cast<std::string*>(context)->append(bytes, static_cast<std::size_t>(length));
    return length;
}

// Writes through a callback into a string, which grows geometrically; the
// libxml2 memory buffer would grow by exact amounts.
std::optional<std::string> Save(xmlNodePtr node, const char* encoding, int options) {
    const QuietErrors quiet;
    std::string out;
    xmlSaveCtxtPtr save = xmlSaveToIO(AppendToString, nullptr, &out, encoding, options);
    if (save == nullptr)
        return std::nullopt;
    const long written = node->type == XML_DOCUMENT_NODE
                             ? xmlSaveDoc(save, reinterpret_cast<xmlDocPtr>(node))
                             : xmlSaveTree(save, node);
    if (xmlSaveClose(save) < 0 || written < 0)
        return std::nullopt;
    return out;
}

}  // namespace

std::string SerializeNode(xmlNodePtr node) {
    std::string text = Save(node, "UTF-8", XML_SAVE_NO_DECL).value_or(std::string());
    // An attribute is written with the space that separates it in a tag.
    if (node->type == XML_ATTRIBUTE_NODE && !text.empty() && text.front() == ' ')
        text.erase(0, 1);
    return text;
}

std::optional<std::string> SerializeDocumentFile(const XmlTree& tree) {
    xmlNodePtr doc = reinterpret_cast<xmlNodePtr>(tree.doc());
    if (!tree.hasDeclaration)
        return Save(doc, "UTF-8", XML_SAVE_NO_DECL);
    const std::string& encoding =
        tree.declaredEncoding.empty() ? std::string("UTF-8") : tree.declaredEncoding;
    return Save(doc, encoding.c_str(), 0);
}

std::string DeclarationText(const XmlTree& tree) {
    if (!tree.hasDeclaration)
        return {};
    std::string declaration = "<?xml version=\"1.0\"";
    if (!tree.declaredEncoding.empty())
        declaration += " encoding=\"" + tree.declaredEncoding + "\"";
    return declaration + "?>\n";
}

}  // namespace VardelXml
