// Family properties: root attributes, properties mirrored in the constants
// of well-known category parameters, the FamilyPropType table, category
// constants, template-parameter values, the column of a category parameter
// and the category id.
#include <array>

#include "common/case_fold.h"
#include "family/family_paths.h"
#include "vardel/family.h"

using VardelCommon::ToUpper;
using VardelFamily::AttributeIs;
using VardelFamily::TextOf;
using VardelFamily::Where;
using VardelFamily::WhereAttributes;

namespace {

// Category parameters whose constants mirror family properties.
constexpr const wchar_t* kInternalNameId = L"cf1d0246-76d9-4b4a-8305-fa0409afb5c1";
constexpr const wchar_t* kDisplayNameId = L"05415f3d-3907-474b-a020-eb9d644f4cf3";
constexpr const wchar_t* kDescriptionId = L"13903e3d-64b1-4950-80da-f627842ea37f";
constexpr const wchar_t* kManufacturerId = L"cd6c7a72-a28a-4e50-99a9-2c7f4e13e5ad";
constexpr const wchar_t* kStandardsOrgId = L"8f5914e1-4693-403f-8ab5-d37768198c9d";
constexpr const wchar_t* kStandardId = L"0c0a119c-1e12-4c84-803f-101930972f5e";
constexpr const wchar_t* kFolderNameId = L"3f06958e-8713-4116-9be7-ed6184ecc97b";
constexpr const wchar_t* kFamilyRevisionId = L"914462f6-6e19-4b14-ba84-155b9680b1d0";
constexpr const wchar_t* kStandardRevisionId = L"91d5a463-65c2-4fde-b823-3b7fea5e8e17";

// The "ParamTemplateValue" of a category parameter, below "ParamsToTemplate".
std::wstring CategoryValuePath(const std::wstring& parameterId) {
    std::wstring test = L"CategoryParameterRef/";
    test += AttributeIs(L"CategoryParameter", parameterId);
    return Where(L"ParamTemplateValue", test);
}

// The "ParamTemplateValue" of a template parameter, below "ParamsToTemplate".
std::wstring TemplateValuePath(const std::wstring& templateName, const std::wstring& parameterId) {
    return Where(L"ParamTemplateValue",
                 WhereAttributes(L"TemplatesParameter/TemplateParameter", L"ParameterId",
                                 parameterId, L"TemplateName", templateName));
}

// One row of the FamilyPropType table.
struct FamilyProperty {
    void (CEncapFamily::*get)(std::wstring&) const;
    void (CEncapFamily::*set)(const wchar_t*);  // null: not settable
    bool bumpsRevisions;
};

const std::array<FamilyProperty, 12> kFamilyProperties = {{
    {&CEncapFamily::GetDisplayName, &CEncapFamily::SetDisplayName, true},
    {&CEncapFamily::GetDescription, &CEncapFamily::SetDescription, true},
    {&CEncapFamily::GetStandard, &CEncapFamily::SetStandard, true},
    {&CEncapFamily::GetStandardOrg, &CEncapFamily::SetStandardOrg, true},
    {&CEncapFamily::GetManufacturer, &CEncapFamily::SetManufacturer, true},
    {&CEncapFamily::GetStandardRevision, &CEncapFamily::SetStandardRevision, true},
    {&CEncapFamily::GetFamilyRevision, &CEncapFamily::SetFamilyRevision, false},
    {&CEncapFamily::GetFolderName, &CEncapFamily::SetFolderName, true},
    {&CEncapFamily::GetRevisionID, &CEncapFamily::SetRevisionID, false},
    {&CEncapFamily::GetInternalName, nullptr, false},
    {&CEncapFamily::GetLibInterName, nullptr, false},
    {&CEncapFamily::GetThumbnailPath, &CEncapFamily::SetThumbnailPath, false},
}};

const FamilyProperty* FindFamilyProperty(FamilyPropType type) {
    const auto index = static_cast<std::size_t>(type);
    return type >= 0 && index < kFamilyProperties.size() ? &kFamilyProperties[index] : nullptr;
}

}  // namespace

// Root attributes.

void CEncapFamily::GetInternalName(std::wstring& value) const {
    GetRootAttribute(L"InternalName", value);
}

void CEncapFamily::SetInternalName(const wchar_t* value) {
    SetMirroredConstant(L"InternalName", kInternalNameId, value);
    RemoveUnnecessaryHiddenDomains();
}

void CEncapFamily::GetRevisionID(std::wstring& value) const {
    GetRootAttribute(L"RevisionId", value);
}

void CEncapFamily::SetRevisionID(const wchar_t* value) {
    SetRootAttribute(L"RevisionId", TextOf(value));
}

void CEncapFamily::GetLibInterName(std::wstring& value) const {
    GetRootAttribute(L"Library", value);
}

void CEncapFamily::SetLibInterName(const std::wstring& value) {
    SetRootAttribute(L"Library", value);
}

void CEncapFamily::GetHealthStatus(std::wstring& value) const {
    GetRootAttribute(L"HealthStatus", value);
}

