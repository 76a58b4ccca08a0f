// CEncapFamilyTable: construction and loading, lookups, the value and
// evaluation forwarders and the column dependencies. Editing lives in
// family_table_edit.cpp.
#include "vardel/family_table.h"

#include <algorithm>
#include <utility>

#include "common/case_fold.h"
#include "eval/value_store.h"
#include "vardel/family.h"
#include "xml/element_scan.h"

using VardelCommon::EqualsNoCase;
using VardelCommon::ToUpper;

bool CEncapFamilyTable::IdLess::operator()(std::wstring_view a, std::wstring_view b) const {
    return VardelCommon::CompareNoCase(a, b) < 0;
}

std::size_t CEncapFamilyTable::IdHash::operator()(std::wstring_view id) const {
    // FNV-1a over the upper-cased characters.
    std::size_t hash = 14695981039346656037u;
    for (const wchar_t c : id) {
        hash ^= static_cast<std::size_t>(VardelCommon::ToUpperChar(c));
        hash *= 1099511628211u;
    }
    return hash;
}

bool CEncapFamilyTable::IdEqual::operator()(std::wstring_view a, std::wstring_view b) const {
    return EqualsNoCase(a, b);
}

CEncapFamilyTable::CEncapFamilyTable(const XMLNode& node, CEncapFamily* family,
                                     const std::wstring& cachePath)
    : node_(node),
      family_(family),
      evaluator_(std::make_unique<CTableEvaluator>(this)),
      valueStore_(std::make_unique<CValueStore>(cachePath)) {
    InitializeData();
}

CEncapFamilyTable::~CEncapFamilyTable() {
    valueStore_->Save(columnIds_);
    valueStore_.reset();
    ClearData();
    evaluator_.reset();
}

void CEncapFamilyTable::InitializeData() {
    ClearData();
    LoadColumns();
    BuildColumnsDependency();
    LoadRows();
}

void CEncapFamilyTable::LoadColumns() {
    for (const XMLNode& element : VardelXml::ElementsAtPath(node_, {"Columns", "Column"})) {
        std::wstring id;
        if (!element.GetProperty(L"ColumnId", id))
            continue;
        auto owned = std::make_unique<CEncapFamilyColumn>(element, this);
        CEncapFamilyColumn* column = owned.get();
        if (!AddColumn(std::move(owned), id))
            continue;
        columnIds_.push_back(id);
        family_->InitializeColumnData(column);
        std::wstring parameter;
        if (family_->GetColumnCategory(id, parameter))
            column->UpdateColumnType(parameter);
        if (statusColumnId_.empty() && EqualsNoCase(id, kStatusColumn)) {
            column->SetIsStatusColumn(true);
            statusColumnId_ = id;
        }
    }
}

void CEncapFamilyTable::LoadRows() {
    const std::vector<XMLNode> elements = VardelXml::ElementsAtPath(node_, {"Rows", "Row"});
    rowIds_.reserve(elements.size());
    for (const XMLNode& element : elements) {
        std::wstring id;
        if (!element.GetProperty(L"RowId", id))
            continue;
        // A row repeating an earlier id could be reached by neither id nor
        // index consistently; it is left out like a row without id.
        if (!rows_.try_emplace(std::pmr::wstring(id, &rowMemory_), element, this).second)
            continue;
        rowIds_.push_back(std::move(id));
    }
    BuildRowOrder();
    XMLNode rows;
    rowElementsIndexed_ = !node_.GetChildNode(L"Rows", rows) ||
                          rows.GetChildCount() == static_cast<int>(rowIds_.size());
}

void CEncapFamilyTable::ClearData() {
    columnsById_.clear();
    columns_.clear();
    duplicateColumns_.clear();
    rows_.clear();
    columnIds_.clear();
    rowIds_.clear();
    ForgetRowOrder();
    statusColumnId_.clear();
}

