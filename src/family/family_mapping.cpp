// CEncapFamilyMapping: loading, the templates, the category parameters of
// columns, localised columns and the removal of parameter mappings. The
// binding of columns to template parameters is in family_mapping_bindings.
#include <algorithm>

#include "common/case_fold.h"
#include "family/family_paths.h"
#include "family/mapping_nodes.h"
#include "vardel/family.h"
#include "vardel/family_mapping.h"
#include "vardel/family_template.h"
#include "vardel/xml_node_array.h"
#include "xml/element_scan.h"
#include "xml/xpath_literal.h"

using VardelCommon::EqualsNoCase;
using VardelCommon::ToUpper;
using VardelFamily::AttributeText;
using VardelFamily::Where;

namespace {

// The elements `path` selects below `base` whose attribute `reference` (a
// path relative to them, such as "Ref/@Name") equals `id`; when none does,
// those where it equals `id` ignoring case.
XMLNodeArray SelectByReference(const XMLNode& base, const std::wstring& path,
                               const std::wstring& reference, const std::wstring& id) {
    std::wstring exact = reference;
    exact += L" = ";
    exact += VardelXml::XPathLiteral(id);
    XMLNodeArray selected;
    base.SelectChildNodes(Where(path, exact).c_str(), selected);
    if (selected.IsEmpty()) {
        std::wstring noCase = L"ms:string-compare(";
        noCase += reference;
        noCase += L", ";
        noCase += VardelXml::XPathLiteral(id);
        noCase += L", '', 'i') = 0";
        base.SelectChildNodes(Where(path, noCase).c_str(), selected);
    }
    return selected;
}

}  // namespace

CEncapFamilyMapping::CEncapFamilyMapping(const XMLNode& templates, const XMLNode& parameterMap,
                                         CEncapFamily* family)
    : templates_(templates), parameterMap_(parameterMap), family_(family) {
    InitializeData();
}

CEncapFamilyMapping::~CEncapFamilyMapping() {
    ClearData();
}

void CEncapFamilyMapping::ClearData() {
    templatesByName_.clear();
    templateNames_.clear();
    columnTemplates_.clear();
    columnParams_.clear();
    localizedColumns_.clear();
    parameterAnswers_.clear();
}

// An element repeating the name of an earlier template (ignoring case), or
// the column of an earlier "ColumnToTemplate", replaces it in the lookups;
// every template name is listed.
void CEncapFamilyMapping::InitializeData() {
    ClearData();
    for (const XMLNode& element : VardelXml::ElementsAtPath(templates_, {"FamilyTemplate"})) {
        std::wstring name;
        if (!element.GetProperty(L"Name", name)) {
            continue;
        }
        templatesByName_.insert_or_assign(ToUpper(name),
                                          std::make_unique<CEncapFamilyTemplate>(element, this));
        templateNames_.push_back(std::move(name));
    }
    for (const XMLNode& element : VardelXml::ElementsAtPath(
             parameterMap_, {"MemberParametersMap", "ColumnsToTemplate", "ColumnToTemplate"})) {
        std::wstring column;
        if (element.GetProperty(L"TableColumn", column)) {
            columnTemplates_.insert_or_assign(
                ToUpper(column), std::make_unique<CEncapMemberColToTemplate>(element, this));
        }
    }
    for (XMLNode element : VardelXml::ElementsAtPath(
             parameterMap_, {"MemberParametersMap", "ParamsToColumn", "ParamToColumn"})) {
        std::wstring column;
        if (!element.GetProperty(L"TableColumn", column)) {
            continue;
        }
        auto [slot, added] = columnParams_.try_emplace(ToUpper(column));
        if (added) {
            slot->second = std::make_unique<CEncapMemberColToParam>(element, this);
        } else {
            slot->second->AddCategoryParam(element);
        }
    }
}

std::vector<const CEncapMemberColToParam*> CEncapFamilyMapping::GetColumnParamEntries() const {
    std::vector<const CEncapMemberColToParam*> entries;
    entries.reserve(columnParams_.size());
    for (const auto& [column, entry] : columnParams_) {
        entries.push_back(entry.get());
    }
    return entries;
}

// Templates.

bool CEncapFamilyMapping::IsSingleTemplate() const {
    return templateNames_.size() == 1;
}

CEncapFamilyTemplate* CEncapFamilyMapping::GetFamilyTemplate(const std::wstring& name) const {
    const auto found = templatesByName_.find(ToUpper(name));
    return found != templatesByName_.end() ? found->second.get() : nullptr;
}

