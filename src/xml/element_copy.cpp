// xmlDocCopyNode copies the subtree into the new document and declares on
// the copy any namespace its elements use from the source's ancestors.
#include "xml/element_copy.h"

#include <memory>
#include <utility>

#include "xml/node_access.h"
#include "xml/xml_tree.h"

namespace VardelXml {

bool CopyElementAsDocument(const XMLNode& element, XMLParser& document) {
    const XMLDocumentPtr target = document.GetDocument();
    const xmlNodePtr source = NodeAccess::Node(element);
    if (target == nullptr || source == nullptr || source->type != XML_ELEMENT_NODE)
        return false;
    std::shared_ptr<XmlTree> tree = XmlTree::NewEmpty();
    if (tree == nullptr)
        return false;
    // Interned names spare two allocations per element and attribute.
    tree->doc()->dict = xmlDictCreate();
    const xmlNodePtr copy = xmlDocCopyNode(source, tree->doc(), 1);
    if (copy == nullptr)
        return false;
    xmlDocSetRootElement(tree->doc(), copy);
    target->tree = std::move(tree);
    target->parseFailure.reset();
    return true;
}

}  // namespace VardelXml
