// CEncapFamilyRow: one "Row" element. Its cells are found through a list of
// the row's cells by column id (exact id first, then ignoring case), kept
// until a cell is added or removed or a cell's column id changes: a table
// read one column after another, or written row after row, would otherwise
// walk each row's elements again for every cell.
#include "vardel/family_table.h"

#include <algorithm>

#include "common/case_fold.h"
#include "eval/value_store.h"
#include "vardel/family.h"
#include "xml/element_scan.h"

CEncapFamilyRow::CEncapFamilyRow(const XMLNode& node, CEncapFamilyTable* table)
    : node_(node), table_(table) {
    if (table_ == nullptr || table_->GetStatusColIDStr().empty())
        return;
    std::wstring status;
    GetRawValue(table_->GetStatusColIDStr(), status);
    suppressed_ = VardelCommon::EqualsNoCase(status, L"Suppressed");
}

CEncapFamilyRow::~CEncapFamilyRow() = default;

std::wstring CEncapFamilyRow::GetRowID() const {
    std::wstring id;
    node_.GetProperty(L"RowId", id);
    return id;
}

void CEncapFamilyRow::SetRowID(const std::wstring& id) {
    node_.SetProperty(L"RowId", id);
}

CEncapFamilyRow::EvaluateResult CEncapFamilyRow::GetValue(const std::wstring& columnId,
                                                          std::wstring& value) {
    if (table_ == nullptr) {
        value.clear();
        return CTableEvaluator::ProviderFailure;
    }
    return table_->GetValue(GetRowID(), columnId, value);
}

void CEncapFamilyRow::SetValue(const std::wstring& columnId, const std::wstring& value,
                               bool invalidate) {
    if (table_ != nullptr)
        table_->SetValue(GetRowID(), columnId, value, invalidate);
}

bool CEncapFamilyRow::HasRawValue(const std::wstring& columnId) const {
    return GetCellNode(columnId).IsNode();
}

long CEncapFamilyRow::GetRawValue(const std::wstring& columnId, std::wstring& value) const {
    if (!VardelXml::ReadText(GetCellNode(columnId), value)) {
        value.clear();
        return 1;
    }
    return 0;
}

void CEncapFamilyRow::SetRawValue(const std::wstring& columnId, const std::wstring& value) {
    XMLNode cell = GetCellNode(columnId);
    if (value.empty()) {
        if (cell.IsNode())
            cell.RemoveThisNode(true);
    } else if (cell.IsNode()) {
        cell.SetNodeText(value);
    } else {
        node_.AddNode(L"Cell", value.c_str(), L"ColumnId", columnId.c_str());
    }
    // Revisions are bookkeeping of the row, not a change of its member.
    if (columnId != CEncapFamilyTable::kMemberRevisionColumn &&
        columnId != CEncapFamilyTable::kSourceMemberRevisionColumn) {
        state_ = Modified;
    }
}

XMLNode CEncapFamilyRow::GetCellNode(const std::wstring& columnId) const {
    if (cells_ == nullptr) {
        cells_ = std::make_unique<VardelXml::ChildIndex>("Cell", "ColumnId");
    }
    if (table_ == nullptr)
        return cells_->Find(node_, columnId);
    return cells_->Find(node_, columnId, table_->cellHint_);
}

CValueCacheLoc& CEncapFamilyRow::ValueCache(CValueStore& store, const std::wstring& rowId) {
    if (valueCache_ == nullptr || valueCacheGeneration_ != store.RowsGeneration()) {
        valueCache_ = &store.RowCacheForWriting(rowId);
        valueCacheGeneration_ = store.RowsGeneration();
    }
    return *valueCache_;
}

void CEncapFamilyRow::DeleteCellsColumnValues(const std::wstring& columnId, bool allLanguages) {
    XMLNode cell = GetCellNode(columnId);
    if (cell.IsNode())
        cell.RemoveThisNode(true);
    if (table_ == nullptr)
        return;
    const std::wstring rowId = GetRowID();
    std::wstring language;
    table_->GetActualLanguage(language);
    table_->ClearCachedValue(rowId, columnId, language);
    table_->GetFamily()->DeleteLocalizedCellsValues(rowId, columnId, allLanguages);
}

void CEncapFamilyRow::SetRangeColumnValues(const std::map<std::wstring, std::wstring>& values) {
    rangeValues_ = values;
    if (table_ == nullptr)
        return;
    // Values computed from chosen ranges belong to this session only.
    CValueStore& store = table_->GetValueStore();
    if (values.empty()) {
        store.RestorePersistence();
    } else {
        store.DisablePersistence();
    }
    store.DropRow(GetRowID());
}

bool CEncapFamilyRow::GetRangeColumnValue(const std::wstring& columnId, std::wstring& value) const {
    auto found = rangeValues_.find(columnId);
    if (found == rangeValues_.end()) {
        found = std::find_if(rangeValues_.begin(), rangeValues_.end(), [&](const auto& entry) {
            return VardelCommon::EqualsNoCase(entry.first, columnId);
        });
    }
    if (found == rangeValues_.end())
        return false;
    value = found->second;
    return true;
}
