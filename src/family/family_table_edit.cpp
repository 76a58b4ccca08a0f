// CEncapFamilyTable editing: rows and columns inserted, copied, moved and
// deleted, and member revisions. Every edit changes the table element at
// once and keeps the order vectors in step with the elements.
#include "vardel/family_table.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "common/case_fold.h"
#include "eval/value_store.h"
#include "vardel/family.h"
#include "vardel/string_util.h"

using VardelCommon::EqualsNoCase;

namespace {

// The child of `parent` before which an element inserted at `index` goes:
// child max(index, 0); empty when there is none and the element is appended.
XMLNode InsertionPlace(const XMLNode& parent, int index) {
    XMLNode place;
    parent.GetChildNodeByIdx(std::max(index, 0), place);
    return place;
}

// A new element `name` with up to two attributes at child position `index`
// of `parent` (see InsertionPlace); `appended` tells where it went.
XMLNode InsertElement(XMLNode& parent, int index, const wchar_t* name, bool& appended,
                      const wchar_t* attr1, const wchar_t* value1, const wchar_t* attr2 = nullptr,
                      const wchar_t* value2 = nullptr) {
    XMLNode place = InsertionPlace(parent, index);
    appended = !place.IsNode();
    if (appended)
        return parent.AddNode(name, nullptr, attr1, value1, attr2, value2);
    return place.AddNodeBefore(name, nullptr, attr1, value1, attr2, value2);
}

// The position in an order vector of `size` ids matching an element inserted
// at `index`.
std::ptrdiff_t OrderPosition(int index, bool appended, std::size_t size) {
    const auto end = static_cast<std::ptrdiff_t>(size);
    return appended ? end : std::min<std::ptrdiff_t>(std::max(index, 0), end);
}

// Moves `element` to child position `to` of its parent and the id at `from`
// of `order` to `to`; the id is put back only when the element could be.
void MoveElement(XMLNode element, std::vector<std::wstring>& order, int from, int to) {
    XMLNode parent = element.GetParentNode();
    if (!element.RemoveThisNode(false))
        return;
    std::wstring id = std::move(order[static_cast<std::size_t>(from)]);
    order.erase(order.begin() + from);
    if (parent.InsertChild(element, to).IsNode())
        order.insert(order.begin() + to, std::move(id));
}

// The position of `id` in `order` (exact), and `newIndex` clamped into it;
// -1 when the id is absent.
int PrepareMove(const std::vector<std::wstring>& order, const std::wstring& id, int& newIndex) {
    const auto found = std::find(order.begin(), order.end(), id);
    if (found == order.end())
        return -1;
    const int count = static_cast<int>(order.size());
    newIndex = std::clamp(newIndex, 0, count - 1);
    return static_cast<int>(found - order.begin());
}

}  // namespace

CEncapFamilyRow* CEncapFamilyTable::InsertNewRow(int index, const std::wstring& rowId) {
    XMLNode rows = node_.GetOrAddNode(L"Rows");
    if (!rows.IsNode())
        return nullptr;
    const std::wstring id = rowId.empty() ? CStringUtil::NewGuid() : rowId;
    if (rows_.contains(std::wstring_view(id)))
        return nullptr;
    bool appended = false;
    XMLNode element;
    if (rowElementsIndexed_ && !rowIds_.empty() && index < GetRowsCount()) {
        // The row now at the position is the element to insert before.
        const std::wstring& before = rowIds_[static_cast<std::size_t>(std::max(index, 0))];
        element = rows_.find(std::wstring_view(before))
                      ->second.GetXMLNode()
                      .AddNodeBefore(L"Row", nullptr, L"RowId", id.c_str());
    } else {
        element = InsertElement(rows, index, L"Row", appended, L"RowId", id.c_str());
    }
    if (!element.IsNode())
        return nullptr;
    CEncapFamilyRow* row =
        &rows_.try_emplace(std::pmr::wstring(id, &rowMemory_), element, this).first->second;
    SetRawValue(row, id, kRowIdColumn, id, nullptr);
    rowIds_.insert(rowIds_.begin() + OrderPosition(index, appended, rowIds_.size()), id);
    ForgetRowOrder();
    row->SetRowState(CEncapFamilyRow::New);
    BumpMemberRevision(id);
    return row;
}

bool CEncapFamilyTable::DeleteRow(int index) {
    if (index < 0 || index >= GetRowsCount())
        return false;
    const std::wstring id = rowIds_[static_cast<std::size_t>(index)];
    const auto found = rows_.find(std::wstring_view(id));
    if (found == rows_.end())
        return false;
    family_->DeleteLocalizedCellsValues(id, L"", true);
    found->second.GetXMLNode().RemoveThisNode(true);
    rowIds_.erase(rowIds_.begin() + index);
    ForgetRowOrder();
    rows_.erase(found);
    valueStore_->DropRow(id);
    return true;
}

