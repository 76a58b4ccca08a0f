// Small builders shared by the XML layer's tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "vardel/xml_parser.h"

inline XMLParser ParsedXml(const wchar_t* xml) {
    XMLParser parser;
    EXPECT_TRUE(parser.SetXml(xml)) << "does not parse";
    return parser;
}

// The text one of the layer's string getters gives.
template <class Object>
std::wstring Read(const Object& object, bool (Object::*getter)(std::wstring&) const) {
    std::wstring text;
    (object.*getter)(text);
    return text;
}

inline std::wstring XmlOf(const XMLNode& node) {
    return Read(node, &XMLNode::GetXml);
}
inline std::wstring XmlOf(const XMLParser& parser) {
    return Read(parser, &XMLParser::GetXml);
}
inline std::wstring NameOf(const XMLNode& node) {
    return Read(node, &XMLNode::GetNodeName);
}
inline std::wstring TextOf(const XMLNode& node) {
    return Read(node, &XMLNode::GetNodeText);
}
