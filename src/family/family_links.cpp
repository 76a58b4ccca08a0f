// Links to a source family, status bits, the family's kind, latch points,
// hidden domains, and the operations that the mapping answers.
#include <cstdint>
#include <cwchar>

#include "common/case_fold.h"
#include "family/family_paths.h"
#include "vardel/family.h"
#include "vardel/xml_node_array.h"

using VardelCommon::EqualsNoCase;
using VardelCommon::ToUpper;

namespace {

constexpr const wchar_t* kFeatureCategory = L"9ce1a3c8-5164-4421-8b65-e51b0a387cfc";
constexpr const wchar_t* kPartCategory = L"c0e0b642-3bcb-4cc8-9e80-f96d35c4afa4";
// The one hidden category that stays in every family.
constexpr const wchar_t* kKeptHiddenCategory = L"23b78d0f-2648-40c6-8793-ca6db495c9e8";
constexpr const wchar_t* kSourceRevisionColumn = L"SOURCE_MEMBER_REVISION";

// The leading hexadecimal number of the text; 0 when there is none.
std::uint32_t ParseHex(const std::wstring& text) {
    return static_cast<std::uint32_t>(std::wcstoul(text.c_str(), nullptr, 16));
}

// Upper-case hexadecimal without leading zeros ("0" for zero).
std::wstring FormatHex(std::uint32_t value) {
    std::wstring digits;
    do {
        digits.insert(digits.begin(), L"0123456789ABCDEF"[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    return digits;
}

}  // namespace

// Links to a source family.

bool CEncapFamily::IsSrcActive() const {
    std::wstring active;
    return !Root().GetProperty(L"SrcActive", active) || !EqualsNoCase(active, L"false");
}

bool CEncapFamily::IsLinked() const {
    std::wstring source;
    return Root().GetProperty(L"FromSource", source);
}

void CEncapFamily::SetLink(CEncapFamily* source, bool sourceActive) {
    if (source == nullptr || source->IsLinked()) {
        return;
    }
    if (table_ == nullptr || table_->GetFamilyColumnByID(kSourceRevisionColumn) == nullptr) {
        CEncapFamilyTable* sourceTable = source->GetEncapFamilyTable();
        CEncapFamilyColumn* sourceColumn =
            sourceTable != nullptr ? sourceTable->GetFamilyColumnByID(L"MEMBER_REVISION") : nullptr;
        CEncapFamilyColumn* column = sourceColumn != nullptr && table_ != nullptr
                                         ? table_->CreateSourceMemberRevisionColumn()
                                         : nullptr;
        if (column == nullptr) {
            return;
        }
        const std::vector<std::wstring> rowIds = table_->GetAllRowIDs();
        for (const std::wstring& rowId : rowIds) {
            std::wstring revision;
            if (sourceColumn->GetValue(rowId, revision) != CTableEvaluator::Success) {
                return;
            }
            column->SetValue(rowId, revision, false);
        }
    }
    std::wstring library;
    std::wstring moniker;
    source->GetLibInterName(library);
    source->GetInternalName(moniker);
    SetRootAttribute(L"FromSource", library);
    SetRootAttribute(L"SourceMoniker", moniker);
    Root().SetProperty(L"SrcActive", sourceActive);
}

void CEncapFamily::ClearLink() {
    XMLNode root = Root();
    root.RemoveProperty(L"SourceMoniker");
    root.RemoveProperty(L"FromSource");
    root.RemoveProperty(L"SrcActive");
    if (table_ != nullptr) {
        const int index = table_->GetFamilyColumnIndexByID(kSourceRevisionColumn);
        if (index >= 0) {
            table_->DeleteColumn(index);
        }
    }
}

// Status bits and kinds.

bool CEncapFamily::IsSickFamilyTable() const {
    std::wstring health;
    GetHealthStatus(health);
    return !health.empty() && (ParseHex(health) & 2) != 0;
}

void CEncapFamily::UpdateEditStatus(std::uint32_t bits) {
    std::wstring status;
    GetEditStatus(status);
    SetRootAttribute(L"EditStatus", FormatHex(ParseHex(status) | bits));
}

bool CEncapFamily::IsCustom() const {
    return table_ != nullptr && table_->HasCustomColumns();
}

bool CEncapFamily::IsFeature() const {
    std::wstring category;
    return Root().GetProperty(L"DataTypeCategory", category) && category == kFeatureCategory;
}

bool CEncapFamily::IsPart() const {
    std::wstring category;
    return Root().GetProperty(L"DataTypeCategory", category) && category == kPartCategory;
}

bool CEncapFamily::HasLatchpoints() const {
    XMLNode latchpoint;
    return Root().GetChildNode(
        L"FamilyTemplates/FamilyTemplate/"
        L"GeneralizedParameter[@ObjectType=\"kLatchpointDefinitionObject\"]",
        latchpoint);
}

// Hidden domains: hidden categories other than the kept one leave the
// document, and with them what the mapping holds for their parameters.
void CEncapFamily::RemoveUnnecessaryHiddenDomains() {
    XMLNode categories;
    if (!Root().GetChildNode(L"Categories", categories)) {
        return;
    }
    XMLNodeArray list;
    categories.GetChildNodes(L"Category", list);
    for (int i = 0; i < list.GetSize(); ++i) {
        bool hidden = false;
        std::wstring name;
        list[i].GetProperty(L"Hidden", hidden);
        list[i].GetProperty(L"InternalName", name);
        if (!hidden || EqualsNoCase(name, kKeptHiddenCategory)) {
            continue;
        }
        XMLNodeArray parameters;
        list[i].GetChildNodes(L"CategoryParameter", parameters);
        for (int p = 0; p < parameters.GetSize(); ++p) {
            std::wstring parameterId;
            if (parameters[p].GetProperty(L"InternalName", parameterId)) {
                RemoveHiddenParameter(parameterId);
            }
        }
        list[i].RemoveThisNode(true);
    }
}

// The parameter's column goes with it when it is hidden, not RID and no
// formula refers to it; any other column merely loses the parameter.
void CEncapFamily::RemoveHiddenParameter(const std::wstring& parameterId) {
    if (mapping_ == nullptr) {
        return;
    }
    // The column handed out for the parameter no longer stands for it.
    parameterColumns_.erase(ToUpper(parameterId));
    std::wstring columnId;
    if (!mapping_->GetCategoryParamColumn(parameterId, columnId)) {
        mapping_->RemoveParamToConstantMapping(parameterId);
        return;
    }
    CEncapFamilyColumn* column =
        table_ != nullptr ? table_->GetFamilyColumnByID(columnId) : nullptr;
    if (column != nullptr && column->IsHidden() && !EqualsNoCase(columnId, L"RID") &&
        !column->IsReferencedByOther()) {
        table_->DeleteColumn(table_->GetFamilyColumnIndexByID(columnId));
    } else {
        mapping_->RemoveParamToColumnMapping(parameterId);
    }
}

// Operations that the mapping answers; a family without mapping has no
// column categories, templates or column mappings.

bool CEncapFamily::GetColumnCategory(const std::wstring& columnId,
                                     std::wstring& parameterId) const {
    return mapping_ != nullptr && mapping_->GetColumnCategory(columnId, parameterId);
}

bool CEncapFamily::IsFamilyColumnLocalized(const std::wstring& columnId) const {
    return mapping_ != nullptr && mapping_->IsFamilyColumnLocalized(columnId);
}

bool CEncapFamily::IsColumnLocalized(const CEncapFamilyColumn& column) const {
    return mapping_ != nullptr && mapping_->IsFamilyColumnLocalized(column.GetColumnID(), &column);
}

void CEncapFamily::GetTemplateFileName(std::wstring& fileName) const {
    if (mapping_ != nullptr) {
        mapping_->GetTemplateFileName(fileName);
    }
}

CEncapFamilyTemplate* CEncapFamily::GetFamilyTemplateByRow(const std::wstring& rowId) const {
    return mapping_ != nullptr ? mapping_->GetFamilyTempldateByRow(rowId) : nullptr;
}

void CEncapFamily::InitializeColumnData(CEncapFamilyColumn* column) {
    if (mapping_ != nullptr) {
        mapping_->InitializeColumnData(column);
    }
}

void CEncapFamily::RemoveAllColumnMapping(CEncapFamilyColumn* column) {
    std::erase_if(parameterColumns_,
                  [column](const auto& entry) { return entry.second == column; });
    if (mapping_ != nullptr && column != nullptr) {
        mapping_->RemoveColumnMapping(column->GetColumnID());
    }
}

void CEncapFamily::GetTemplateFileNameByRow(const std::wstring& rowId,
                                            std::wstring& fileName) const {
    fileName.clear();
    if (mapping_ == nullptr) {
        return;
    }
    const std::wstring name = rowId.empty() || mapping_->IsSingleTemplate() || table_ == nullptr
                                  ? std::wstring()
                                  : mapping_->RowTemplateName(rowId);
    if (name.empty()) {
        mapping_->GetTemplateFileName(fileName);
    } else {
        mapping_->GetTemplateFileNameByName(name, fileName);
    }
}