void CEncapFamily::SetHealthStatus(const wchar_t* value) {
    SetRootAttribute(L"HealthStatus", TextOf(value));
}

void CEncapFamily::GetEditStatus(std::wstring& value) const {
    GetRootAttribute(L"EditStatus", value);
}

void CEncapFamily::GetCopyFrom(std::wstring& value) const {
    GetRootAttribute(L"FromSource", value);
}

void CEncapFamily::SetCopyFrom(const wchar_t* value) {
    SetRootAttribute(L"FromSource", TextOf(value));
}

void CEncapFamily::GetSourceMoniker(std::wstring& value) const {
    GetRootAttribute(L"SourceMoniker", value);
}

void CEncapFamily::GetLastModTime(std::wstring& value) const {
    GetRootAttribute(L"LastModifiedTime", value);
}

void CEncapFamily::GetParenLibName(std::wstring& value) const {
    GetRootAttribute(L"ParentLibraryName", value);
}

void CEncapFamily::GetParentFamilyName(std::wstring& value) const {
    GetRootAttribute(L"ParentFamilyName", value);
}

void CEncapFamily::GetThumbnailPath(std::wstring& value) const {
    XMLNode file;
    std::wstring path;
    if (Root().GetChildNode(L"Thumbnail/File", file) && file.GetProperty(L"FullFileName", path)) {
        value = std::move(path);
    }
}

void CEncapFamily::SetThumbnailPath(const wchar_t* value) {
    XMLNode root = Root();
    if (!root.IsNode()) {
        return;
    }
    root.GetOrAddNode(L"Thumbnail")
        .GetOrAddNode(L"File")
        .SetProperty(L"FullFileName", TextOf(value));
    UpdateEditStatus(1);
}

// Properties mirrored in category constants.

void CEncapFamily::GetMirroredText(const wchar_t* name, const wchar_t* parameterId,
                                   std::wstring& value) const {
    std::wstring text;
    bool found = GetLocalizedRootText(name, text);
    if (text.empty()) {
        found = GetCatParamConstValue(parameterId, text) || found;
    }
    if (text.empty()) {
        std::wstring attribute;
        if (Root().GetProperty(name, attribute)) {
            text = std::move(attribute);
            found = true;
        }
    }
    if (found) {
        value = std::move(text);
    }
}

void CEncapFamily::SetMirroredConstant(const wchar_t* name, const wchar_t* parameterId,
                                       const wchar_t* value) {
    const std::wstring text = TextOf(value);
    SetRootAttribute(name, text);
    SetCatParamConstValue(parameterId, text);
}

void CEncapFamily::GetDisplayName(std::wstring& value) const {
    GetMirroredText(L"DisplayName", kDisplayNameId, value);
}

void CEncapFamily::SetDisplayName(const wchar_t* value) {
    SetMirroredConstant(L"DisplayName", kDisplayNameId, value);
    SetLocalizedRootTexts(L"DisplayName", TextOf(value));
}

void CEncapFamily::GetDescription(std::wstring& value) const {
    GetMirroredText(L"Description", kDescriptionId, value);
}

void CEncapFamily::SetDescription(const wchar_t* value) {
    SetMirroredConstant(L"Description", kDescriptionId, value);
    SetLocalizedRootTexts(L"Description", TextOf(value));
}

void CEncapFamily::GetManufacturer(std::wstring& value) const {
    GetCatParamConstValue(kManufacturerId, value);
}

void CEncapFamily::SetManufacturer(const wchar_t* value) {
    SetMirroredConstant(L"Manufacturer", kManufacturerId, value);
}

void CEncapFamily::GetStandardOrg(std::wstring& value) const {
    GetCatParamConstValue(kStandardsOrgId, value);
}

void CEncapFamily::SetStandardOrg(const wchar_t* value) {
    SetMirroredConstant(L"StandardsOrg", kStandardsOrgId, value);
}

void CEncapFamily::GetStandard(std::wstring& value) const {
    GetCatParamConstValue(kStandardId, value);
}

void CEncapFamily::SetStandard(const wchar_t* value) {
    SetMirroredConstant(L"Standard", kStandardId, value);
}

void CEncapFamily::GetFolderName(std::wstring& value) const {
    GetCatParamConstValue(kFolderNameId, value);
}

void CEncapFamily::SetFolderName(const wchar_t* value) {
    SetMirroredConstant(L"FolderName", kFolderNameId, value);
}

void CEncapFamily::GetFamilyRevision(std::wstring& value) const {
    GetCatParamConstValue(kFamilyRevisionId, value);
}

void CEncapFamily::SetFamilyRevision(const wchar_t* value) {
    SetCatParamConstValue(kFamilyRevisionId, TextOf(value));
}

void CEncapFamily::GetStandardRevision(std::wstring& value) const {
    GetCatParamConstValue(kStandardRevisionId, value);
}

void CEncapFamily::SetStandardRevision(const wchar_t* value) {
    SetCatParamConstValue(kStandardRevisionId, TextOf(value));
}

