#include "family/family_paths.h"

#include "vardel/xml_node_array.h"
#include "xml/xpath_literal.h"

namespace VardelFamily {

std::wstring AttributeIs(std::wstring_view attribute, std::wstring_view value) {
    std::wstring test = L"@";
    test += attribute;
    test += L" = ";
    test += VardelXml::XPathLiteral(value);
    return test;
}

std::wstring Where(std::wstring_view path, std::wstring_view test) {
    std::wstring expression(path);
    expression += L'[';
    expression += test;
    expression += L']';
    return expression;
}

std::wstring WhereAttribute(std::wstring_view path, std::wstring_view attribute,
                            std::wstring_view value) {
    return Where(path, AttributeIs(attribute, value));
}

std::wstring WhereAttributes(std::wstring_view path, std::wstring_view first, std::wstring_view a,
                             std::wstring_view second, std::wstring_view b) {
    std::wstring test = AttributeIs(first, a);
    test += L" and ";
    test += AttributeIs(second, b);
    return Where(path, test);
}

std::wstring ChildNamed(std::wstring_view name) {
    std::wstring test = L"name() = ";
    test += VardelXml::XPathLiteral(name);
    return Where(L"*", test);
}

XMLNode DocumentElement(const XMLParser& document) {
    XMLNode root = document.GetRootNode();
    std::wstring name;
    // Without a document element the root is the document node itself.
    if (!root.GetNodeName(name) || name == L"#document") {
        return {};
    }
    return root;
}

void RemoveAll(const XMLNode& node, const std::wstring& xpath) {
    XMLNodeArray selected;
    node.SelectChildNodes(xpath.c_str(), selected);
    for (int i = 0; i < selected.GetSize(); ++i) {
        selected[i].RemoveThisNode(true);
    }
}

}  // namespace VardelFamily
