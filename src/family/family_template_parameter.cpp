// CEncapFamilyTemplateParameter: one "GeneralizedParameter" of a template,
// its attributes and its nested parameters, and the loading of parameter
// elements that templates and parameters share.
#include "family/mapping_nodes.h"
#include "vardel/family_template.h"
#include "xml/element_scan.h"

using VardelFamily::ReadAttribute;

CEncapFamilyTemplateParameter::CEncapFamilyTemplateParameter(const XMLNode& node,
                                                             CEncapFamilyTemplate* owner)
    : node_(node), template_(owner) {
    LoadChildren(node_, template_, children_);
}

CEncapFamilyTemplateParameter::CEncapFamilyTemplateParameter(
    const CEncapFamilyTemplateParameter& other)
    : node_(other.node_),
      template_(other.template_),
      children_(CopyChildren(other.children_, other.template_)) {}

CEncapFamilyTemplateParameter& CEncapFamilyTemplateParameter::operator=(
    const CEncapFamilyTemplateParameter& other) {
    if (this != &other) {
        node_ = other.node_;
        template_ = other.template_;
        children_ = CopyChildren(other.children_, other.template_);
    }
    return *this;
}

CEncapFamilyTemplateParameter::~CEncapFamilyTemplateParameter() = default;

void CEncapFamilyTemplateParameter::LoadChildren(const XMLNode& parent, CEncapFamilyTemplate* owner,
                                                 Children& into) {
    for (const XMLNode& element : VardelXml::ElementsAtPath(parent, {"GeneralizedParameter"})) {
        int id = 0;
        if (!element.GetProperty(L"Id", id)) {
            continue;
        }
        if (owner != nullptr) {
            owner->NoteParameterId(id);
        }
        // A repeated id replaces the parameter loaded before it.
        into.insert_or_assign(id, std::make_unique<CEncapFamilyTemplateParameter>(element, owner));
    }
}

CEncapFamilyTemplateParameter::Children CEncapFamilyTemplateParameter::CopyChildren(
    const Children& children, CEncapFamilyTemplate* owner) {
    Children copies;
    for (const auto& [id, child] : children) {
        auto copy = std::make_unique<CEncapFamilyTemplateParameter>();
        copy->node_ = child->node_;
        copy->template_ = owner;
        copy->children_ = CopyChildren(child->children_, owner);
        copies.emplace(id, std::move(copy));
    }
    return copies;
}

CEncapFamilyTemplateParameter* CEncapFamilyTemplateParameter::Find(const Children& children,
                                                                   int id) {
    if (const auto found = children.find(id); found != children.end()) {
        return found->second.get();
    }
    for (const auto& entry : children) {
        if (CEncapFamilyTemplateParameter* nested = Find(entry.second->children_, id)) {
            return nested;
        }
    }
    return nullptr;
}

bool CEncapFamilyTemplateParameter::Delete(Children& children, int id) {
    if (const auto found = children.find(id); found != children.end()) {
        found->second->node_.RemoveThisNode(true);
        children.erase(found);
        return true;
    }
    for (auto& entry : children) {
        if (Delete(entry.second->children_, id)) {
            return true;
        }
    }
    return false;
}

int CEncapFamilyTemplateParameter::GetId() const {
    int id = 0;
    node_.GetProperty(L"Id", id);
    return id;
}

void CEncapFamilyTemplateParameter::GetStringId(std::wstring& value) const {
    ReadAttribute(node_, L"Id", value);
}

void CEncapFamilyTemplateParameter::GetValueType(std::wstring& value) const {
    ReadAttribute(node_, L"ValueType", value);
}

void CEncapFamilyTemplateParameter::SetValueType(const std::wstring& value) {
    node_.SetProperty(L"ValueType", value);
}

void CEncapFamilyTemplateParameter::GetUnitType(std::wstring& value) const {
    ReadAttribute(node_, L"UnitType", value);
}

void CEncapFamilyTemplateParameter::SetUnitType(const std::wstring& value) {
    node_.SetProperty(L"UnitType", value);
}

void CEncapFamilyTemplateParameter::GetObjectType(std::wstring& value) const {
    ReadAttribute(node_, L"ObjectType", value);
}

void CEncapFamilyTemplateParameter::SetObjectType(const std::wstring& value) {
    node_.SetProperty(L"ObjectType", value);
}

void CEncapFamilyTemplateParameter::GetObjectReferenceKey(std::wstring& value) const {
    ReadAttribute(node_, L"ObjectReferenceKey", value);
}

void CEncapFamilyTemplateParameter::SetObjectReferenceKey(const std::wstring& value) {
    node_.SetProperty(L"ObjectReferenceKey", value);
}

void CEncapFamilyTemplateParameter::GetSubObjectId(std::wstring& value) const {
    ReadAttribute(node_, L"SubObjectId", value);
}

void CEncapFamilyTemplateParameter::SetSubObjectId(const std::wstring& value) {
    node_.SetProperty(L"SubObjectId", value);
}

CEncapFamilyTemplateParameter* CEncapFamilyTemplateParameter::GetChild(int id) const {
    return Find(children_, id);
}

bool CEncapFamilyTemplateParameter::DeleteChild(int id) {
    return Delete(children_, id);
}
