// Attribute reads shared by the template and mapping objects, which stand
// over elements of the family document and keep no copies of their
// attributes: the getters of the public objects leave their output as it was
// when the attribute is missing, the algorithms take a missing attribute as
// an empty text.
#pragma once

#include <string>

#include "vardel/xml_node.h"

namespace VardelFamily {

/// Sets `value` to the attribute; leaves it unchanged when it is missing.
inline void ReadAttribute(const XMLNode& node, const wchar_t* name, std::wstring& value) {
    std::wstring text;
    if (node.GetProperty(name, text)) {
        value = std::move(text);
    }
}

/// The attribute's text; empty when it is missing.
inline std::wstring AttributeText(const XMLNode& node, const wchar_t* name) {
    std::wstring text;
    node.GetProperty(name, text);
    return text;
}

}  // namespace VardelFamily
