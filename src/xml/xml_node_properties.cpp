// Attribute access of XMLNode, plain and typed. Numbers are written and read
// with a point as decimal separator whatever the process's locale is.
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "common/case_fold.h"
#include "common/text.h"
#include "common/utf8.h"
#include "vardel/xml_node.h"
#include "xml/xml_text.h"
#include "xml/xml_tree.h"

namespace {

bool IsElement(xmlNodePtr node) {
    return node != nullptr && node->type == XML_ELEMENT_NODE;
}

// "xmlns" and "xmlns:p" are namespace declarations to libxml2, attributes to
// callers. The prefix of such a name, or no value for an ordinary name.
std::optional<std::string> DeclaredPrefix(const std::string& name) {
    if (name == "xmlns")
        return std::string();
    if (name.rfind("xmlns:", 0) == 0)
        return name.substr(6);
    return std::nullopt;
}

xmlNsPtr FindDeclaration(xmlNodePtr element, const std::string& prefix) {
    for (xmlNsPtr ns = element->nsDef; ns != nullptr; ns = ns->next) {
        const char* own = reinterpret_cast<const char*>(ns->prefix);
        if ((own == nullptr && prefix.empty()) || (own != nullptr && prefix == own))
            return ns;
    }
    return nullptr;
}

bool SetAttribute(VardelXml::XmlTree* tree, xmlNodePtr element, const wchar_t* name,
                  const std::wstring& value) {
    if (!IsElement(element) || name == nullptr)
        return false;
    tree->NoteEdit(element);
    const std::string attribute = VardelXml::ToXml(name);
    const std::string text = VardelCommon::ToUtf8(value);
    if (const auto prefix = DeclaredPrefix(attribute)) {
        if (xmlNsPtr ns = FindDeclaration(element, *prefix)) {
            xmlFree(const_cast<xmlChar*>(ns->href));
            ns->href = xmlStrdup(VardelXml::Chars(text));
            return true;
        }
        return xmlNewNs(element, VardelXml::Chars(text),
                        prefix->empty() ? nullptr : VardelXml::Chars(*prefix)) != nullptr;
    }
    if (xmlValidateQName(VardelXml::Chars(attribute), 0) != 0)
        return false;
    return xmlSetProp(element, VardelXml::Chars(attribute), VardelXml::Chars(text)) != nullptr;
}

// Whether `name` is ASCII without a prefix and no declaration: the names
// callers ask for nearly always, which match an attribute of no namespace
// prefix by their bytes alone.
bool IsPlainAsciiName(const wchar_t* name) {
    const wchar_t* at = name;
    for (; *at != 0; ++at) {
        if (*at >= 0x80 || *at <= 0 || *at == L':')
            return false;
    }
    return at != name && std::wstring_view(name) != L"xmlns";
}

bool NameIs(const xmlChar* text, const wchar_t* name) {
    for (; *name != 0; ++text, ++name) {
        if (*text != static_cast<xmlChar>(*name))
            return false;
    }
    return *text == 0;
}

// An attribute of a plain name, found without converting the name.
xmlAttrPtr FindPlainAttribute(xmlNodePtr element, const wchar_t* name) {
    for (xmlAttrPtr attribute = element->properties; attribute != nullptr;
         attribute = attribute->next) {
        const bool unprefixed = attribute->ns == nullptr || attribute->ns->prefix == nullptr;
        if (unprefixed && NameIs(attribute->name, name))
            return attribute;
    }
    return nullptr;
}

std::optional<std::wstring> AttributeValue(xmlNodePtr element, const wchar_t* name) {
    if (!IsElement(element) || name == nullptr)
        return std::nullopt;
    if (IsPlainAsciiName(name)) {
        const xmlAttrPtr found = FindPlainAttribute(element, name);
        return found != nullptr ? std::optional(VardelXml::AttributeText(found)) : std::nullopt;
    }
    const std::string attribute = VardelXml::ToXml(name);
    if (const auto prefix = DeclaredPrefix(attribute)) {
        if (xmlNsPtr ns = FindDeclaration(element, *prefix))
            return VardelXml::FromXml(ns->href);
    }
    if (xmlAttrPtr found = VardelXml::FindAttribute(element, attribute)) {
        return VardelXml::AttributeText(found);
    }
    return std::nullopt;
}

// A trimmed text that is one plain decimal number: digits, sign, point and
// exponent only (no hexadecimal, infinity or NaN forms).
std::optional<double> PlainNumber(const std::wstring& text) {
    const std::wstring trimmed(VardelCommon::Trim(text));
    if (trimmed.find_first_not_of(L"0123456789+-.eE") != std::wstring::npos)
        return std::nullopt;
    if (!VardelCommon::IsWholeNumber(trimmed))
        return std::nullopt;
    return VardelCommon::ParseLeadingNumber(trimmed.c_str());
}

template <class Integer>
bool ReadInteger(const XMLNode& node, const wchar_t* name, Integer& value) {
    value = 0;
    std::wstring text;
    if (!node.GetProperty(name, text))
        return false;
    const auto number = PlainNumber(text);
    if (!number)
        return false;
    // Rounds half to even; the upper bound 2^(bits-1) is exact as a double.
    const double rounded = std::nearbyint(*number);
    const double lowest = static_cast<double>(std::numeric_limits<Integer>::min());
    if (!(rounded >= lowest && rounded < -lowest))
        return false;
    value = static_cast<Integer>(rounded);
    return true;
}

}  // namespace

