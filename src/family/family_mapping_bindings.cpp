// CEncapFamilyMapping: the binding of columns to template parameters. A
// column drives template parameters through the "TemplateParameter"
// elements of its "ColumnToTemplate"; the object type of each parameter
// says what the column is bound to: a model parameter of its own (a
// geometry column) or an object of the host (a host-property column). A
// template parameter lives as long as some element refers to it.
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "common/case_fold.h"
#include "family/family_paths.h"
#include "family/mapping_nodes.h"
#include "vardel/family.h"
#include "vardel/family_mapping.h"
#include "vardel/family_template.h"
#include "vardel/xml_node_array.h"
#include "xml/element_scan.h"

using VardelCommon::EqualsNoCase;
using VardelFamily::AttributeText;
using PropertyData = CEncapFamilyColIPropertyData;

namespace {

constexpr const wchar_t* kUserParameter = L"kUserParameterObject";
constexpr const wchar_t* kProperty = L"kPropertyObject";
constexpr const wchar_t* kComponentDefinition = L"kPartComponentDefinitionObject";
constexpr const wchar_t* kDocument = L"kPartDocumentObject";
constexpr const wchar_t* kModelParameter = L"kModelParameterObject";
constexpr const wchar_t* kFeature = L"kPartFeatureObject";
constexpr const wchar_t* kRenderStyle = L"kRenderStyleObject";
constexpr const wchar_t* kTemplateParameterPath = L"//TemplatesParameter/TemplateParameter";

// One "TemplateParameter" of a column's entry.
struct ParameterRef {
    XMLNode element;
    std::wstring templateName;
    int parameterId = 0;
    bool hasId = false;  // "ParameterId" is a number
};

std::vector<ParameterRef> ParameterRefs(const CEncapMemberColToTemplate* entry) {
    std::vector<ParameterRef> refs;
    if (entry == nullptr) {
        return refs;
    }
    for (const XMLNode& element : VardelXml::ElementsAtPath(
             entry->GetXMLNode(), {"TemplatesParameter", "TemplateParameter"})) {
        ParameterRef ref{element, AttributeText(element, L"TemplateName")};
        ref.hasId = element.GetProperty(L"ParameterId", ref.parameterId);
        refs.push_back(std::move(ref));
    }
    return refs;
}

// The object type and sub-object of a template parameter's element.
struct ObjectOf {
    explicit ObjectOf(const XMLNode& parameter)
        : type(AttributeText(parameter, L"ObjectType")),
          subObject(AttributeText(parameter, L"SubObjectId")) {}
    bool Is(const wchar_t* objectType) const { return EqualsNoCase(type, objectType); }
    bool SubObjectIs(const wchar_t* id) const { return EqualsNoCase(subObject, id); }
    bool IsMaterial() const { return Is(kComponentDefinition) && SubObjectIs(L"Material"); }
    // A binding to an object of the host rather than a parameter of the model.
    bool IsHostProperty() const {
        return Is(kProperty) || Is(kDocument) || Is(kRenderStyle) || IsMaterial();
    }

    std::wstring type;
    std::wstring subObject;
};

// The column's kind and property data as one template parameter it drives
// makes them.
void ApplyBinding(CEncapFamilyColumn& column, const XMLNode& parameter) {
    const ObjectOf object(parameter);
    if (object.Is(kUserParameter)) {
        column.SetIsGeometryColumn(true);
    } else if (object.Is(kProperty) || object.Is(kRenderStyle) || object.Is(kDocument)) {
        column.SetColIPropertyData(
            new PropertyData(AttributeText(parameter, L"ObjectReferenceKey"), object.subObject,
                             PropertyData::StringToColPropObjType(object.type)));
    } else if (object.Is(kComponentDefinition)) {
        if (object.SubObjectIs(L"Material")) {
            column.SetColIPropertyData(
                new PropertyData(L"", L"Material", PropertyData::kPartComponentDefinitionObject));
        }
    } else if (object.Is(kFeature)) {
        if (object.SubObjectIs(L"Visible") || object.SubObjectIs(L"Suppressed")) {
            column.SetIsGeometryColumn(true);
        }
    } else if (!object.Is(kModelParameter)) {
        column.SetIsPropertyColumn(true);
    }
}

// The element of the template parameter a reference names; empty when the
// template or the parameter does not exist.
XMLNode ReferencedParameter(const CEncapFamilyMapping& mapping, const ParameterRef& ref) {
    const CEncapFamilyTemplate* owner = mapping.GetFamilyTemplate(ref.templateName);
    const CEncapFamilyTemplateParameter* parameter =
        owner != nullptr && ref.hasId ? owner->GetParameter(ref.parameterId) : nullptr;
    return parameter != nullptr ? parameter->GetXMLNode() : XMLNode();
}

}  // namespace