bool CEncapFamilyTable::AddColumn(std::unique_ptr<CEncapFamilyColumn> column,
                                  const std::wstring& columnId) {
    auto [slot, added] = columns_.try_emplace(ToUpper(columnId));
    if (added) {
        slot->second = std::move(column);
        columnsById_.emplace(slot->first, slot->second.get());
        return true;
    }
    if (slot->second->GetColumnID() == columnId)
        return false;
    return duplicateColumns_.try_emplace(columnId, std::move(column)).second;
}

void CEncapFamilyTable::RemoveColumn(CEncapFamilyColumn* column, const std::wstring& columnId) {
    const auto duplicate = duplicateColumns_.find(columnId);
    if (duplicate != duplicateColumns_.end() && duplicate->second.get() == column) {
        duplicateColumns_.erase(duplicate);
        return;
    }
    const auto main = columns_.find(std::wstring_view(columnId));
    if (main == columns_.end())
        return;
    const std::wstring key = main->first;
    columnsById_.erase(std::wstring_view(main->first));
    columns_.erase(main);
    // The next column of the same id in another case becomes the one that
    // case-insensitive lookups find.
    for (const std::wstring& id : columnIds_) {
        const auto next = duplicateColumns_.find(id);
        if (next != duplicateColumns_.end() && EqualsNoCase(id, key)) {
            const auto moved = columns_.emplace(key, std::move(next->second)).first;
            columnsById_.emplace(moved->first, moved->second.get());
            duplicateColumns_.erase(next);
            return;
        }
    }
}

CEncapFamilyColumn* CEncapFamilyTable::ColumnInOrder(const std::wstring& columnId) const {
    const auto duplicate = duplicateColumns_.find(columnId);
    if (duplicate != duplicateColumns_.end())
        return duplicate->second.get();
    const auto found = columnsById_.find(std::wstring_view(columnId));
    return found != columnsById_.end() ? found->second : nullptr;
}

std::vector<CEncapFamilyColumn*> CEncapFamilyTable::ColumnsOfBothMaps() const {
    std::vector<CEncapFamilyColumn*> all;
    all.reserve(columns_.size() + duplicateColumns_.size());
    for (const auto& entry : columns_)
        all.push_back(entry.second.get());
    for (const auto& entry : duplicateColumns_)
        all.push_back(entry.second.get());
    return all;
}

int CEncapFamilyTable::GetRowsCount() const {
    return static_cast<int>(rowIds_.size());
}

int CEncapFamilyTable::GetColumnsCount() const {
    return static_cast<int>(columnIds_.size());
}

bool CEncapFamilyTable::LocalizeDecimalSeparator() const {
    return family_->LocalizeDecimalSeparator();
}

wchar_t CEncapFamilyTable::GetDecimalSeparator() const {
    return family_->GetDecimalSeparator();
}

void CEncapFamilyTable::GetActualLanguage(std::wstring& language) const {
    family_->GetActualLanguage(language);
}

bool CEncapFamilyTable::GetXml(std::wstring& xml) const {
    return node_.GetXml(xml);
}

CEncapFamilyColumn* CEncapFamilyTable::GetFamilyColumnByID(const std::wstring& columnId) const {
    if (caseSensitiveLookup_) {
        const auto duplicate = duplicateColumns_.find(columnId);
        if (duplicate != duplicateColumns_.end())
            return duplicate->second.get();
    }
    const auto found = columnsById_.find(std::wstring_view(columnId));
    return found != columnsById_.end() ? found->second : nullptr;
}

CEncapFamilyColumn* CEncapFamilyTable::GetFamilyColumnByIndex(int index) const {
    if (index < 0 || index >= GetColumnsCount())
        return nullptr;
    return ColumnInOrder(columnIds_[static_cast<std::size_t>(index)]);
}

std::wstring CEncapFamilyTable::GetFamilyColumnIDByIndex(int index) const {
    if (index < 0 || index >= GetColumnsCount())
        return {};
    return columnIds_[static_cast<std::size_t>(index)];
}