bool CEncapFamily::GetFamilyProperty(FamilyPropType type, std::wstring& value) const {
    const FamilyProperty* property = FindFamilyProperty(type);
    if (property == nullptr) {
        return false;
    }
    (this->*property->get)(value);
    return true;
}

bool CEncapFamily::SetFamilyProperty(FamilyPropType type, const wchar_t* value) {
    const FamilyProperty* property = FindFamilyProperty(type);
    if (property == nullptr || property->set == nullptr) {
        return false;
    }
    (this->*property->set)(value);
    if (property->bumpsRevisions) {
        BumpAllMemberRevisions();
    }
    return true;
}

// Category constants and template parameters.

XMLNode CEncapFamily::ParamsToTemplate() const {
    XMLNode node;
    Root().GetChildNode(L"ParameterMap/FamilyParametersMap/ParamsToTemplate", node);
    return node;
}

bool CEncapFamily::GetCatParamConstValue(const std::wstring& parameterId,
                                         std::wstring& value) const {
    std::wstring text;
    XMLNode entry;
    bool found = ParamsToTemplate().GetChildNode(CategoryValuePath(parameterId).c_str(), entry);
    if (found) {
        entry.GetProperty(L"ConstantValue", text);
    }
    if (IsCatParamLocalized(parameterId) && GetLocalizedCatParamConstValue(parameterId, text)) {
        found = true;
    }
    if (found) {
        value = std::move(text);
    }
    return found;
}

void CEncapFamily::SetCatParamConstValue(const std::wstring& parameterId,
                                         const std::wstring& value) {
    XMLNode values = ParamsToTemplate();
    XMLNode entry;
    if (values.GetChildNode(CategoryValuePath(parameterId).c_str(), entry)) {
        entry.SetProperty(L"ConstantValue", value);
        // A constant that also drives a template parameter changes the members.
        XMLNode templateParameter;
        if (entry.GetChildNode(L"TemplatesParameter/TemplateParameter", templateParameter)) {
            BumpAllMemberRevisions();
        }
    } else if (values.IsNode()) {
        values.AddNode(L"ParamTemplateValue", nullptr, L"ConstantValue", value.c_str())
            .AddNode(L"CategoryParameterRef", nullptr, L"CategoryParameter", parameterId.c_str());
    }
    if (IsCatParamLocalized(parameterId)) {
        SetLocalizedCatParamConstValue(parameterId, value);
    }
}

bool CEncapFamily::IsCatParamLocalized(const std::wstring& parameterId) const {
    const auto found = categoryParameters_.find(ToUpper(parameterId));
    bool localized = false;
    return found != categoryParameters_.end() &&
           found->second.GetStrBoolProperty(L"ValueLocalized", localized) && localized;
}

bool CEncapFamily::GetTemplateParameterValue(const std::wstring& templateName,
                                             const std::wstring& parameterId,
                                             std::wstring& value) const {
    XMLNode entry;
    if (!ParamsToTemplate().GetChildNode(TemplateValuePath(templateName, parameterId).c_str(),
                                         entry)) {
        return false;
    }
    std::wstring text;
    entry.GetProperty(L"ConstantValue", text);
    value = std::move(text);
    return true;
}

long CEncapFamily::SetTemplateParameterValue(const std::wstring& templateName,
                                             const std::wstring& parameterId,
                                             const std::wstring& value) {
    XMLNode entry;
    if (!ParamsToTemplate().GetChildNode(TemplateValuePath(templateName, parameterId).c_str(),
                                         entry)) {
        return 1;
    }
    entry.SetProperty(L"ConstantValue", value);
    BumpAllMemberRevisions();
    return 0;
}

CEncapFamilyColumn* CEncapFamily::GetCategoryParamColumn(const std::wstring& parameterId) {
    const std::wstring key = ToUpper(parameterId);
    if (const auto cached = parameterColumns_.find(key); cached != parameterColumns_.end()) {
        return cached->second;
    }
    std::wstring columnId;
    CEncapFamilyColumn* column = nullptr;
    if (mapping_ != nullptr && table_ != nullptr &&
        mapping_->GetCategoryParamColumn(parameterId, columnId)) {
        column = table_->GetFamilyColumnByID(columnId);
    }
    // A parameter that no table column stands for still reads as a column
    // of its constant.
    std::wstring constant;
    if (column == nullptr && GetCatParamConstValue(parameterId, constant)) {
        constantColumns_.push_back(
            std::make_unique<CEncapConstFamilyColumn>(parameterId, constant, table_.get()));
        column = constantColumns_.back().get();
    }
    if (column != nullptr) {
        parameterColumns_.emplace(key, column);
    }
    return column;
}

void CEncapFamily::GetCategoryID(std::wstring& value) const {
    XMLNode category;
    if (!Root().GetChildNode(L"Categories/Category[@Hidden=\"false\"]", category)) {
        return;
    }
    for (XMLNode child; category.GetChildNode(L"Category", child);) {
        category = child;
    }
    std::wstring id;
    if (category.GetProperty(L"InternalName", id)) {
        value = std::move(id);
    }
}