void CEncapFamilyMapping::InitializeColumnData(CEncapFamilyColumn* column) {
    if (column == nullptr) {
        return;
    }
    for (const ParameterRef& ref : ParameterRefs(ColumnTemplateEntry(column->GetColumnID()))) {
        const XMLNode parameter = ReferencedParameter(*this, ref);
        if (parameter.IsNode()) {
            ApplyBinding(*column, parameter);
        }
    }
}

bool CEncapFamilyMapping::IsPropertyAlreadyUsed(const std::wstring& key,
                                                const std::wstring& subObjectId) const {
    for (const XMLNode& parameter :
         VardelXml::ElementsAtPath(templates_, {"FamilyTemplate", "GeneralizedParameter"})) {
        if (!EqualsNoCase(AttributeText(parameter, L"ObjectReferenceKey"), key) ||
            !EqualsNoCase(AttributeText(parameter, L"SubObjectId"), subObjectId)) {
            continue;
        }
        int id = 0;
        parameter.GetProperty(L"Id", id);
        const std::wstring path = VardelFamily::WhereAttributes(
            L"//ColumnToTemplate/TemplatesParameter/TemplateParameter", L"TemplateName",
            AttributeText(parameter.GetParentNode(), L"Name"), L"ParameterId", std::to_wstring(id));
        XMLNode used;
        return parameterMap_.GetChildNode(path.c_str(), used);
    }
    return false;
}

CEncapFamilyColIPropertyData* CEncapFamilyMapping::GetColIPropertyData(
    const std::wstring& key, const std::wstring& subObjectId,
    CEncapFamilyColIPropertyData::ColPropertyObjectType type) const {
    if ((key.empty() && subObjectId.empty()) || IsPropertyAlreadyUsed(key, subObjectId)) {
        return nullptr;
    }
    return new CEncapFamilyColIPropertyData(key, subObjectId, type);
}

void CEncapFamilyMapping::UpdateColumnMapping(
    CEncapFamilyColumn* column, const std::wstring& key, const std::wstring& subObjectId,
    CEncapFamilyColIPropertyData::ColPropertyObjectType type) {
    if (column == nullptr) {
        return;
    }
    const bool refreshedBefore = column->ChangeInColumnCausesRefresh();
    column->SetColIPropertyData(GetColIPropertyData(key, subObjectId, type));
    UpdateColumnGeometry(column);
    UpdateIPropertyMapping(column);
    std::wstring parameter;
    if (GetColumnCategory(column->GetColumnID(), parameter)) {
        column->UpdateColumnType(parameter);
    }
    CEncapFamilyTable* table = family_ != nullptr ? family_->GetEncapFamilyTable() : nullptr;
    if (table != nullptr && (refreshedBefore || column->ChangeInColumnCausesRefresh())) {
        table->BumpAllMemberRevisions(nullptr);
    }
    ForgetLocalized(column->GetColumnID());
}

void CEncapFamilyMapping::EnsureTemplate() {
    if (templateNames_.empty()) {
        AddFamilyTemplate(L"Template1");
    }
}

void CEncapFamilyMapping::UpdateColumnGeometry(CEncapFamilyColumn* column) {
    EnsureTemplate();
    CEncapMemberColToTemplate* entry = ColumnTemplateEntry(column->GetColumnID());
    const std::vector<ParameterRef> refs = ParameterRefs(entry);
    const bool bound = std::any_of(refs.begin(), refs.end(), [this](const ParameterRef& ref) {
        return ObjectOf(ReferencedParameter(*this, ref)).Is(kUserParameter);
    });
    if (!column->IsGeometryColumn()) {
        if (bound) {
            for (const ParameterRef& ref : refs) {
                ReleaseParameter(ref.element);
            }
            entry->DeleteAllMapping();
        }
        return;
    }
    if (!bound) {
        BindInEveryTemplate(column, column->GetColumnID(), L"",
                            DataTypes::DataTypeNum2Str(column->GetDataType()),
                            column->GetUnitType(), kUserParameter);
    }
}