int CEncapFamilyTable::GetFamilyColumnIndexByID(const std::wstring& columnId) const {
    for (std::size_t i = 0; i < columnIds_.size(); ++i) {
        if (EqualsNoCase(columnIds_[i], columnId))
            return static_cast<int>(i);
    }
    return -1;
}

CEncapFamilyRow* CEncapFamilyTable::GetFamilyRowByID(const std::wstring& rowId) const {
    bool filedUnderId = false;
    return FindRow(rowId, filedUnderId);
}

CEncapFamilyRow* CEncapFamilyTable::FindRow(const std::wstring& rowId, bool& filedUnderId) const {
    const bool ordered = !rowsInOrder_.empty();
    if (ordered) {
        const std::size_t end = std::min(lastRowIndex_ + 2, rowIds_.size());
        for (std::size_t i = lastRowIndex_; i < end; ++i) {
            if (rowIds_[i] == rowId) {
                filedUnderId = true;
                lastRowIndex_ = i;
                return rowsInOrder_[i];
            }
        }
    } else if (++lookupsWithoutOrder_ >= rowIds_.size()) {
        BuildRowOrder();
    }
    const auto found = rows_.find(std::wstring_view(rowId));
    if (found == rows_.end())
        return nullptr;
    filedUnderId = std::wstring_view(found->first) == rowId;
    CEncapFamilyRow* row = &found->second;
    if (!rowsInOrder_.empty())
        lastRowIndex_ = row->orderHint_;
    return row;
}

void CEncapFamilyTable::ForgetRowOrder() {
    rowsInOrder_.clear();
    lookupsWithoutOrder_ = 0;
    lastRowIndex_ = 0;
}

void CEncapFamilyTable::BuildRowOrder() const {
    rowsInOrder_.clear();
    rowsInOrder_.reserve(rowIds_.size());
    for (const std::wstring& id : rowIds_) {
        CEncapFamilyRow* row = &rows_.find(std::wstring_view(id))->second;
        row->orderHint_ = rowsInOrder_.size();
        rowsInOrder_.push_back(row);
    }
    lastRowIndex_ = 0;
}

CEncapFamilyRow* CEncapFamilyTable::GetFamilyRowByIndex(int index) const {
    if (index < 0 || index >= GetRowsCount())
        return nullptr;
    const auto position = static_cast<std::size_t>(index);
    return !rowsInOrder_.empty() ? rowsInOrder_[position] : GetFamilyRowByID(rowIds_[position]);
}

std::wstring CEncapFamilyTable::GetRowIDByIndex(int index) const {
    if (index < 0 || index >= GetRowsCount())
        return {};
    return rowIds_[static_cast<std::size_t>(index)];
}

int CEncapFamilyTable::GetFamilyRowIndexByID(const std::wstring& rowId) const {
    for (std::size_t i = 0; i < rowIds_.size(); ++i) {
        if (EqualsNoCase(rowIds_[i], rowId))
            return static_cast<int>(i);
    }
    return -1;
}

CEncapFamilyColumn* CEncapFamilyTable::GetFamilyColumnByType(
    CEncapFamilyColumn::ColumnType kind) const {
    for (const auto& entry : columns_) {
        if (entry.second->GetColumnType() == kind)
            return entry.second.get();
    }
    return nullptr;
}

std::set<CEncapFamilyColumn*>& CEncapFamilyTable::GetAllColumns(
    std::set<CEncapFamilyColumn*>& columns) const {
    for (const auto& entry : columns_)
        columns.insert(entry.second.get());
    return columns;
}

std::vector<CEncapFamilyColumn*> CEncapFamilyTable::GetKeyColumns() const {
    std::vector<CEncapFamilyColumn*> keys;
    for (const auto& entry : columns_) {
        if (entry.second->IsKeyColumn())
            keys.push_back(entry.second.get());
    }
    return keys;
}

bool CEncapFamilyTable::HasCustomColumns() const {
    for (const auto& entry : columns_) {
        if (entry.second->IsCustom())
            return true;
    }
    return false;
}