CEncapFamilyRow* CEncapFamilyTable::CopyRow(const std::wstring& rowId) {
    CEncapFamilyRow* source = GetFamilyRowByID(rowId);
    if (source == nullptr)
        return nullptr;
    CEncapFamilyRow* copy = InsertNewRow(INT_MAX, L"");
    if (copy == nullptr)
        return nullptr;
    // A copy of the ids: a write may add the source revision column.
    const std::vector<std::wstring> columnIds = columnIds_;
    for (const std::wstring& columnId : columnIds) {
        if (EqualsNoCase(columnId, kRowIdColumn) || EqualsNoCase(columnId, kStatusColumn) ||
            !source->HasRawValue(columnId)) {
            continue;
        }
        std::wstring value;
        source->GetValue(columnId, value);
        const CEncapFamilyColumn* column = GetFamilyColumnByID(columnId);
        copy->SetValue(columnId, value, column != nullptr && column->IsReferencedByOther());
    }
    return copy;
}

bool CEncapFamilyTable::PasteRow(int destinationIndex, int sourceIndex) {
    CEncapFamilyRow* destination = GetFamilyRowByIndex(destinationIndex);
    CEncapFamilyRow* source = GetFamilyRowByIndex(sourceIndex);
    if (destination == nullptr || source == nullptr)
        return false;
    const std::vector<std::wstring> columnIds = columnIds_;
    for (const std::wstring& columnId : columnIds) {
        if (EqualsNoCase(columnId, kRowIdColumn) || EqualsNoCase(columnId, kStatusColumn))
            continue;
        std::wstring value;
        source->GetValue(columnId, value);
        destination->SetValue(columnId, value, true);
    }
    return true;
}

void CEncapFamilyTable::ChangeRowIndex(const std::wstring& rowId, int& newIndex) {
    const int current = PrepareMove(rowIds_, rowId, newIndex);
    if (current < 0 || current == newIndex)
        return;
    if (const CEncapFamilyRow* row = GetFamilyRowByID(rowId)) {
        MoveElement(row->GetXMLNode(), rowIds_, current, newIndex);
        ForgetRowOrder();
    }
}

CEncapFamilyColumn* CEncapFamilyTable::InsertNewColumn(int index, const std::wstring& columnId) {
    if (columns_.count(std::wstring_view(columnId)) != 0)
        return nullptr;
    XMLNode columns = node_.GetOrAddNode(L"Columns");
    if (!columns.IsNode())
        return nullptr;
    bool appended = false;
    XMLNode element = InsertElement(columns, index, L"Column", appended, L"ColumnId",
                                    columnId.c_str(), L"Title", columnId.c_str());
    if (!element.IsNode())
        return nullptr;
    auto owned = std::make_unique<CEncapFamilyColumn>(element, this);
    CEncapFamilyColumn* column = owned.get();
    AddColumn(std::move(owned), columnId);
    columnIds_.insert(columnIds_.begin() + OrderPosition(index, appended, columnIds_.size()),
                      columnId);
    column->SetKeyWeight(0);
    column->SetIsHidden(false);
    return column;
}

CEncapFamilyColumn* CEncapFamilyTable::DuplicateColumn(int index,
                                                       const std::wstring& sourceColumnId,
                                                       const std::wstring& newColumnId) {
    CEncapFamilyColumn* source = GetFamilyColumnByID(sourceColumnId);
    if (!IsValidNewColumnName(newColumnId) || source == nullptr)
        return nullptr;
    XMLNode columns = node_.GetOrAddNode(L"Columns");
    XMLNode element = source->GetXMLNode().CloneNode(false);
    const bool appended = !InsertionPlace(columns, index).IsNode();
    element =
        appended ? columns.AppendChild(element) : columns.InsertChild(element, std::max(index, 0));
    if (!element.IsNode())
        return nullptr;
    auto owned = std::make_unique<CEncapFamilyColumn>(element, this);
    CEncapFamilyColumn* column = owned.get();
    column->SetColumnID(newColumnId);
    AddColumn(std::move(owned), newColumnId);
    columnIds_.insert(columnIds_.begin() + OrderPosition(index, appended, columnIds_.size()),
                      newColumnId);
    column->SetKeyWeight(0);
    column->SetIsHidden(false);
    // The copied formula refers to the same columns as the source's.
    std::wstring formula;
    column->GetFormula(formula);
    if (!formula.empty())
        UpdateColumnsDependency(column, formula);
    for (const std::wstring& rowId : rowIds_) {
        std::wstring text;
        if (GetRawValue(rowId, sourceColumnId, text) == 0)
            SetValue(rowId, newColumnId, text, false);
    }
    return column;
}