bool XMLNode::GetProperties(std::vector<std::wstring>& names) const {
    names.clear();
    if (!IsElement(node_))
        return false;
    for (xmlNsPtr ns = node_->nsDef; ns != nullptr; ns = ns->next) {
        names.push_back(ns->prefix == nullptr ? L"xmlns"
                                              : L"xmlns:" + VardelXml::FromXml(ns->prefix));
    }
    for (xmlAttrPtr attribute = node_->properties; attribute != nullptr;
         attribute = attribute->next) {
        names.push_back(VardelXml::NodeName(reinterpret_cast<xmlNodePtr>(attribute)));
    }
    return true;
}

bool XMLNode::RemoveProperty(const wchar_t* name) {
    if (!IsElement(node_) || name == nullptr)
        return false;
    // Callers may still hold the attribute as a node: it is detached, not freed.
    if (xmlAttrPtr found = VardelXml::FindAttribute(node_, VardelXml::ToXml(name))) {
        tree_->Detach(reinterpret_cast<xmlNodePtr>(found));
    }
    return true;
}

bool XMLNode::SetProperty(const wchar_t* name, const wchar_t* value) {
    return value != nullptr && SetAttribute(tree_.get(), node_, name, value);
}

bool XMLNode::SetProperty(const wchar_t* name, const std::wstring& value) {
    return SetAttribute(tree_.get(), node_, name, value);
}

bool XMLNode::SetProperty(const wchar_t* name, int value) {
    return SetAttribute(tree_.get(), node_, name, std::to_wstring(value));
}

bool XMLNode::SetProperty(const wchar_t* name, long value) {
    return SetAttribute(tree_.get(), node_, name, std::to_wstring(value));
}

bool XMLNode::SetProperty(const wchar_t* name, double value) {
    return SetAttribute(tree_.get(), node_, name, VardelCommon::FormatFixed(value, 12));
}

bool XMLNode::SetProperty(const wchar_t* name, bool value) {
    return SetAttribute(tree_.get(), node_, name, value ? L"true" : L"false");
}

bool XMLNode::SetStrBoolProperty(const wchar_t* name, bool value) {
    return SetAttribute(tree_.get(), node_, name, value ? L"true" : L"false");
}

bool XMLNode::GetProperty(const wchar_t* name, std::wstring& value) const {
    value.clear();
    auto found = AttributeValue(node_, name);
    if (!found)
        return false;
    value = std::move(*found);
    return true;
}

bool XMLNode::GetProperty(const wchar_t* name, double& value) const {
    value = 0.0;
    const auto found = AttributeValue(node_, name);
    if (!found)
        return false;
    value = VardelCommon::ParseLeadingNumber(found->c_str());
    return true;
}

bool XMLNode::GetProperty(const wchar_t* name, int& value) const {
    return ReadInteger(*this, name, value);
}

bool XMLNode::GetProperty(const wchar_t* name, short& value) const {
    return ReadInteger(*this, name, value);
}

bool XMLNode::GetProperty(const wchar_t* name, long& value) const {
    return ReadInteger(*this, name, value);
}

bool XMLNode::GetProperty(const wchar_t* name, bool& value) const {
    value = false;
    const auto found = AttributeValue(node_, name);
    if (!found)
        return false;
    if (const auto number = PlainNumber(*found)) {
        value = *number != 0.0;
    } else {
        value = VardelCommon::EqualsNoCase(VardelCommon::Trim(*found), L"true");
    }
    return true;
}

bool XMLNode::GetStrBoolProperty(const wchar_t* name, bool& value) const {
    value = false;
    const auto found = AttributeValue(node_, name);
    if (!found)
        return false;
    value = VardelCommon::EqualsNoCase(*found, L"true");
    return true;
}