bool CEncapFamilyTable::IsColumnLocalized(const std::wstring& columnId) const {
    return family_->IsFamilyColumnLocalized(columnId);
}

bool CEncapFamilyTable::IsColumnMaterial(const std::wstring& columnId) const {
    const CEncapFamilyColumn* column = GetFamilyColumnByID(columnId);
    return column != nullptr && column->IsMaterial();
}

bool CEncapFamilyTable::hasColumnExpression(const std::wstring& columnId) const {
    const CEncapFamilyColumn* column = GetFamilyColumnByID(columnId);
    return column != nullptr && column->IsExpressionColumn();
}

bool CEncapFamilyTable::isCellOverride(const std::wstring& rowId,
                                       const std::wstring& columnId) const {
    const CEncapFamilyRow* row = GetFamilyRowByID(rowId);
    return row != nullptr && hasColumnExpression(columnId) && row->HasRawValue(columnId);
}

DataTypes::ColumnDataType CEncapFamilyTable::GetColumnDataType(const std::wstring& columnId) const {
    const CEncapFamilyColumn* column = GetFamilyColumnByID(columnId);
    return column != nullptr ? column->GetDataType() : DataTypes::String;
}

void CEncapFamilyTable::SetColumnDataType(const std::wstring& columnId,
                                          DataTypes::ColumnDataType type) {
    if (CEncapFamilyColumn* column = GetFamilyColumnByID(columnId))
        column->SetDataType(type);
}

CEncapFamilyTable::EvaluateResult CEncapFamilyTable::GetValue(const std::wstring& rowId,
                                                              const std::wstring& columnId,
                                                              std::wstring& value) {
    CEncapFamilyColumn* column = GetFamilyColumnByID(columnId);
    if (column == nullptr) {
        value.clear();
        return CTableEvaluator::ProviderFailure;
    }
    return column->GetValue(rowId, value);
}

CEncapFamilyTable::EvaluateResult CEncapFamilyTable::GetValue(const std::wstring& rowId,
                                                              const std::wstring& columnId,
                                                              const std::wstring& language,
                                                              std::wstring& value) {
    CEncapFamilyColumn* column = GetFamilyColumnByID(columnId);
    if (column == nullptr) {
        value.clear();
        return CTableEvaluator::ProviderFailure;
    }
    return column->GetValue(rowId, language, value);
}

void CEncapFamilyTable::SetValue(const std::wstring& rowId, const std::wstring& columnId,
                                 const std::wstring& value, bool invalidate) {
    if (CEncapFamilyColumn* column = GetFamilyColumnByID(columnId))
        column->SetValue(rowId, value, invalidate);
}

void CEncapFamilyTable::SetValue(int rowIndex, const std::wstring& columnId,
                                 const std::wstring& value, bool invalidate) {
    if (rowIndex >= 0 && rowIndex < GetRowsCount())
        SetValue(rowIds_[static_cast<std::size_t>(rowIndex)], columnId, value, invalidate);
}

void CEncapFamilyTable::SetValue(const std::wstring& rowId, const std::wstring& columnId,
                                 const std::wstring& language, const std::wstring& value,
                                 bool invalidate) {
    if (CEncapFamilyColumn* column = GetFamilyColumnByID(columnId))
        column->SetValue(rowId, language, value, invalidate);
}

long CEncapFamilyTable::GetRawValue(const std::wstring& rowId, const std::wstring& columnId,
                                    std::wstring& value) const {
    const CEncapFamilyRow* row = GetFamilyRowByID(rowId);
    if (row == nullptr) {
        value.clear();
        return 1;
    }
    return row->GetRawValue(columnId, value);
}

void CEncapFamilyTable::SetRawValue(CEncapFamilyRow* row, const std::wstring& rowId,
                                    const std::wstring& columnId, const std::wstring& value,
                                    const std::wstring* language) {
    row->SetRawValue(columnId, value);
    if (language != nullptr) {
        family_->SetLocalizedCellValue(rowId, columnId, *language, value);
    } else {
        family_->SetLocalizedCellValue(rowId, columnId, value);
    }
}