bool CEncapFamilyTable::DeleteColumn(int index) {
    if (index < 0 || index >= GetColumnsCount())
        return false;
    const std::wstring id = columnIds_[static_cast<std::size_t>(index)];
    CEncapFamilyColumn* column = ColumnInOrder(id);
    if (column == nullptr)
        return false;
    if (column->ChangeInColumnCausesRefresh())
        BumpAllMemberRevisions(nullptr);
    std::set<CEncapFamilyColumn*> affected;
    for (const CEncapFamilyColumn* stale : column->GetAllDependentColumns(affected, nullptr))
        valueStore_->ClearColumn(stale->GetColumnID());
    for (CEncapFamilyColumn* other : ColumnsOfBothMaps())
        other->GetDependantColumns().erase(column);
    const int weight = column->GetKeyWeight();
    for (const auto& entry : columns_) {
        const int otherWeight = entry.second->GetKeyWeight();
        if (weight > 0 && entry.second.get() != column && otherWeight > weight)
            entry.second->SetKeyWeight(otherWeight - 1);
    }
    column->GetXMLNode().RemoveThisNode(true);
    for (const std::wstring& rowId : rowIds_)
        GetFamilyRowByID(rowId)->DeleteCellsColumnValues(id, true);
    family_->RemoveAllColumnMapping(column);
    family_->DeleteLocalizedColumnPropertyValues(id);
    if (column->IsStatusColumn())
        statusColumnId_.clear();
    columnIds_.erase(columnIds_.begin() + index);
    RemoveColumn(column, id);
    return true;
}

void CEncapFamilyTable::ChangeColumnIndex(const std::wstring& columnId, int& newIndex) {
    const int current = PrepareMove(columnIds_, columnId, newIndex);
    if (current < 0 || current == newIndex)
        return;
    if (const CEncapFamilyColumn* column = ColumnInOrder(columnId))
        MoveElement(column->GetXMLNode(), columnIds_, current, newIndex);
}

bool CEncapFamilyTable::IsValidNewColumnName(const std::wstring& name) const {
    if (name.empty() || !VardelCommon::IsLetter(name.front()))
        return false;
    const bool wellFormed = std::all_of(name.begin() + 1, name.end(), [](wchar_t c) {
        return VardelCommon::IsLetter(c) || (c >= L'0' && c <= L'9') || c == L'_' || c == L'-';
    });
    return wellFormed && columns_.count(std::wstring_view(name)) == 0;
}

bool CEncapFamilyTable::PrepareMemberRevisions() {
    if (GetFamilyColumnByID(kMemberRevisionColumn) == nullptr)
        return false;
    if (family_->IsLinked() && GetFamilyColumnByID(kSourceMemberRevisionColumn) == nullptr)
        return CreateSourceMemberRevisionColumn() != nullptr;
    return true;
}

void CEncapFamilyTable::BumpMemberRevision(const std::wstring& rowId) {
    if (PrepareMemberRevisions())
        SetValue(rowId, kMemberRevisionColumn, CStringUtil::NewGuid(), false);
}

void CEncapFamilyTable::BumpAllMemberRevisions(const wchar_t* revision) {
    if (!PrepareMemberRevisions())
        return;
    const std::wstring value = revision != nullptr ? revision : CStringUtil::NewGuid();
    for (const std::wstring& rowId : rowIds_)
        SetValue(rowId, kMemberRevisionColumn, value, false);
}

CEncapFamilyColumn* CEncapFamilyTable::CreateSourceMemberRevisionColumn() {
    const CEncapFamilyColumn* memberRevision = GetFamilyColumnByID(kMemberRevisionColumn);
    if (memberRevision == nullptr)
        return nullptr;
    CEncapFamilyColumn* column = InsertNewColumn(INT_MAX, kSourceMemberRevisionColumn);
    if (column == nullptr)
        return nullptr;
    column->SetIsHidden(true);
    column->SetDataType(DataTypes::String);
    column->SetTitle(L"");
    std::wstring formula;
    memberRevision->GetFormula(formula);
    column->SetFormula(formula);
    for (const std::wstring& rowId : rowIds_) {
        std::wstring value;
        if (GetValue(rowId, kMemberRevisionColumn, value) != CTableEvaluator::Success)
            return nullptr;
        SetValue(rowId, kSourceMemberRevisionColumn, value, false);
    }
    return column;
}
