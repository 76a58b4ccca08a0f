// CEncapMemberColToParam: the "ParamToColumn" elements of one column, each
// naming one category parameter the column stands for in its
// "CategoryParameterRef".
#include <algorithm>

#include "common/case_fold.h"
#include "family/mapping_nodes.h"
#include "vardel/family_mapping.h"
#include "vardel/xml_node_array.h"
#include "xml/element_scan.h"

using VardelFamily::AttributeText;

namespace {

// The "CategoryParameter" of the element's first "CategoryParameterRef";
// false when either is missing.
bool ReferencedParameter(const XMLNode& element, std::wstring& parameterId) {
    const XMLNode reference = VardelXml::FindChild(element, "CategoryParameterRef");
    return reference.GetProperty(L"CategoryParameter", parameterId);
}

}  // namespace

CEncapMemberColToParam::CEncapMemberColToParam(const XMLNode& node, CEncapFamilyMapping* mapping)
    : nodes_{node}, mapping_(mapping) {}

CEncapMemberColToParam::~CEncapMemberColToParam() = default;

void CEncapMemberColToParam::GetColumnName(std::wstring& value) const {
    if (!nodes_.empty()) {
        VardelFamily::ReadAttribute(nodes_.front(), L"TableColumn", value);
    }
}

int CEncapMemberColToParam::ParamCount() const {
    return static_cast<int>(nodes_.size());
}

bool CEncapMemberColToParam::GetCategoryParams(std::vector<std::wstring>& parameterIds) const {
    parameterIds.clear();
    for (const XMLNode& node : nodes_) {
        std::wstring id;
        if (ReferencedParameter(node, id)) {
            parameterIds.push_back(std::move(id));
        }
    }
    return !parameterIds.empty();
}

bool CEncapMemberColToParam::IsMappedForCatParam(const std::wstring& parameterId) const {
    return std::any_of(nodes_.begin(), nodes_.end(), [&](const XMLNode& node) {
        XMLNodeArray references;
        node.GetChildNodes(L"CategoryParameterRef", references);
        for (int i = 0; i < references.GetSize(); ++i) {
            if (AttributeText(references[i], L"CategoryParameter") == parameterId) {
                return true;
            }
        }
        return false;
    });
}

bool CEncapMemberColToParam::AddCategoryParam(XMLNode& node) {
    std::wstring id;
    if (!ReferencedParameter(node, id) || IsMappedForCatParam(id)) {
        return false;
    }
    nodes_.push_back(node);
    return true;
}

bool CEncapMemberColToParam::RemoveCategoryParam(const std::wstring& parameterId) {
    const auto found = std::find_if(nodes_.begin(), nodes_.end(), [&](const XMLNode& node) {
        std::wstring id;
        return ReferencedParameter(node, id) && VardelCommon::EqualsNoCase(id, parameterId);
    });
    if (found == nodes_.end()) {
        return false;
    }
    XMLNode element = *found;
    element.RemoveThisNode(true);
    nodes_.erase(found);
    return true;
}

void CEncapMemberColToParam::RemoveNodesFromXML() {
    for (XMLNode& node : nodes_) {
        node.RemoveThisNode(true);
    }
    nodes_.clear();
}