void CEncapFamilyTable::ClearCachedValue(const std::wstring& rowId, const std::wstring& columnId) {
    if (CEncapFamilyColumn* column = GetFamilyColumnByID(columnId))
        column->ClearCachedValue(rowId);
}

void CEncapFamilyTable::ClearCachedValue(const std::wstring& rowId, const std::wstring& columnId,
                                         const std::wstring& language) {
    if (CEncapFamilyColumn* column = GetFamilyColumnByID(columnId))
        column->ClearCachedValue(rowId, language);
}

long CEncapFamilyTable::GetLocalizedFormula(const std::wstring& columnId,
                                            const std::wstring& language,
                                            std::wstring& formula) const {
    return family_->GetLocalizedColumnPropertyValue(L"ColumnwideValue", columnId, language,
                                                    formula);
}

void CEncapFamilyTable::SetStatusColValue(int rowIndex, const std::wstring& value) {
    CEncapFamilyRow* row = GetFamilyRowByIndex(rowIndex);
    if (row == nullptr || statusColumnId_.empty())
        return;
    SetRawValue(row, rowIds_[static_cast<std::size_t>(rowIndex)], statusColumnId_, value, nullptr);
    row->SetIsSuppressed(EqualsNoCase(value, L"Suppressed"));
}

bool CEncapFamilyTable::IsRowSuppressed(const std::wstring& rowId) const {
    const CEncapFamilyRow* row = GetFamilyRowByID(rowId);
    return row != nullptr && row->IsSuppressed();
}

void CEncapFamilyTable::SetRowStateOfAllRows(CEncapFamilyRow::RowState state) {
    for (auto& entry : rows_)
        entry.second.SetRowState(state);
}

CEncapFamilyTable::EvaluateResult CEncapFamilyTable::Evaluate(const std::wstring& rowId,
                                                              const std::wstring& columnId,
                                                              const std::wstring& language) {
    return evaluator_->EvaluateCell(rowId, columnId, language);
}

CEncapFamilyTable::EvaluateResult CEncapFamilyTable::Evaluate(
    const wchar_t* expression, DataTypes::ColumnFormulaType formulaType,
    DataTypes::ColumnDataType dataType, const std::wstring& rowId, const std::wstring& unit,
    std::wstring& value) {
    return evaluator_->EvaluateFormula(expression, formulaType, dataType, rowId, unit, value);
}

CEncapFamilyTable::EvaluateResult CEncapFamilyTable::CheckFormulaSyntax(
    const wchar_t* expression, DataTypes::ColumnFormulaType formulaType,
    DataTypes::ColumnDataType dataType, const std::wstring& unit) {
    return evaluator_->CheckFormulaSyntax(expression, formulaType, dataType, unit);
}

CEncapFamilyTable::EvaluateResult CEncapFamilyTable::UpdateColumnsDependency(
    CEncapFamilyColumn* column, const std::wstring& formula) {
    if (column == nullptr)
        return CTableEvaluator::UnknownReference;
    CTableEvaluator::Columns referenced;
    const EvaluateResult result = evaluator_->GetReferencedColumns(formula, referenced);
    if (result != CTableEvaluator::Success)
        return result;
    for (CEncapFamilyColumn* other : ColumnsOfBothMaps())
        other->GetDependantColumns().erase(column);
    for (CEncapFamilyColumn* target : referenced)
        target->GetDependantColumns().insert(column);
    return CTableEvaluator::Success;
}

CEncapFamilyTable::EvaluateResult CEncapFamilyTable::BuildColumnsDependency() {
    for (CEncapFamilyColumn* column : ColumnsOfBothMaps()) {
        std::wstring formula;
        column->GetFormula(formula);
        if (formula.empty())
            continue;
        const EvaluateResult result = UpdateColumnsDependency(column, formula);
        if (result != CTableEvaluator::Success)
            return result;
    }
    return CTableEvaluator::Success;
}
