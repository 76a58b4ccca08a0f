#include "source/xml_source.h"

#include <limits>

#include "common/utf8.h"
#include "source/source_values.h"

namespace VardelCatalog {

XmlSource::XmlSource(std::filesystem::path file, SourceError& error)
    : file_(std::move(file)), error_(error) {}

bool XmlSource::Load(std::string_view bytes, XMLParser& parser, const wchar_t* rootName) const {
    if (!parser.LoadXmlBytes(bytes)) {
        int line = 0;
        std::wstring message;
        parser.GetParseError(line, message);
        return FailAt(line, {}, "not well-formed XML: " + Narrow(message));
    }
    const XMLNode root = parser.GetRootNode();
    std::wstring name;
    root.GetNodeName(name);
    if (rootName != nullptr && name != rootName) {
        return Fail(root, "the root element must be " + Narrow(rootName));
    }
    return true;
}

bool XmlSource::Fail(const XMLNode& element, const std::string& what) const {
    std::wstring name;
    element.GetNodeName(name);
    return FailAt(element.GetLineNumber(), "element " + Narrow(name), what);
}

bool XmlSource::FailAt(int line, std::string where, std::string what) const {
    error_ = {file_, line, std::move(where), std::move(what)};
    return false;
}

bool XmlSource::FailAttribute(const XMLNode& element, const wchar_t* name, const std::wstring& text,
                              const char* expected) const {
    return Fail(element,
                "attribute " + Narrow(name) + ": \"" + Narrow(text) + "\" is not " + expected);
}

bool XmlSource::Missing(const XMLNode& element, const wchar_t* name) const {
    return Fail(element, "missing required attribute " + Narrow(name));
}

bool XmlSource::Text(const XMLNode& element, const wchar_t* name, std::wstring& value,
                     bool required) const {
    std::wstring text;
    if (!element.GetProperty(name, text))
        return !required || Missing(element, name);
    value = std::move(text);
    return true;
}

bool XmlSource::Id(const XMLNode& element, const wchar_t* name, Guid& value) const {
    std::optional<Guid> id;
    if (!OptionalId(element, name, id))
        return false;
    if (!id)
        return Missing(element, name);
    value = *id;
    return true;
}

bool XmlSource::OptionalId(const XMLNode& element, const wchar_t* name,
                           std::optional<Guid>& value) const {
    std::wstring text;
    if (!element.GetProperty(name, text))
        return true;
    value = Guid::Parse(text);
    return value.has_value() || FailAttribute(element, name, text, "a GUID");
}

bool XmlSource::Boolean(const XMLNode& element, const wchar_t* name, bool& value) const {
    std::wstring text;
    if (!element.GetProperty(name, text))
        return true;
    const auto parsed = ParseBoolean(text);
    if (!parsed)
        return FailAttribute(element, name, text, "true, false, 1 or 0");
    value = *parsed;
    return true;
}

bool XmlSource::Time(const XMLNode& element, const wchar_t* name, std::wstring& value,
                     bool required) const {
    std::wstring text;
    if (!element.GetProperty(name, text))
        return !required || Missing(element, name);
    if (!IsTimestamp(text))
        return FailAttribute(element, name, text, "a time of the form YYYY-MM-DDThh:mm:ssZ");
    value = std::move(text);
    return true;
}

bool XmlSource::ValueType(const XMLNode& element, const wchar_t* name, std::wstring& value) const {
    std::wstring text;
    if (!element.GetProperty(name, text))
        return true;
    auto type = CanonicalValueType(text);
    if (!type)
        return FailAttribute(element, name, text, "string, double, integer or boolean");
    value = std::move(*type);
    return true;
}

bool XmlSource::KeyWeight(const XMLNode& element, const wchar_t* name, int minimum,
                          int& value) const {
    std::wstring text;
    if (!element.GetProperty(name, text))
        return true;
    const auto weight = ParseCount(text);
    if (!weight || *weight < minimum) {
        return FailAttribute(element, name, text,
                             minimum > 0 ? "a positive whole number" : "a whole number");
    }
    value = *weight;
    return true;
}

bool XmlSource::LocalizedTexts(const XMLNode& parent, const wchar_t* childName,
                               VardelCatalog::LocalizedTexts& texts) const {
    const XMLNodeArray children = ChildElements(parent, childName);
    for (int i = 0; i < children.GetSize(); ++i) {
        std::wstring language, text;
        if (!Text(children[i], L"Lang", language, true))
            return false;
        children[i].GetNodeText(text);
        if (!text.empty() && !texts.emplace(LanguageKey(language), std::move(text)).second)
            return Fail(children[i], "language " + Narrow(language) + " given twice");
    }
    return true;
}

XMLNodeArray ChildElements(const XMLNode& parent, const wchar_t* name) {
    XMLNodeArray children;
    parent.GetChildNodes(name, children);
    return children;
}

std::string Narrow(std::wstring_view text) {
    return VardelCommon::ToUtf8(text);
}

}  // namespace VardelCatalog
