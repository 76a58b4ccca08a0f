// CEncapFamilyTemplate: one "FamilyTemplate" of a family, its generalized
// parameters and the ids it hands out.
#include <climits>

#include "common/case_fold.h"
#include "family/mapping_nodes.h"
#include "vardel/family_template.h"

using VardelCommon::EqualsNoCase;
using VardelFamily::AttributeText;
using VardelFamily::ReadAttribute;

CEncapFamilyTemplate::CEncapFamilyTemplate(const XMLNode& node, CEncapFamilyMapping* mapping)
    : node_(node), mapping_(mapping) {
    CEncapFamilyTemplateParameter::LoadChildren(node_, this, parameters_);
}

CEncapFamilyTemplate::CEncapFamilyTemplate(const CEncapFamilyTemplate& other)
    : nextId_(other.nextId_),
      node_(other.node_),
      mapping_(other.mapping_),
      parameters_(CEncapFamilyTemplateParameter::CopyChildren(other.parameters_, this)) {}

CEncapFamilyTemplate& CEncapFamilyTemplate::operator=(const CEncapFamilyTemplate& other) {
    if (this != &other) {
        nextId_ = other.nextId_;
        node_ = other.node_;
        mapping_ = other.mapping_;
        parameters_ = CEncapFamilyTemplateParameter::CopyChildren(other.parameters_, this);
    }
    return *this;
}

CEncapFamilyTemplate::~CEncapFamilyTemplate() = default;

void CEncapFamilyTemplate::GetName(std::wstring& value) const {
    ReadAttribute(node_, L"Name", value);
}

void CEncapFamilyTemplate::GetFileName(std::wstring& value) const {
    ReadAttribute(node_, L"FileName", value);
}

void CEncapFamilyTemplate::NoteParameterId(int id) {
    if (nextId_ <= id) {
        nextId_ = static_cast<long long>(id) + 1;
    }
}

CEncapFamilyTemplateParameter* CEncapFamilyTemplate::FindBoundParameter(
    const std::wstring& key, const std::wstring& subObjectId) const {
    // A template has one material parameter, whatever key it was made with.
    const bool material = EqualsNoCase(subObjectId, L"Material");
    for (const auto& [id, parameter] : parameters_) {
        const XMLNode node = parameter->GetXMLNode();
        const std::wstring sub = AttributeText(node, L"SubObjectId");
        if (EqualsNoCase(AttributeText(node, L"ObjectReferenceKey"), key) &&
            EqualsNoCase(sub, subObjectId)) {
            return parameter.get();
        }
        if (material && EqualsNoCase(sub, L"Material") &&
            EqualsNoCase(AttributeText(node, L"ObjectType"), L"kPartComponentDefinitionObject")) {
            return parameter.get();
        }
    }
    return nullptr;
}

CEncapFamilyTemplateParameter* CEncapFamilyTemplate::AddParameter(const std::wstring& key,
                                                                  const std::wstring& subObjectId) {
    if (CEncapFamilyTemplateParameter* bound = FindBoundParameter(key, subObjectId)) {
        return bound;
    }
    if (nextId_ > INT_MAX) {
        return nullptr;
    }
    const int id = static_cast<int>(nextId_);
    const XMLNode element =
        node_.AddNode(L"GeneralizedParameter", nullptr, L"Id", std::to_wstring(id).c_str());
    if (!element.IsNode()) {
        return nullptr;
    }
    auto parameter = std::make_unique<CEncapFamilyTemplateParameter>(element, this);
    parameter->SetObjectReferenceKey(key);
    parameter->SetSubObjectId(subObjectId);
    CEncapFamilyTemplateParameter* added = parameter.get();
    parameters_.insert_or_assign(id, std::move(parameter));
    ++nextId_;
    return added;
}

CEncapFamilyTemplateParameter* CEncapFamilyTemplate::GetParameter(int id) const {
    return CEncapFamilyTemplateParameter::Find(parameters_, id);
}

bool CEncapFamilyTemplate::DeleteParameter(int id) {
    return CEncapFamilyTemplateParameter::Delete(parameters_, id);
}
