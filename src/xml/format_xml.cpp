#include "xml/format_xml.h"

#include <string>
#include <utility>
#include <vector>

#include "xml/node_links.h"

namespace VardelXml {
namespace {

// A line feed and 78 spaces; indentation is a prefix of it.
const std::string kIndentation = "\n" + std::string(78, ' ');

void InsertWhitespace(XmlTree& tree, xmlNodePtr place, std::size_t length, bool before) {
    const std::string text = kIndentation.substr(0, length);
    xmlNodePtr node = xmlNewDocTextLen(tree.doc(), reinterpret_cast<const xmlChar*>(text.data()),
                                       static_cast<int>(text.size()));
    if (node == nullptr)
        return;
    if (before) {
        LinkBefore(tree, place, node);
    } else {
        LinkLast(tree, place, node);
    }
}

}  // namespace

void FormatXml(XmlTree& tree) {
    xmlNodePtr root = xmlDocGetRootElement(tree.doc());
    if (root == nullptr)
        return;
    // (next child to look at, its level); an explicit stack instead of
    // recursion keeps deep documents off the C stack.
    std::vector<std::pair<xmlNodePtr, std::size_t>> pending{{root->children, 0}};
    while (!pending.empty()) {
        auto [child, level] = pending.back();
        pending.pop_back();
        if (child == nullptr)
            continue;
        if (child->type == XML_TEXT_NODE) {
            pending.emplace_back(child->next, level);
            continue;
        }
        InsertWhitespace(tree, child, 2 * level + 3, true);
        if (child->next == nullptr)
            InsertWhitespace(tree, child->parent, 2 * level + 1, false);
        pending.emplace_back(child->next, level);
        if (child->type == XML_ELEMENT_NODE)
            pending.emplace_back(child->children, level + 1);
    }
}

}  // namespace VardelXml
