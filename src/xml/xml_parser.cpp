#include "vardel/xml_parser.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "common/atomic_file.h"
#include "common/case_fold.h"
#include "common/utf8.h"
#include "common/wide_path.h"
#include "vardel/guid.h"
#include "xml/format_xml.h"
#include "xml/node_access.h"
#include "xml/xml_parse.h"
#include "xml/xml_serialize.h"
#include "xml/xml_text.h"

using VardelXml::NodeAccess;
using VardelXml::XmlTree;

namespace {

std::shared_ptr<XmlTree> EmptyTree() {
    return XmlTree::NewEmpty();
}

// "{GUID in upper case}.xml" in the temporary folder.
std::filesystem::path GenericXmlFilename() {
    std::error_code error;
    std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    if (error)
        folder = "/tmp";
    const std::wstring guid = VardelCommon::ToUpper(Vardel::Guid::New().ToString());
    return folder / VardelCommon::ToPath(L"{" + guid + L"}.xml");
}

// Makes a parse result the document's content: the tree, or an empty one
// and the failure.
bool Install(VardelXml::Document& document, std::shared_ptr<XmlTree> parsed,
             const VardelXml::ParseFailure& failure) {
    const bool ok = parsed != nullptr;
    document.tree = ok ? std::move(parsed) : EmptyTree();
    document.parseFailure.reset();
    if (!ok)
        document.parseFailure = failure;
    return ok;
}

}  // namespace

XMLParser::XMLParser() : document_(std::make_shared<VardelXml::Document>()) {
    document_->tree = EmptyTree();
}

XMLParser::XMLParser(const wchar_t* xml) : XMLParser() {
    SetXml(xml);
}

XMLParser::XMLParser(const XMLParser& other) = default;
XMLParser& XMLParser::operator=(const XMLParser& other) = default;
XMLParser::~XMLParser() = default;

bool XMLParser::SetXml(const wchar_t* xml) {
    if (document_ == nullptr)
        return false;
    VardelXml::ParseFailure failure{0, "no text"};
    auto parsed = xml != nullptr ? VardelXml::ParseText(xml, failure) : nullptr;
    return Install(*document_, std::move(parsed), failure);
}

bool XMLParser::SetXmlUtf8(std::string_view xml) {
    if (document_ == nullptr)
        return false;
    VardelXml::ParseFailure failure;
    return Install(*document_, VardelXml::ParseUtf8Text(xml, failure), failure);
}

bool XMLParser::LoadXmlDocument(const wchar_t* path) {
    if (document_ == nullptr || path == nullptr)
        return false;
    std::string bytes;
    if (!VardelCommon::ReadRegularFile(VardelCommon::ToPath(path), bytes)) {
        return false;
    }
    return LoadXmlBytes(bytes);
}

bool XMLParser::LoadXmlBytes(std::string_view bytes) {
    if (document_ == nullptr)
        return false;
    VardelXml::ParseFailure failure;
    auto parsed = VardelXml::ParseBytes(bytes, failure);
    return Install(*document_, std::move(parsed), failure);
}

bool XMLParser::GetParseError(int& line, std::wstring& message) const {
    if (document_ == nullptr || !document_->parseFailure)
        return false;
    line = document_->parseFailure->line;
    message = VardelXml::FromXml(document_->parseFailure->message);
    return true;
}

bool XMLParser::SaveXmlDocument(const wchar_t* path, bool format) {
    if (document_ == nullptr || document_->tree == nullptr)
        return false;
    const std::filesystem::path target =
        path != nullptr ? VardelCommon::ToPath(path) : GenericXmlFilename();
    XmlTree& tree = *document_->tree;
    if (format)
        VardelXml::FormatXml(tree);
    const auto bytes = VardelXml::SerializeDocumentFile(tree);
    return bytes && VardelCommon::WriteFileAtomically(target, *bytes);
}

bool XMLParser::CreateXmlDocument(const wchar_t* encoding) {
    if (document_ == nullptr || document_->tree == nullptr)
        return false;
    document_->tree->hasDeclaration = true;
    document_->tree->declaredEncoding = VardelXml::ToXml(encoding);
    return true;
}

bool XMLParser::GetXml(std::wstring& xml) const {
    if (document_ == nullptr || document_->tree == nullptr)
        return false;
    const XmlTree& tree = *document_->tree;
    xml = VardelXml::FromXml(VardelXml::DeclarationText(tree) +
                             VardelXml::SerializeNode(reinterpret_cast<xmlNodePtr>(tree.doc())));
    return true;
}

XMLDocumentPtr XMLParser::GetDocument() const {
    return document_;
}

void XMLParser::SetDocument(const XMLDocumentPtr& document) {
    document_ = document;
}

XMLNode XMLParser::GetRootNode() const {
    if (document_ == nullptr || document_->tree == nullptr)
        return {};
    xmlDocPtr doc = document_->tree->doc();
    xmlNodePtr root = xmlDocGetRootElement(doc);
    return NodeAccess::Wrap(document_->tree,
                            root != nullptr ? root : reinterpret_cast<xmlNodePtr>(doc));
}

bool XMLParser::GetNode(XMLNode& node) const {
    node = GetRootNode();
    return node.IsNode();
}

bool XMLParser::GetNode(const wchar_t* name, XMLNode& node) const {
    node = XMLNode();
    const XMLNode root = GetRootNode();
    if (name == nullptr || !root.IsNode())
        return GetNode(node);
    const std::string wanted = VardelXml::ToXml(name);
    for (xmlNodePtr candidate = NodeAccess::Node(root); candidate != nullptr;
         candidate = candidate->next) {
        if (VardelXml::HasName(candidate, wanted)) {
            node = NodeAccess::Wrap(NodeAccess::Tree(root), candidate);
            return true;
        }
    }
    return false;
}

XMLNode XMLParser::AddNode(const wchar_t* name, const wchar_t* text, const wchar_t* attr1,
                           const wchar_t* value1, const wchar_t* attr2, const wchar_t* value2) {
    XMLNode root = GetRootNode();
    return root.AddNode(name, text, attr1, value1, attr2, value2);
}

bool XMLParser::GetNodesByTag(const wchar_t* tag, XMLNodeArray& nodes) const {
    nodes.RemoveAll();
    if (document_ == nullptr || document_->tree == nullptr || tag == nullptr)
        return false;
    const std::string wanted = VardelXml::ToXml(tag);
    xmlNodePtr doc = reinterpret_cast<xmlNodePtr>(document_->tree->doc());
    for (xmlNodePtr node = doc; node != nullptr; node = VardelXml::NextInSubtree(node, doc)) {
        if (node->type == XML_ELEMENT_NODE && (wanted == "*" || VardelXml::HasName(node, wanted))) {
            nodes.Add(NodeAccess::Wrap(document_->tree, node));
        }
    }
    return true;
}

bool XMLParser::RemoveNodesByTag(const wchar_t* tag) {
    XMLNodeArray nodes;
    if (!GetNodesByTag(tag, nodes))
        return false;
    for (int i = 0; i < nodes.GetSize(); ++i)
        nodes[i].RemoveThisNode(true);
    return true;
}

int XMLParser::GetNodesCount() const {
    const XMLNode root = GetRootNode();
    return root.IsNode() && NodeAccess::Node(root)->type == XML_ELEMENT_NODE ? root.GetChildCount()
                                                                             : 0;
}
