// CEncapMemberColToTemplate: the "ColumnToTemplate" element of one column,
// listing the template parameters the column drives as "TemplateParameter"
// elements (template name, parameter id) below "TemplatesParameter".
#include <string>

#include "family/mapping_nodes.h"
#include "vardel/family_mapping.h"
#include "xml/element_scan.h"

using VardelFamily::AttributeText;

CEncapMemberColToTemplate::CEncapMemberColToTemplate(const XMLNode& node,
                                                     CEncapFamilyMapping* mapping)
    : node_(node), mapping_(mapping) {}

CEncapMemberColToTemplate::~CEncapMemberColToTemplate() = default;

void CEncapMemberColToTemplate::GetColumnName(std::wstring& value) const {
    VardelFamily::ReadAttribute(node_, L"TableColumn", value);
}

XMLNode CEncapMemberColToTemplate::FindMapping(const std::wstring& templateName,
                                               int parameterId) const {
    // Ids are written in decimal and compared as written, as the document's
    // other readers of these elements compare them.
    const std::wstring id = std::to_wstring(parameterId);
    for (const XMLNode& element :
         VardelXml::ElementsAtPath(node_, {"TemplatesParameter", "TemplateParameter"})) {
        if (AttributeText(element, L"TemplateName") == templateName &&
            AttributeText(element, L"ParameterId") == id) {
            return element;
        }
    }
    return {};
}

void CEncapMemberColToTemplate::AddMapping(const std::wstring& templateName, int parameterId) {
    if (FindMapping(templateName, parameterId).IsNode()) {
        return;
    }
    node_.GetOrAddNode(L"TemplatesParameter")
        .AddNode(L"TemplateParameter", nullptr, L"TemplateName", templateName.c_str(),
                 L"ParameterId", std::to_wstring(parameterId).c_str());
}

void CEncapMemberColToTemplate::DeleteMapping(const std::wstring& templateName, int parameterId) {
    XMLNode element = FindMapping(templateName, parameterId);
    element.RemoveThisNode(true);
}

void CEncapMemberColToTemplate::DeleteAllMapping() {
    for (XMLNode element :
         VardelXml::ElementsAtPath(node_, {"TemplatesParameter", "TemplateParameter"})) {
        element.RemoveThisNode(true);
    }
    node_.GetOrAddNode(L"TemplatesParameter");
}

void CEncapMemberColToTemplate::RemoveNodeFromXML() {
    node_.RemoveThisNode(true);
}
