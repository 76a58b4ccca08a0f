// CEncapConstFamilyColumn: a category parameter with a constant value seen
// as a column. Every row reads the constant; a write goes to the family's
// constant of the parameter, and the column keeps the value it was built
// with (the family builds a new one when it needs the new value).
#include "vardel/family.h"
#include "vardel/family_column.h"
#include "vardel/family_table.h"

CEncapConstFamilyColumn::CEncapConstFamilyColumn() : CEncapFamilyColumn(false) {}

CEncapConstFamilyColumn::CEncapConstFamilyColumn(const std::wstring& categoryParameterId,
                                                 const std::wstring& value,
                                                 CEncapFamilyTable* table)
    : CEncapFamilyColumn(table, false),
      categoryParameterId_(categoryParameterId),
      constantValue_(value) {
    columnId_ = categoryParameterId;
    formula_ = value;
    ClassifyColumnId();
}

CEncapConstFamilyColumn::CEncapConstFamilyColumn(const CEncapConstFamilyColumn& other) = default;

CEncapConstFamilyColumn& CEncapConstFamilyColumn::operator=(const CEncapConstFamilyColumn& other) =
    default;

CEncapConstFamilyColumn::~CEncapConstFamilyColumn() = default;

CEncapFamilyColumn::EvaluateResult CEncapConstFamilyColumn::GetValue(const std::wstring& /*rowId*/,
                                                                     std::wstring& value) {
    value = constantValue_;
    return CTableEvaluator::Success;
}

void CEncapConstFamilyColumn::SetValue(const std::wstring& /*rowId*/, const std::wstring& value,
                                       bool /*invalidate*/) {
    if (GetTable() != nullptr && GetTable()->GetFamily() != nullptr) {
        GetTable()->GetFamily()->SetCatParamConstValue(categoryParameterId_, value);
    }
}
