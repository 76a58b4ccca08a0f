// Builds the tree with the XML document classes, so names are escaped by
// the one XML writer of the library.
#include "service/category_tree_xml.h"

#include <map>

#include "vardel/xml_parser.h"

namespace VardelCatalog {
namespace {

XMLNode AddCategory(XMLNode& parent, const TreeCategory& category) {
    XMLNode node = parent.AddNode(L"Category");
    node.SetProperty(L"InternalName", category.guid.ToString());
    node.SetProperty(L"DisplayName", category.name);
    node.SetProperty(L"Hidden", category.hidden);
    if (category.holdsFamily) {
        node.SetProperty(L"HoldsFamily", true);
    }
    return node;
}

}  // namespace

std::wstring CategoryTreeXml(const std::vector<TreeCategory>& categories,
                             const Vardel::Guid& family, const std::wstring& library,
                             std::int32_t type) {
    XMLParser document(L"<CategoryTree/>");
    XMLNode root = document.GetRootNode();
    root.SetProperty(L"FamilyId", family.ToString());
    root.SetProperty(L"Library", library);
    // Parents come before their children, so each child finds its parent here.
    std::map<std::int64_t, XMLNode> added;
    for (const TreeCategory& category : categories) {
        if (type == kHoldingCategories) {
            if (category.holdsFamily) {
                AddCategory(root, category);
            }
            continue;
        }
        const auto parent = category.parent ? added.find(*category.parent) : added.end();
        XMLNode& under = parent != added.end() ? parent->second : root;
        added.emplace(category.id, AddCategory(under, category));
    }
    std::wstring xml;
    document.GetXml(xml);
    return xml;
}

}  // namespace VardelCatalog