CEncapFamilyTemplate* CEncapFamilyMapping::AddFamilyTemplate(const std::wstring& name) {
    if (name.empty()) {
        return nullptr;
    }
    if (CEncapFamilyTemplate* existing = GetFamilyTemplate(name)) {
        return existing;
    }
    const XMLNode element = templates_.AddNode(L"FamilyTemplate", nullptr, L"Name", name.c_str());
    if (!element.IsNode()) {
        return nullptr;
    }
    auto& slot = templatesByName_[ToUpper(name)];
    slot = std::make_unique<CEncapFamilyTemplate>(element, this);
    templateNames_.push_back(name);
    return slot.get();
}

void CEncapFamilyMapping::GetTemplateFileName(std::wstring& fileName) const {
    if (!templateNames_.empty()) {
        GetTemplateFileNameByName(templateNames_.front(), fileName);
    }
}

void CEncapFamilyMapping::GetTemplateFileNameByName(const std::wstring& name,
                                                    std::wstring& fileName) const {
    if (const CEncapFamilyTemplate* found = GetFamilyTemplate(name)) {
        found->GetFileName(fileName);
    }
}

std::wstring CEncapFamilyMapping::RowTemplateName(const std::wstring& rowId) const {
    const CEncapFamilyTable* table = family_ != nullptr ? family_->GetEncapFamilyTable() : nullptr;
    CEncapFamilyColumn* column =
        table != nullptr ? table->GetFamilyColumnByID(L"TEMPLATE") : nullptr;
    std::wstring name;
    if (column != nullptr && column->IsTemplateSpecifierColumn()) {
        const CTableEvaluator::EvaluateResult result = column->GetValue(rowId, name);
        if (result != CTableEvaluator::Success && result != CTableEvaluator::UnitsStripped) {
            name.clear();
        }
    }
    return name;
}

CEncapFamilyTemplate* CEncapFamilyMapping::GetFamilyTempldateByRow(
    const std::wstring& rowId) const {
    if (rowId.empty() || IsSingleTemplate()) {
        return templateNames_.empty() ? nullptr : GetFamilyTemplate(templateNames_.front());
    }
    const std::wstring name = RowTemplateName(rowId);
    return name.empty() ? nullptr : GetFamilyTemplate(name);
}

// Category parameters of columns.

CEncapMemberColToTemplate* CEncapFamilyMapping::ColumnTemplateEntry(
    const std::wstring& columnId) const {
    const auto found = columnTemplates_.find(ToUpper(columnId));
    return found != columnTemplates_.end() ? found->second.get() : nullptr;
}

CEncapMemberColToParam* CEncapFamilyMapping::ColumnParamEntry(const std::wstring& columnId) const {
    const auto found = columnParams_.find(ToUpper(columnId));
    return found != columnParams_.end() ? found->second.get() : nullptr;
}

bool CEncapFamilyMapping::GetCategoryParamColumn(const std::wstring& parameterId,
                                                 std::wstring& columnId) const {
    const XMLNodeArray found =
        SelectByReference(parameterMap_, L"MemberParametersMap/ParamsToColumn/ParamToColumn",
                          L"CategoryParameterRef/@CategoryParameter", parameterId);
    return !found.IsEmpty() && found[0].GetProperty(L"TableColumn", columnId);
}

bool CEncapFamilyMapping::GetColumnCategory(const std::wstring& columnId,
                                            std::wstring& parameterId) const {
    // The column's entry holds its elements in document order, so no query
    // runs for the table load's one question per column.
    const CEncapMemberColToParam* entry = ColumnParamEntry(columnId);
    std::vector<std::wstring> parameters;
    if (entry == nullptr || !entry->GetCategoryParams(parameters)) {
        return false;
    }
    parameterId = parameters.front();
    return true;
}

bool CEncapFamilyMapping::AddParamToColumnMapping(CEncapFamilyColumn* column,
                                                  const std::wstring& category,
                                                  const std::wstring& parameterId) {
    if (column == nullptr) {
        return false;
    }
    const std::wstring& columnId = column->GetColumnID();
    CEncapMemberColToParam* entry = ColumnParamEntry(columnId);
    if (entry != nullptr && entry->IsMappedForCatParam(parameterId)) {
        return true;
    }
    XMLNode element = parameterMap_.GetOrAddNode(L"MemberParametersMap")
                          .GetOrAddNode(L"ParamsToColumn")
                          .AddNode(L"ParamToColumn", nullptr, L"TableColumn", columnId.c_str());
    XMLNode reference =
        element.AddNode(L"CategoryParameterRef", nullptr, L"Category", category.c_str());
    if (!reference.SetProperty(L"CategoryParameter", parameterId)) {
        element.RemoveThisNode(true);
        return false;
    }
    if (entry != nullptr) {
        entry->AddCategoryParam(element);
    } else {
        columnParams_.emplace(ToUpper(columnId),
                              std::make_unique<CEncapMemberColToParam>(element, this));
    }
    ForgetLocalized(columnId);
    return true;
}