void CEncapFamilyMapping::UpdateIPropertyMapping(CEncapFamilyColumn* column) {
    EnsureTemplate();
    const CEncapMemberColToTemplate* entry = ColumnTemplateEntry(column->GetColumnID());
    std::set<int> kept;  // the ids of the column's geometry bindings
    for (const ParameterRef& ref : ParameterRefs(entry)) {
        const ObjectOf object(ReferencedParameter(*this, ref));
        if (object.IsHostProperty()) {
            ReleaseParameter(ref.element);
        } else if (object.Is(kUserParameter)) {
            kept.insert(ref.parameterId);
        }
    }
    if (!column->IsOrvPropertyColumn()) {
        for (const ParameterRef& ref : ParameterRefs(entry)) {
            if (!ref.hasId || !kept.contains(ref.parameterId)) {
                ReleaseParameter(ref.element);
            }
        }
        return;
    }
    const CEncapFamilyColIPropertyData* data = column->ColIPropertyData();
    if (data == nullptr) {
        return;
    }
    const bool plain = data->PropObjType() == PropertyData::kPropertyObject;
    const std::wstring& subObject = data->SubObjectId();
    const bool feature =
        EqualsNoCase(subObject, L"Suppressed") || EqualsNoCase(subObject, L"Visible");
    BindInEveryTemplate(column, data->ObjectRefKey(), subObject,
                        plain ? L"string" : DataTypes::DataTypeNum2Str(column->GetDataType()),
                        plain ? L"ul" : column->GetUnitType(),
                        feature ? kFeature : data->PropObjTypeStr());
}

void CEncapFamilyMapping::BindInEveryTemplate(CEncapFamilyColumn* column, const std::wstring& key,
                                              const std::wstring& subObjectId,
                                              const std::wstring& valueType,
                                              const std::wstring& unitType,
                                              const std::wstring& objectType) {
    const std::wstring& columnId = column->GetColumnID();
    CEncapMemberColToTemplate* entry = ColumnTemplateEntry(columnId);
    XMLNode list;
    if (entry == nullptr &&
        parameterMap_.GetChildNode(L"MemberParametersMap/ColumnsToTemplate", list)) {
        const XMLNode element =
            list.AddNode(L"ColumnToTemplate", nullptr, L"TableColumn", columnId.c_str());
        if (element.IsNode()) {
            auto& slot = columnTemplates_[VardelCommon::ToUpper(columnId)];
            slot = std::make_unique<CEncapMemberColToTemplate>(element, this);
            entry = slot.get();
        }
    }
    if (entry == nullptr) {
        return;
    }
    for (const std::wstring& name : templateNames_) {
        CEncapFamilyTemplateParameter* parameter =
            GetFamilyTemplate(name)->AddParameter(key, subObjectId);
        if (parameter == nullptr) {
            continue;
        }
        parameter->SetValueType(valueType);
        parameter->SetUnitType(unitType);
        parameter->SetObjectType(objectType);
        entry->AddMapping(name, parameter->GetId());
    }
}

void CEncapFamilyMapping::ReleaseParameter(XMLNode element) {
    int id = 0;
    if (element.GetProperty(L"ParameterId", id)) {
        UpdateTemplateParameters(AttributeText(element, L"TemplateName"), id);
    }
    element.RemoveThisNode(true);
}

void CEncapFamilyMapping::UpdateTemplateParameters(const std::wstring& templateName,
                                                   int parameterId) {
    CEncapFamilyTemplate* owner = GetFamilyTemplate(templateName);
    if (owner == nullptr) {
        return;
    }
    XMLNodeArray references;
    parameterMap_.SelectChildNodes(
        VardelFamily::WhereAttributes(kTemplateParameterPath, L"TemplateName", templateName,
                                      L"ParameterId", std::to_wstring(parameterId))
            .c_str(),
        references);
    // The element being released is one of the references.
    if (references.GetSize() < 2) {
        owner->DeleteParameter(parameterId);
    } else if (CEncapFamilyTemplateParameter* parameter = owner->GetParameter(parameterId)) {
        parameter->SetUnitType(L"ul");
        parameter->SetValueType(DataTypes::DataTypeNum2Str(DataTypes::String));
    }
}

void CEncapFamilyMapping::RemoveColumnMapping(const std::wstring& columnId) {
    const std::wstring key = VardelCommon::ToUpper(columnId);
    if (const auto found = columnTemplates_.find(key); found != columnTemplates_.end()) {
        for (const ParameterRef& ref : ParameterRefs(found->second.get())) {
            ReleaseParameter(ref.element);
        }
        found->second->RemoveNodeFromXML();
        columnTemplates_.erase(found);
    }
    if (const auto found = columnParams_.find(key); found != columnParams_.end()) {
        found->second->RemoveNodesFromXML();
        columnParams_.erase(found);
    }
    ForgetLocalized(columnId);
}