bool CEncapFamilyMapping::RemoveParamToColumnMapping(const std::wstring& parameterId) {
    std::wstring columnId;
    if (!GetCategoryParamColumn(parameterId, columnId)) {
        return false;
    }
    const auto found = columnParams_.find(ToUpper(columnId));
    if (found != columnParams_.end()) {
        found->second->RemoveCategoryParam(parameterId);
        if (found->second->ParamCount() == 0) {
            columnParams_.erase(found);
        }
    }
    ForgetLocalized(columnId);
    return true;
}

bool CEncapFamilyMapping::RemoveParamToConstantMapping(const std::wstring& parameterId) {
    XMLNodeArray found =
        SelectByReference(parameterMap_, L"FamilyParametersMap/ParamsToTemplate/ParamTemplateValue",
                          L"CategoryParameterRef/@CategoryParameter", parameterId);
    for (int i = 0; i < found.GetSize(); ++i) {
        found[i].RemoveThisNode(true);
    }
    return true;
}

// Localised columns.

bool CEncapFamilyMapping::IsFamilyColumnLocalized(const std::wstring& columnId,
                                                  const CEncapFamilyColumn* asking) const {
    if (localizedColumns_.contains(columnId)) {
        return true;
    }
    if (const std::optional<bool> localized = ParameterLocalized(columnId)) {
        return *localized;
    }
    if (!IsVisibleTextColumn(columnId, asking)) {
        return false;
    }
    localizedColumns_.emplace(columnId, true);
    return true;
}

std::optional<bool> CEncapFamilyMapping::ParameterLocalized(const std::wstring& columnId) const {
    if (const auto known = parameterAnswers_.find(columnId); known != parameterAnswers_.end()) {
        return known->second;
    }
    std::optional<bool> localized;
    std::vector<std::wstring> parameters;
    const auto entry = columnParams_.find(ToUpper(columnId));
    if (entry != columnParams_.end() && entry->second->GetCategoryParams(parameters)) {
        localized = family_ != nullptr && std::any_of(parameters.begin(), parameters.end(),
                                                      [this](const std::wstring& id) {
                                                          return family_->IsCatParamLocalized(id);
                                                      });
    }
    parameterAnswers_.emplace(columnId, localized);
    return localized;
}

bool CEncapFamilyMapping::IsVisibleTextColumn(const std::wstring& columnId,
                                              const CEncapFamilyColumn* asking) const {
    if (family_ == nullptr) {
        return false;
    }
    // Cells ask this one by one: the table's column of that exact id gives
    // its element without a query over all columns, and its fields (which
    // mirror the attributes) rule out hidden and non-text columns at once.
    // While the table is being built, a column asking for itself is the
    // table's column of its id.
    const CEncapFamilyTable* table = family_->GetEncapFamilyTable();
    const CEncapFamilyColumn* column =
        table != nullptr ? table->GetFamilyColumnByID(columnId) : asking;
    XMLNode element;
    if (column != nullptr && column->GetColumnID() == columnId) {
        if (column->IsHidden() || column->GetDataType() != DataTypes::String) {
            return false;
        }
        element = column->GetXMLNode();
    } else {
        // The first visible column element of that exact id, found by a walk:
        // ids in another case and unknown ids come here for every cell.
        const std::vector<XMLNode> columns =
            VardelXml::ElementsAtPath(VardelFamily::DocumentElement(family_->GetFamilyXML()),
                                      {"FamilyTable", "Columns", "Column"});
        const auto found = std::find_if(columns.begin(), columns.end(), [&](const XMLNode& c) {
            return AttributeText(c, L"ColumnId") == columnId &&
                   AttributeText(c, L"Hidden") == L"false";
        });
        element = found != columns.end() ? *found : XMLNode();
    }
    return AttributeText(element, L"Hidden") == L"false" &&
           EqualsNoCase(AttributeText(element, L"ValueType"), L"string");
}

void CEncapFamilyMapping::ForgetLocalized(const std::wstring& columnId) {
    localizedColumns_.erase(columnId);
    parameterAnswers_.clear();
}
